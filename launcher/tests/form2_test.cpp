// The About window: the ghost's animation, its change into the invader, a
// fresh start at every opening, and its modality.

#include <QApplication>
#include <QTest>
#include <functional>

#include "about/form2.h"
#include "launcher_test_support.h"
#include "main_window/form1.h"

namespace {

// Opens the About window from the main window's icon and runs `whileOpen`
// on it once it is up; closes it afterwards with its Close button.
void with_about_window(Form1& form1, const std::function<void(Form2&)>& whileOpen) {
  bool ran = false;
  QTimer::singleShot(0, &form1, [&] {
    auto* form2 = qobject_cast<Form2*>(QApplication::activeModalWidget());
    QVERIFY(form2);
    whileOpen(*form2);
    ran = true;
    form2->Command1->click();
  });
  real_click(form1.Image1);
  QVERIFY(ran);
}

}  // namespace

class Form2Test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { drop_offscreen_warnings(); }
  void ghostAlternatesOnEveryTick();
  void clickBeforeTheFirstTickDoesNothing();
  void clickTurnsTheGhostIntoTheInvader();
  void everyOpeningStartsAfresh();
  void mainWindowTakesNoInputWhileOpen();
};

void Form2Test::ghostAlternatesOnEveryTick() {
  QWidget owner;
  Form2 form2(&owner);
  QCOMPARE(form2.windowTitle(), QStringLiteral(" About vorbel"));
  QCOMPARE(form2.Timer1->interval(), 400);
  QVERIFY(form2.Timer1->isActive());
  QCOMPARE(form2.ghost->toolTip(), QStringLiteral("Pacman!"));
  for (int tick = 0; tick < 4; ++tick) {
    form2.Timer1_Timer();
    const bool first = tick % 2 == 0;
    QVERIFY(form2.ghost->showsPictureOf(first ? form2.ghost1 : form2.ghost2));
    QVERIFY(!form2.ghost->showsPictureOf(first ? form2.ghost2 : form2.ghost1));
  }
  QCOMPARE(form2.animationMode, 1);
}

void Form2Test::clickBeforeTheFirstTickDoesNothing() {
  QWidget owner;
  Form2 form2(&owner);
  // The design picture looks like the second frame but is not that frame.
  QCOMPARE(form2.ghost->picture().toImage(), form2.ghost2->picture().toImage());
  QVERIFY(!form2.ghost->showsPictureOf(form2.ghost2));
  form2.ghost_Click();
  QCOMPARE(form2.animationMode, 1);
  QCOMPARE(form2.ghost->toolTip(), QStringLiteral("Pacman!"));
  QVERIFY(!form2.ghost->showsPictureOf(form2.spac1) && !form2.ghost->showsPictureOf(form2.spac2));
}

void Form2Test::clickTurnsTheGhostIntoTheInvader() {
  QWidget owner;
  Form2 form2(&owner);
  form2.Timer1_Timer();
  form2.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form2));
  real_click(form2.ghost);
  QCOMPARE(form2.animationMode, 0);
  QCOMPARE(form2.ghost->toolTip(), QStringLiteral("Space Invaders!"));
  const bool onSecond = form2.ghost->showsPictureOf(form2.spac2);
  QVERIFY(onSecond || form2.ghost->showsPictureOf(form2.spac1));
  form2.Timer1_Timer();
  QVERIFY(form2.ghost->showsPictureOf(onSecond ? form2.spac1 : form2.spac2));

  // A click on the invader changes nothing.
  const qint64 shown = form2.ghost->picture().cacheKey();
  real_click(form2.ghost);
  QCOMPARE(form2.ghost->picture().cacheKey(), shown);
  QCOMPARE(form2.animationMode, 0);
  QCOMPARE(form2.ghost->toolTip(), QStringLiteral("Space Invaders!"));
  form2.Timer1_Timer();
  QVERIFY(form2.ghost->showsPictureOf(onSecond ? form2.spac2 : form2.spac1));
}

void Form2Test::everyOpeningStartsAfresh() {
  LauncherFolder folder;
  folder.add_usual({"a.bin"}, "0");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  with_about_window(*form1, [](Form2& form2) {
    QCOMPARE(form2.windowIcon().pixmap(32, 32).toImage().size(), QSize(32, 32));
    form2.Timer1_Timer();
    form2.ghost_Click();
    QCOMPARE(form2.ghost->toolTip(), QStringLiteral("Space Invaders!"));
  });
  with_about_window(*form1, [](Form2& form2) {
    QCOMPARE(form2.ghost->toolTip(), QStringLiteral("Pacman!"));
    QCOMPARE(form2.animationMode, 1);
    QVERIFY(!form2.ghost->showsPictureOf(form2.spac1) && !form2.ghost->showsPictureOf(form2.spac2));
  });
  QVERIFY(!form1->unloaded());
}

void Form2Test::mainWindowTakesNoInputWhileOpen() {
  LauncherFolder folder;
  folder.add_usual({"a.bin", "b.bin"}, "0");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  form1->Option1->click();
  form1->Picture1_Click();
  Form3& form3 = form1->form3.get();
  with_about_window(*form1, [&](Form2&) {
    real_click(form1->Command1);                             // Exit
    QTest::keyClick(form1->windowHandle(), Qt::Key_Escape);  // Exit's key
    real_click(form1->File1->viewport(),
               form1->File1->visualItemRect(form1->File1->item(1)).center());
    QVERIFY(!form1->unloaded());
    QCOMPARE(form1->File1->listIndex(), 0);
    // Timers of the other windows keep running.
    const int toggle = form3.iconToggle;
    QTRY_VERIFY(form3.iconToggle != toggle);
  });
  QVERIFY(!form1->unloaded());
  QVERIFY(form3.isVisible());
}

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
