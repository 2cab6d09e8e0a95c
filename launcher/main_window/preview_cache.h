#pragma once
// The collector's preview pictures, fitted to the preview box: kept for the
// pictures lately shown, and read ahead on a thread of their own for the
// entries next to the selection, so that moving through the list seldom
// waits for a large picture to decode.

#include <QCache>
#include <QHash>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

class PreviewCache {
 public:
  explicit PreviewCache(QSize box);
  // Waits for the picture being read now, if any; those waiting are dropped.
  ~PreviewCache();
  PreviewCache(const PreviewCache&) = delete;
  PreviewCache& operator=(const PreviewCache&) = delete;

  // The picture at `path` fitted to the box: kept, read ahead (waiting for
  // that read to end) or read now. Null when the path is empty or the file
  // does not decode. A file changed since it was read is read again.
  QPixmap picture(const QString& path);
  // Reads `paths` ahead, in this order; reads ahead of other paths that
  // have not begun are dropped.
  void read_ahead(const QStringList& paths);

 private:
  struct Reading;
  void read_waiting();  // the reader thread
  QPixmap keep(const QString& key, const QImage& image);
  void keep_finished_readings();

  const QSize box_;
  QCache<QString, QPixmap> kept_;                     // by file key, cost in KiB
  QHash<QString, std::shared_ptr<Reading>> reading_;  // by file key
  std::mutex mutex_;                                  // guards the readings and what follows
  std::condition_variable changed_;
  std::deque<std::shared_ptr<Reading>> waiting_;  // for the reader, in turn
  bool stopping_ = false;
  std::thread reader_;  // last: it starts once the rest is made
};
