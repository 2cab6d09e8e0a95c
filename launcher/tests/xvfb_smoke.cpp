// The launcher on a real X server (run under xvfb-run, platform xcb): the
// windows are created, mapped, painted and activated by the server rather
// than by the offscreen stand-in. Screenshots of each state are saved under
// the build tree for a person to look at.

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "launcher_test_support.h"
#include "main_window/form1.h"
#include "main_window/texts.h"
#include "platform/twips.h"

namespace {

// Saves what the X server shows of `window`, frame-less as it is here.
void save_screenshot(QWidget* window, const QString& name) {
  QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
  QCoreApplication::processEvents();
  const QPixmap shot = window->screen()->grabWindow(window->winId());
  QVERIFY(!shot.isNull());
  QVERIFY(shot.save(QStringLiteral(SCREENSHOT_DIR "/") + name, "PNG"));
}

}  // namespace

class XvfbSmoke : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void startSelectAndClose();
};

void XvfbSmoke::initTestCase() {
  QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

void XvfbSmoke::startSelectAndClose() {
  LauncherFolder folder;
  folder.add_usual({"Adventure.bin", "Pitfall!.bin", "Space Invaders.bin"}, "1");
  folder.add_picture(QStringLiteral("Pics/Pitfall!.jpg"), {300, 200}, QColor(40, 120, 40));
  folder.add_file(QStringLiteral("Text/Pitfall!.txt"),
                  "Pitfall Harry's jungle adventure.\r\nSwing on vines, jump the crocodiles.\r\n");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  QVERIFY(QTest::qWaitForWindowExposed(form1.get()));
  QVERIFY(form1->isActiveWindow());
  QCOMPARE(form1->windowTitle(), texts::title(3));
  QCOMPARE(form1->File1->selectedName(), QStringLiteral("Pitfall!.bin"));
  QCOMPARE(form1->Open->picture().size(), QSize(300, 200));
  COMPARE_TWIPS(outer_height(form1.get()), Form1::COLLAPSED_HEIGHT);

  form1->File1->setFocus();
  QTest::keyClick(form1->File1, Qt::Key_Down);
  QCOMPARE(form1->Label5->text(), QStringLiteral("3/3"));
  QTest::keyClick(form1->File1, Qt::Key_Up);
  form1->Option1->click();
  QTRY_COMPARE(form1->height(), twips_to_pixels_y(Form1::EXPANDED_HEIGHT - 375));
  QCOMPARE(form1->Text1->toPlainText().section(QLatin1Char('\n'), 0, 0),
           QStringLiteral("Pitfall Harry's jungle adventure."));
  save_screenshot(form1.get(), QStringLiteral("main-window.png"));

  form1->Command1->click();
  QVERIFY(form1->unloaded());
  QCOMPARE(folder.read(QStringLiteral("vorbel.idx")), QByteArray(" 1 \r\n"));
  QCOMPARE(recorder.messages(), QStringList{});
}

QTEST_MAIN(XvfbSmoke)
#include "xvfb_smoke.moc"
