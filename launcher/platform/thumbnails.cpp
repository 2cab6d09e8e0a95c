#include "platform/thumbnails.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cstdio>

namespace {

const QString KEY_URI = QStringLiteral("Thumb::URI");
const QString KEY_MTIME = QStringLiteral("Thumb::MTime");
const QString KEY_SIZE = QStringLiteral("Thumb::Size");
const QString KEY_WIDTH = QStringLiteral("Thumb::Image::Width");
const QString KEY_HEIGHT = QStringLiteral("Thumb::Image::Height");
const QString KEY_SOFTWARE = QStringLiteral("Software");

constexpr QFile::Permissions PRIVATE_FOLDER =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

bool left_as_is(char c) {
  static const QByteArray marks = "-._~!$&'()*+,/:=@";
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         marks.contains(c);
}

QString thumbnails_root() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         QStringLiteral("/thumbnails");
}

QString thumbnail_file(const ThumbnailSource& source, int size) {
  const QByteArray md5 = QCryptographicHash::hash(source.uri.toUtf8(), QCryptographicHash::Md5);
  return thumbnail_folder(size) + QLatin1Char('/') + QString::fromLatin1(md5.toHex()) +
         QStringLiteral(".png");
}

// `path` as a folder only its owner may enter; one there already is kept
// as it is.
bool make_private_folder(const QString& path) {
  const QFileInfo info(path);
  if (info.isDir()) return true;
  return QDir().mkpath(info.path()) && QDir().mkdir(path, PRIVATE_FOLDER);
}

// Writes `image` as a PNG at `path`, readable by its owner only: first to
// a new file beside it (QTemporaryFile makes it so), then put in its place.
bool write_private_file(const QString& path, const QImage& image) {
  QTemporaryFile out(path + QStringLiteral(".XXXXXX"));
  if (!out.open() || !QImageWriter(&out, "png").write(image) || !out.flush()) return false;
  out.close();
  const QByteArray from = QFile::encodeName(out.fileName());
#ifdef Q_OS_WIN
  QFile::remove(path);  // Windows renames only to a free name
#endif
  if (std::rename(from.constData(), QFile::encodeName(path).constData()) != 0) return false;
  out.setAutoRemove(false);  // it has its new name
  return true;
}

bool file_unchanged(const ThumbnailSource& source) {
  const ThumbnailSource now = thumbnail_source(source.path);
  return now.mtime == source.mtime && now.bytes == source.bytes;
}

}  // namespace

QString thumbnail_uri(const QString& path) {
  QString uri = QStringLiteral("file://");
  for (const char c : path.toUtf8()) {
    if (left_as_is(c))
      uri += QLatin1Char(c);
    else
      uri += QStringLiteral("%%1")
                 .arg(static_cast<unsigned char>(c), 2, 16, QLatin1Char('0'))
                 .toUpper();
  }
  return uri;
}

QString thumbnail_folder(int size) {
  return thumbnails_root() +
         (size <= THUMBNAIL_LARGE ? QStringLiteral("/large") : QStringLiteral("/x-large"));
}

ThumbnailSource thumbnail_source(const QString& path) {
  ThumbnailSource source;
  if (path.isEmpty() || path.startsWith(QLatin1Char(':'))) return source;
  const QFileInfo info(path);
  if (!info.isFile()) return source;
  source.path = info.absoluteFilePath();
  // The cache's own files are not pictures to keep thumbnails of.
  if (source.path.startsWith(thumbnails_root() + QLatin1Char('/'))) return source;
  source.uri = thumbnail_uri(source.path);
  source.mtime = info.lastModified().toSecsSinceEpoch();
  source.bytes = info.size();
  return source;
}

QImage read_thumbnail(const ThumbnailSource& source, int size) {
  if (source.uri.isEmpty()) return {};
  QImageReader reader(thumbnail_file(source, size), "png");
  const QSize stored = reader.size();
  if (!stored.isValid() || stored.width() > size || stored.height() > size) return {};
  // The keys are read from the image: QImageReader::text() cuts a key at
  // its first ':'.
  const QImage thumbnail = reader.read();
  const QString bytes = thumbnail.text(KEY_SIZE);
  if (thumbnail.text(KEY_URI) != source.uri ||
      thumbnail.text(KEY_MTIME) != QString::number(source.mtime) ||
      (!bytes.isEmpty() && bytes != QString::number(source.bytes)))
    return {};
  return thumbnail;
}

bool write_thumbnail(const ThumbnailSource& source, int size, const QImage& thumbnail) {
  if (source.uri.isEmpty() || thumbnail.isNull() || thumbnail.width() > size ||
      thumbnail.height() > size || !file_unchanged(source))
    return false;
  if (!make_private_folder(thumbnails_root()) || !make_private_folder(thumbnail_folder(size)))
    return false;
  QImage image = thumbnail;
  image.setText(KEY_URI, source.uri);
  image.setText(KEY_MTIME, QString::number(source.mtime));
  image.setText(KEY_SIZE, QString::number(source.bytes));
  if (source.pictureSize.isValid()) {
    image.setText(KEY_WIDTH, QString::number(source.pictureSize.width()));
    image.setText(KEY_HEIGHT, QString::number(source.pictureSize.height()));
  }
  image.setText(KEY_SOFTWARE, QStringLiteral("vorbel"));
  return write_private_file(thumbnail_file(source, size), image);
}
