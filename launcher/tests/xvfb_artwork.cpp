// A PNG box art of the libretro set in the preview, on a real X server (run
// under xvfb-run, platform xcb). With VORBEL_SCREENSHOTS naming a folder,
// the window is saved there as png-boxart.png (the README's picture).

#include <QDir>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include "launcher_test_support.h"
#include "main_window/form1.h"

class XvfbArtwork : public QObject {
  Q_OBJECT

 private slots:
  void pngBoxArtShows();
};

void XvfbArtwork::pngBoxArtShows() {
  QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
  LauncherFolder folder;
  folder.add_usual({"2048.a26", "Adventure (1980) (Atari).bin", "Pitfall! (1982) (Activision).bin"},
                   "0");
  folder.add_file(QStringLiteral("2048.a26"), cartridge_image());
  // A box art in the style of the game: a grid of numbered tiles.
  QImage art(300, 200, QImage::Format_RGB32);
  art.fill(QColor(187, 173, 160));
  QPainter painter(&art);
  painter.setFont(QFont(QStringLiteral("Liberation Sans"), 20, QFont::Bold));
  const int values[] = {2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 2};
  for (int i = 0; i < 12; ++i) {
    const QRect tile(10 + (i % 4) * 72, 10 + (i / 4) * 62, 64, 54);
    painter.fillRect(tile, QColor::fromHsv((i * 23) % 60 + 10, 120 + i * 10, 240));
    painter.drawText(tile, Qt::AlignCenter, QString::number(values[i]));
  }
  painter.end();
  QDir().mkpath(folder.path(QStringLiteral("Named_Boxarts")));
  QVERIFY(art.save(folder.path(QStringLiteral("Named_Boxarts/2048.png")), "PNG"));

  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  QVERIFY(QTest::qWaitForWindowExposed(form1.get()));
  QCOMPARE(form1->Label1->text(), folder.path(QStringLiteral("Named_Boxarts/2048.png")));
  QCOMPARE(form1->Open->picture().size(), art.size());
  QCOMPARE(recorder.messages(), QStringList{});

  const QString shots = qEnvironmentVariable("VORBEL_SCREENSHOTS");
  if (shots.isEmpty()) return;
  QTest::qWait(100);  // let the server finish painting
  const QRect area = form1->frameGeometry();
  const QPixmap shot =
      form1->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  QVERIFY(shot.save(shots + QStringLiteral("/png-boxart.png"), "PNG"));
}

QTEST_MAIN(XvfbArtwork)
#include "xvfb_artwork.moc"
