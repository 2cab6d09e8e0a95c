#pragma once
// The freedesktop.org thumbnail cache, which programs that follow its
// standard share: a picture's thumbnail is a PNG named by the MD5 of the
// picture's file:// URI in $XDG_CACHE_HOME/thumbnails/large (at most 256
// pixels a side) or x-large (512), carrying the picture's URI and time of
// change; it counts only while the picture's time of change matches.

#include <QImage>
#include <QSize>
#include <QString>

// The standard's folders this launcher reads and writes, by their size.
inline constexpr int THUMBNAIL_LARGE = 256;
inline constexpr int THUMBNAIL_X_LARGE = 512;

// The file:// URI of the absolute path `path` as the cache keys it: each
// byte of the path's UTF-8 that is not a letter, a digit or one of
// - . _ ~ ! $ & ' ( ) * + , / : = @ written as %XX (upper-case hex), as
// GLib writes file URIs.
QString thumbnail_uri(const QString& path);

// The thumbnail folder for `size` (THUMBNAIL_LARGE or THUMBNAIL_X_LARGE).
QString thumbnail_folder(int size);

// A picture file as the cache knows it, taken before the picture is read.
struct ThumbnailSource {
  QString uri;        // empty: the cache does not apply (no such file, a resource)
  QString path;       // the absolute path
  qint64 mtime = 0;   // time of change, whole seconds since 1970
  qint64 bytes = 0;   // file size
  QSize pictureSize;  // the picture's own size, when known
};
ThumbnailSource thumbnail_source(const QString& path);

// The cached thumbnail of `source` in the folder for `size`; a null image
// when there is none, or it is not one of this file as it is now (its
// Thumb::URI, Thumb::MTime and, when it has one, Thumb::Size differ).
QImage read_thumbnail(const ThumbnailSource& source, int size);

// Writes `thumbnail` (at most `size` pixels a side) as the thumbnail of
// `source`, when the file still is as `source` saw it: folders made only
// its owner may enter, the file only its owner may read, written under
// another name and then renamed. False when nothing was written.
bool write_thumbnail(const ThumbnailSource& source, int size, const QImage& thumbnail);
