#pragma once
// The collector's preview pictures, fitted to the preview box: kept for the
// pictures lately shown, read ahead on a thread of their own for the
// entries next to the selection, and kept between runs in the shared
// thumbnail cache, so that moving through the list seldom waits for a large
// picture to decode.

#include <QCache>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/thumbnails.h"

// The picture at `path` fitted to `box`, by way of the thumbnail cache: a
// thumbnail of the file as it is now that is large enough is fitted, else
// the file is read and `thumbnail` (when given) receives the thumbnail to
// keep for it. Either way the same picture comes out. Null when the path is
// empty or the file does not decode.
struct PendingThumbnail {
  ThumbnailSource source;
  int size = 0;
  QImage image;
};
QImage read_preview_image(const QString& path, QSize box, PendingThumbnail* thumbnail);

class PreviewCache {
 public:
  explicit PreviewCache(QSize box);
  // Waits for the picture being read now, if any, and writes the
  // thumbnails not yet written; reads waiting their turn are dropped.
  ~PreviewCache();
  PreviewCache(const PreviewCache&) = delete;
  PreviewCache& operator=(const PreviewCache&) = delete;

  QSize box() const { return box_; }
  // Pictures are fitted to `box` from now on; those fitted before are
  // dropped.
  void set_box(QSize box);

  // The picture at `path` fitted to the box: kept, read ahead (waiting for
  // that read to end) or read now. Null when the path is empty or the file
  // does not decode. A file changed since it was read is read again.
  QPixmap picture(const QString& path);
  // Reads `paths` ahead, in this order; reads ahead of other paths that
  // have not begun are dropped.
  void read_ahead(const QStringList& paths);

 private:
  struct Reading;
  void work();  // the reader thread: reads first, then thumbnails to write
  void read_one(std::unique_lock<std::mutex>& lock);
  void write_one(std::unique_lock<std::mutex>& lock);
  QImage read_now(const QString& path);
  QPixmap keep(const QString& key, const QImage& image);
  void keep_finished_readings();

  QSize box_;                                         // the GUI thread's
  QCache<QString, QPixmap> kept_;                     // by file key, cost in KiB
  QHash<QString, std::shared_ptr<Reading>> reading_;  // by file key
  std::mutex mutex_;                                  // guards the readings and what follows
  std::condition_variable changed_;
  std::deque<std::shared_ptr<Reading>> waiting_;  // for the reader, in turn
  std::deque<PendingThumbnail> writes_;           // thumbnails for the reader to write
  bool stopping_ = false;
  std::thread reader_;  // last: it starts once the rest is made
};
