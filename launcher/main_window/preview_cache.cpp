#include "main_window/preview_cache.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <optional>

#include "platform/controls.h"

namespace {

// Fitted pictures are at most the preview box, a few hundred KiB each.
constexpr qsizetype KEPT_KIB = 32 * 1024;

// A picture file as it is now: its path, size and time of change, so that a
// file written again is not taken for the picture read before.
QString file_key(const QString& path) {
  const QFileInfo file(path);
  return path + QLatin1Char('\n') + QString::number(file.size()) + QLatin1Char('\n') +
         QString::number(file.lastModified().toMSecsSinceEpoch());
}

}  // namespace

// One picture to read ahead; all but the path are guarded by the mutex.
struct PreviewCache::Reading {
  QString path;
  bool begun = false;
  bool done = false;
  QImage image;
};

PreviewCache::PreviewCache(QSize box)
    : box_(box), kept_(KEPT_KIB), reader_([this] { read_waiting(); }) {}

PreviewCache::~PreviewCache() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting_.clear();
  }
  changed_.notify_all();
  reader_.join();
}

void PreviewCache::read_waiting() {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    if (stopping_) return;
    const std::shared_ptr<Reading> reading = waiting_.front();
    waiting_.pop_front();
    reading->begun = true;
    lock.unlock();
    QImage image = read_fitted_image(reading->path, box_);
    lock.lock();
    reading->image = std::move(image);
    reading->done = true;
    changed_.notify_all();
  }
}

QPixmap PreviewCache::picture(const QString& path) {
  if (path.isEmpty()) return {};
  const QString key = file_key(path);
  if (const QPixmap* kept = kept_.object(key)) return *kept;
  std::optional<QImage> image;
  if (const auto reading = reading_.take(key)) {
    std::unique_lock lock(mutex_);
    if (reading->begun) {
      changed_.wait(lock, [&reading] { return reading->done; });
      image = std::move(reading->image);
    } else {
      std::erase(waiting_, reading);
    }
  }
  if (!image) image = read_fitted_image(path, box_);
  return keep(key, *image);
}

void PreviewCache::read_ahead(const QStringList& paths) {
  keep_finished_readings();
  QStringList keys;
  for (const QString& path : paths) keys.append(file_key(path));
  const QSet<QString> wanted(keys.cbegin(), keys.cend());
  {
    const std::lock_guard lock(mutex_);
    for (auto reading = reading_.begin(); reading != reading_.end();) {
      // A read under way is let finish: its picture is kept all the same.
      if (wanted.contains(reading.key()) || (*reading)->begun) {
        ++reading;
        continue;
      }
      std::erase(waiting_, *reading);
      reading = reading_.erase(reading);
    }
    for (qsizetype i = 0; i < paths.size(); ++i) {
      if (paths[i].isEmpty() || kept_.contains(keys[i]) || reading_.contains(keys[i])) continue;
      auto reading = std::make_shared<Reading>();
      reading->path = paths[i];
      reading_.insert(keys[i], reading);
      waiting_.push_back(reading);
    }
  }
  changed_.notify_all();
}

QPixmap PreviewCache::keep(const QString& key, const QImage& image) {
  const QPixmap picture = QPixmap::fromImage(image);
  kept_.insert(key, new QPixmap(picture), image.sizeInBytes() / 1024 + 1);
  return picture;
}

void PreviewCache::keep_finished_readings() {
  QHash<QString, QImage> finished;
  {
    const std::lock_guard lock(mutex_);
    for (auto reading = reading_.begin(); reading != reading_.end();) {
      if (!(*reading)->done) {
        ++reading;
        continue;
      }
      finished.insert(reading.key(), std::move((*reading)->image));
      reading = reading_.erase(reading);
    }
  }
  for (auto image = finished.cbegin(); image != finished.cend(); ++image)
    keep(image.key(), image.value());
}
