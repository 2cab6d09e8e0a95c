// The launcher on a real X server (run under xvfb-run, platform xcb): the
// windows are created, mapped, painted and activated by the server rather
// than by the offscreen stand-in. Screenshots of each state are saved under
// the build tree for a person to look at.

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "launcher_test_support.h"
#include "main_window/form1.h"
#include "main_window/texts.h"
#include "manual_window/form3.h"
#include "platform/twips.h"

namespace {

// Saves what the X server shows of the windows, side by side as they stand
// on the screen (without a window manager they have no frames).
void save_screenshot(const QList<QWidget*>& windows, const QString& name) {
  QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
  QRect area;
  for (QWidget* window : windows) {
    QVERIFY(QTest::qWaitForWindowExposed(window));
    area |= window->frameGeometry();
  }
  QTest::qWait(50);  // let the server finish painting
  const QPixmap shot =
      windows.first()->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  QVERIFY(!shot.isNull());
  QVERIFY(shot.save(QStringLiteral(SCREENSHOT_DIR "/") + name, "PNG"));
}

const QByteArray PITFALL_MANUAL =
    "PITFALL!\r\n\r\nHelp Pitfall Harry find the lost treasures of the jungle in twenty "
    "minutes.\r\nRun with the joystick, jump with the button. Swing over the tar pits on the "
    "vines,\r\njump the rolling logs and cross the crocodiles' heads when their jaws are "
    "shut.\r\n\r\nScoring: every treasure adds to your 2000 starting points.\r\n";

}  // namespace

class XvfbSmoke : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void byMouseAndKeyboard();
};

void XvfbSmoke::initTestCase() {
  QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

void XvfbSmoke::byMouseAndKeyboard() {
  LauncherFolder folder;
  folder.add_usual({"Adventure.bin", "Pitfall!.bin", "Space Invaders.bin"}, "1");
  folder.add_picture(QStringLiteral("Pics/Pitfall!.jpg"), {300, 200}, QColor(40, 120, 40));
  folder.add_file(QStringLiteral("Text/Pitfall!.txt"), PITFALL_MANUAL);
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  QVERIFY(QTest::qWaitForWindowExposed(form1.get()));
  QVERIFY(form1->isActiveWindow());
  QCOMPARE(form1->windowTitle(), texts::title(3));
  QCOMPARE(form1->File1->selectedName(), QStringLiteral("Pitfall!.bin"));
  QCOMPARE(form1->Open->picture().size(), QSize(300, 200));
  COMPARE_TWIPS(outer_height(form1.get()), Form1::COLLAPSED_HEIGHT);
  save_screenshot({form1.get()}, QStringLiteral("preview-off.png"));

  // Keyboard in the list, then the manual switched on by its mnemonic.
  form1->File1->setFocus();
  QTest::keyClick(form1->windowHandle(), Qt::Key_Down);
  QCOMPARE(form1->Label5->text(), QStringLiteral("3/3"));
  QTest::keyClick(form1->windowHandle(), Qt::Key_Up);
  QTest::keyClick(form1->windowHandle(), Qt::Key_O, Qt::AltModifier);
  QTRY_VERIFY(form1->Option1->isChecked());  // a mnemonic clicks a moment later
  COMPARE_TWIPS(outer_height(form1.get()), Form1::EXPANDED_HEIGHT);
  QVERIFY(form1->Text1->toPlainText().startsWith(QStringLiteral("PITFALL!\n")));
  save_screenshot({form1.get()}, QStringLiteral("manual-attached.png"));

  // Detach by the grip, Courier in the manual window, attach by its mnemonic.
  real_click(form1->Picture1, {2, 2});
  Form3& form3 = form1->form3.get();
  QVERIFY(QTest::qWaitForWindowActive(&form3));
  QCOMPARE(form3.windowTitle(), QStringLiteral(" Pitfall! game manual"));
  real_click(form3.Check1);
  QVERIFY(form1->Check1->isChecked());
  COMPARE_TWIPS(outer_top(&form3), outer_top(form1.get()) + Form1::COLLAPSED_HEIGHT);
  save_screenshot({form1.get(), &form3}, QStringLiteral("manual-detached.png"));
  QTest::keyClick(form3.windowHandle(), Qt::Key_A, Qt::AltModifier);
  QTRY_VERIFY(!form1->Check2->isChecked());
  QVERIFY(is_shown(form1->Text1));
  QCOMPARE(font_name(form1->Text1), QStringLiteral("Courier New"));

  // The About window, closed by its button.
  QTimer::singleShot(0, form1.get(), [] {
    QWidget* about = QApplication::activeModalWidget();
    QVERIFY(about);
    save_screenshot({about}, QStringLiteral("about.png"));
    about->close();
  });
  real_click(form1->Image1);

  // Escape leaves the launcher and keeps the position. Without a window
  // manager nobody hands the focus back after the About window.
  form1->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form1.get()));
  QTest::keyClick(form1->windowHandle(), Qt::Key_Escape);
  QVERIFY(form1->unloaded());
  QCOMPARE(folder.read(QStringLiteral("vorbel.idx")), QByteArray(" 1 \r\n"));
  QCOMPARE(recorder.messages(), QStringList{});
}

QTEST_MAIN(XvfbSmoke)
#include "xvfb_smoke.moc"
