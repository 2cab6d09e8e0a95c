// The collector's fitted pictures, read at the selection or ahead of it:
// whichever way, the picture shown is the file as it is now.

#include <QTest>

#include "collection/preview_cache.h"
#include "launcher_test_support.h"

namespace {

const QSize BOX(120, 80);

}  // namespace

class PreviewCacheTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheFileAsItIsNow_data();
  void showsTheFileAsItIsNow();
};

void PreviewCacheTest::showsTheFileAsItIsNow_data() {
  QTest::addColumn<bool>("shownBefore");
  QTest::addColumn<QList<QStringList>>("readsAhead");  // in turn, before it is shown
  QTest::addColumn<bool>("rewritten");                 // after those, before it is shown
  using Reads = QList<QStringList>;
  QTest::newRow("read at the selection") << false << Reads{} << false;
  QTest::newRow("read ahead") << false << Reads{{"a.jpg", "b.jpg"}} << false;
  QTest::newRow("read ahead, then no longer wanted")
      << false << Reads{{"a.jpg"}, {"b.jpg"}} << false;
  QTest::newRow("written again after the read ahead") << false << Reads{{"a.jpg"}} << true;
  QTest::newRow("written again after it was shown") << true << Reads{} << true;
}

void PreviewCacheTest::showsTheFileAsItIsNow() {
  QFETCH(bool, shownBefore);
  QFETCH(QList<QStringList>, readsAhead);
  QFETCH(bool, rewritten);
  LauncherFolder folder;
  folder.add_picture("a.jpg", {400, 300});
  folder.add_picture("b.jpg", {300, 400});
  PreviewCache cache(BOX);
  if (shownBefore) cache.picture(folder.path("a.jpg"));
  for (const QStringList& names : readsAhead) {
    QStringList paths;
    for (const QString& name : names) paths.append(folder.path(name));
    cache.read_ahead(paths);
  }
  if (rewritten) folder.add_picture("a.jpg", {200, 500}, Qt::darkRed);
  const QString path = folder.path("a.jpg");
  QCOMPARE(cache.picture(path).toImage(),
           QPixmap::fromImage(read_preview_image(path, BOX, nullptr)).toImage());
  QCOMPARE(cache.picture(path).cacheKey(), cache.picture(path).cacheKey());  // kept
}

QTEST_MAIN(PreviewCacheTest)
#include "preview_cache_test.moc"
