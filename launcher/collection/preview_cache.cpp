#include "collection/preview_cache.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>
#include <algorithm>
#include <optional>

#include "platform/controls.h"

namespace {

// Fitted pictures are at most the preview box, a few hundred KiB each.
constexpr qsizetype KEPT_KIB = 32 * 1024;

// A picture file as it is now, fitted to `box`: its path, size and time of
// change, so that a file written again is not taken for the picture read
// before.
QString file_key(const QString& path, QSize box) {
  const QFileInfo file(path);
  return QStringLiteral("%1\n%2\n%3\n%4x%5")
      .arg(path)
      .arg(file.size())
      .arg(file.lastModified().toMSecsSinceEpoch())
      .arg(box.width())
      .arg(box.height());
}

// The thumbnail folder whose pictures are large enough for `box`.
int thumbnail_size_for(QSize box) {
  return std::max(box.width(), box.height()) <= THUMBNAIL_LARGE ? THUMBNAIL_LARGE
                                                                : THUMBNAIL_X_LARGE;
}

// True when a thumbnail from the folder for `size` can be fitted to `box`
// without being made larger: it is the whole picture (smaller than the
// folder's size), or fitting makes it smaller.
bool serves(const QImage& thumbnail, int size, QSize box) {
  if (std::max(thumbnail.width(), thumbnail.height()) < size) return true;
  return thumbnail.size().scaled(box, Qt::KeepAspectRatio).width() <= thumbnail.width();
}

}  // namespace

QImage read_preview_image(const QString& path, QSize box, PendingThumbnail* thumbnail) {
  ThumbnailSource source = thumbnail_source(path);
  if (source.uri.isEmpty()) return read_fitted_image(path, box);
  const int size = thumbnail_size_for(box);
  for (const int tried : {size, size == THUMBNAIL_LARGE ? THUMBNAIL_X_LARGE : THUMBNAIL_LARGE}) {
    const QImage kept = read_thumbnail(source, tried);
    if (!kept.isNull() && serves(kept, tried, box)) return fit_image(kept, box);
  }
  source.pictureSize = QImageReader(path).size();
  // One decode, large enough for both the thumbnail and the box.
  const QImage decoded = read_fitted_image(path, box.expandedTo({size, size}));
  if (decoded.isNull()) return {};
  QImage made = fit_image(decoded, {size, size});
  const QImage shown = fit_image(serves(made, size, box) ? made : decoded, box);
  if (thumbnail) *thumbnail = {source, size, std::move(made)};
  return shown;
}

// One picture to read ahead; all but the path and box are guarded by the mutex.
struct PreviewCache::Reading {
  QString path;
  QSize box;
  bool begun = false;
  bool done = false;
  QImage image;
};

PreviewCache::PreviewCache(QSize box) : box_(box), kept_(KEPT_KIB), reader_([this] { work(); }) {}

PreviewCache::~PreviewCache() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting_.clear();
  }
  changed_.notify_all();
  reader_.join();
}

void PreviewCache::set_box(QSize box) {
  if (box == box_) return;
  box_ = box;
  kept_.clear();
  read_ahead({});
}

void PreviewCache::work() {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [this] { return stopping_ || !waiting_.empty() || !writes_.empty(); });
    if (!waiting_.empty()) {
      read_one(lock);
    } else if (!writes_.empty()) {
      write_one(lock);
    } else {
      return;  // stopping, and every thumbnail written
    }
  }
}

void PreviewCache::read_one(std::unique_lock<std::mutex>& lock) {
  const std::shared_ptr<Reading> reading = waiting_.front();
  waiting_.pop_front();
  reading->begun = true;
  lock.unlock();
  PendingThumbnail thumbnail;
  QImage image = read_preview_image(reading->path, reading->box, &thumbnail);
  lock.lock();
  reading->image = std::move(image);
  reading->done = true;
  if (!thumbnail.image.isNull()) writes_.push_back(std::move(thumbnail));
  changed_.notify_all();
}

void PreviewCache::write_one(std::unique_lock<std::mutex>& lock) {
  const PendingThumbnail thumbnail = std::move(writes_.front());
  writes_.pop_front();
  lock.unlock();
  write_thumbnail(thumbnail.source, thumbnail.size, thumbnail.image);
  lock.lock();
}

// Read on this thread; the thumbnail goes to the reader to write.
QImage PreviewCache::read_now(const QString& path) {
  PendingThumbnail thumbnail;
  QImage image = read_preview_image(path, box_, &thumbnail);
  if (!thumbnail.image.isNull()) {
    {
      const std::lock_guard lock(mutex_);
      writes_.push_back(std::move(thumbnail));
    }
    changed_.notify_all();
  }
  return image;
}

QPixmap PreviewCache::picture(const QString& path) {
  if (path.isEmpty()) return {};
  const QString key = file_key(path, box_);
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
  if (!image) image = read_now(path);
  return keep(key, *image);
}

void PreviewCache::read_ahead(const QStringList& paths) {
  keep_finished_readings();
  QStringList keys;
  for (const QString& path : paths) keys.append(file_key(path, box_));
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
      reading->box = box_;
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
