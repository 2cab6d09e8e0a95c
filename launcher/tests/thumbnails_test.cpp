// The shared thumbnail cache: where a picture's thumbnail goes, what it
// carries, and when one found there is used.

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "collection/preview_cache.h"
#include "launcher_test_support.h"
#include "platform/thumbnails.h"

namespace {

const QSize BOX(323, 191);  // the designed preview: the x-large folder
constexpr QFile::Permissions OTHERS = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;

QString cached_file(const QString& uri) {
  return thumbnail_folder(THUMBNAIL_X_LARGE) + QLatin1Char('/') +
         QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex() + ".png";
}

}  // namespace

class ThumbnailsTest : public QObject {
  Q_OBJECT

 private slots:
  void keysAndValidity_data();
  void keysAndValidity();
};

void ThumbnailsTest::keysAndValidity_data() {
  QTest::addColumn<QString>("planted");  // a thumbnail there before: its URI and MTime
  QTest::addColumn<bool>("used");
  QTest::newRow("none: made and kept") << "" << false;
  QTest::newRow("one of the file as it is: used") << "URI MTIME" << true;
  QTest::newRow("the file changed since: made again") << "URI MTIME-1" << false;
  QTest::newRow("another file's: made again") << "file:///other.jpg MTIME" << false;
}

void ThumbnailsTest::keysAndValidity() {
  QFETCH(QString, planted);
  QFETCH(bool, used);
  LauncherFolder folder;
  qputenv("XDG_CACHE_HOME", folder.path("cache").toUtf8());
  folder.add_picture("Pics/A b;[c].jpg", {1200, 900});
  const QString path = folder.path("Pics/A b;[c].jpg");
  const QString uri = thumbnail_uri(path);
  QCOMPARE(uri, "file://" + folder.path() + "/Pics/A%20b%3B%5Bc%5D.jpg");
  const QString mtime = QString::number(QFileInfo(path).lastModified().toSecsSinceEpoch());
  if (!planted.isEmpty()) {
    QImage red(64, 48, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QStringList keys = planted.split(' ');
    red.setText("Thumb::URI", keys[0] == "URI" ? uri : keys[0]);
    red.setText("Thumb::MTime",
                keys[1] == "MTIME" ? mtime : QString::number(mtime.toLongLong() - 1));
    QDir().mkpath(thumbnail_folder(THUMBNAIL_X_LARGE));
    QVERIFY(red.save(cached_file(uri), "PNG"));
  }
  QImage shown;
  {
    PreviewCache cache(BOX);
    shown = cache.picture(path).toImage();
  }  // its thumbnails are written by now
  QCOMPARE(shown.pixelColor(shown.rect().center()) == QColor(Qt::red), used);
  QCOMPARE(shown.size(), used ? QSize(64, 48) : QSize(1200, 900).scaled(BOX, Qt::KeepAspectRatio));
  const QImage kept(cached_file(uri));
  QCOMPARE(kept.text("Thumb::URI"), uri);
  QCOMPARE(kept.text("Thumb::MTime"), mtime);
  QCOMPARE(kept.size(), used ? QSize(64, 48) : QSize(512, 384));
  if (!planted.isEmpty()) return;
  QCOMPARE(QFileInfo(cached_file(uri)).permissions() & OTHERS, QFile::Permissions());
  for (const QString& made : {thumbnail_folder(THUMBNAIL_X_LARGE), folder.path("cache/thumbnails")})
    QCOMPARE(QFileInfo(made).permissions() & OTHERS, QFile::Permissions());
}

QTEST_MAIN(ThumbnailsTest)
#include "thumbnails_test.moc"
