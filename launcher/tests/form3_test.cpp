// The manual window: the Courier option on both sides, detaching, Attach,
// Close, the layout rule, following a minimised main window, the keys of the
// manual boxes and the icon animation.

#include <QTest>

#include "launcher_test_support.h"
#include "main_window/form1.h"
#include "main_window/texts.h"
#include "platform/twips.h"

namespace {

const QString COURIER = QStringLiteral("Courier New");
const QString OWN_FONT = QStringLiteral("MS Sans Serif");

// A launcher on ten entries g0.bin to g9.bin, each with a manual and the
// first five with a picture: `selected` restored at start, the manual on.
struct Launcher {
  explicit Launcher(int selected) {
    QStringList names;
    for (int i = 0; i < 10; ++i) {
      names.append(QStringLiteral("g%1.bin").arg(i));
      folder.add_file(QStringLiteral("Text/g%1.txt").arg(i),
                      QStringLiteral("manual %1").arg(i).toUtf8());
      if (i < 5) folder.add_picture(QStringLiteral("Pics/g%1.jpg").arg(i), QSize(40 + i, 30));
    }
    folder.add_usual(names, QByteArray::number(selected));
    form1 = start_form1(folder);
    form1->Option1->setChecked(true);
  }
  LauncherFolder folder;
  MessageRecorder recorder;
  std::unique_ptr<Form1> form1;
};

void wait_active(QWidget* window) {
  QVERIFY(QTest::qWaitForWindowActive(window));
}

}  // namespace

class Form3Test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { drop_offscreen_warnings(); }
  void courierKeepsBothSidesInStep_data();
  void courierKeepsBothSidesInStep();
  void detachByTheGrip();
  void attach();
  void closeTurnsThePreviewOff_data();
  void closeTurnsThePreviewOff();
  void layoutRule_data();
  void layoutRule();
  void followsAMinimisedMainWindow();
  void keysStepThroughTheList_data();
  void keysStepThroughTheList();
  void detachKeyInTheAttachedBox();
  void iconAnimatesWhileLoaded();
  void comesBackInItsDesignState();
  void closingTheMainWindowUnloadsIt();
};

void Form3Test::courierKeepsBothSidesInStep_data() {
  QTest::addColumn<bool>("detached");
  QTest::addColumn<bool>("fromManualWindow");  // which Courier box the user clicks
  QTest::addColumn<bool>("startTicked");
  QTest::newRow("tick in the main window, attached") << false << false << false;
  QTest::newRow("untick in the main window, attached") << false << false << true;
  QTest::newRow("tick in the manual window, detached") << true << true << false;
  QTest::newRow("untick in the manual window, detached") << true << true << true;
  QTest::newRow("tick in the main window, detached") << true << false << false;
}

void Form3Test::courierKeepsBothSidesInStep() {
  QFETCH(bool, detached);
  QFETCH(bool, fromManualWindow);
  QFETCH(bool, startTicked);
  Launcher launcher(3);
  Form1* form1 = launcher.form1.get();
  form1->Check1->setChecked(startTicked);
  if (detached) form1->Picture1_Click();
  QCOMPARE(form1->form3->Check1->isChecked(), startTicked);

  (fromManualWindow ? form1->form3->Check1 : form1->Check1)->click();
  const bool ticked = !startTicked;
  QCOMPARE(form1->Check1->isChecked(), ticked);
  QCOMPARE(form1->form3->Check1->isChecked(), ticked);
  ManualBox* visible = detached ? form1->form3->Text1 : form1->Text1;
  QCOMPARE(font_name(visible), ticked ? COURIER : OWN_FONT);
  if (!detached || !ticked) QCOMPARE(font_name(form1->form3->Text1), ticked ? COURIER : OWN_FONT);
  const QString tooltip = texts::courier_tooltip(QStringLiteral("g3"), ticked);
  QCOMPARE(form1->Check1->toolTip(), tooltip);
  QCOMPARE(form1->form3->Check1->toolTip(), tooltip);
  QCOMPARE(visible->window()->focusWidget(), visible);
  QCOMPARE(launcher.recorder.messages(), QStringList{});
}

void Form3Test::detachByTheGrip() {
  Launcher launcher(1);
  Form1* form1 = launcher.form1.get();
  form1->Check1->setChecked(true);
  real_click(form1->Picture1, {2, 2});  // the grip reaches past the window's edge

  Form3& form3 = form1->form3.get();
  QVERIFY(form3.isVisible());
  COMPARE_TWIPS(outer_height(form1), Form1::COLLAPSED_HEIGHT);
  COMPARE_TWIPS(outer_left(&form3), outer_left(form1));
  COMPARE_TWIPS(outer_top(&form3), outer_top(form1) + Form1::COLLAPSED_HEIGHT);
  QCOMPARE(form3.windowTitle(), QStringLiteral(" g1 game manual"));
  QCOMPARE(form3.Text1->toPlainText(), QStringLiteral("manual 1"));
  QCOMPARE(font_name(form3.Text1), COURIER);
  QVERIFY(form1->Check2->isChecked());
  QVERIFY(form1->Check1->isEnabled());
  QVERIFY(!is_shown(form1->Text1) && !is_shown(form1->Picture1));
  QVERIFY(is_shown(form3.Text1) && is_shown(form3.Command1));
  QCOMPARE(form3.focusWidget(), form3.Text1);
}

void Form3Test::attach() {
  Launcher launcher(2);
  Form1* form1 = launcher.form1.get();
  form1->Picture1_Click();
  QPointer<Form3> detached = &form1->form3.get();
  launcher.folder.add_file(QStringLiteral("Text/g2.txt"),
                           "manual 2, revised");  // reloaded at attach
  detached->Command1->click();

  QVERIFY(detached.isNull() || !detached->isVisible());
  QVERIFY(!form1->form3->isVisible());
  COMPARE_TWIPS(outer_height(form1), Form1::EXPANDED_HEIGHT);
  QVERIFY(is_shown(form1->Text1) && is_shown(form1->Picture1));
  QCOMPARE(form1->Text1->toPlainText(), QStringLiteral("manual 2, revised"));
  QVERIFY(!form1->Check2->isChecked());
  QVERIFY(is_enabled(form1->Check1) && is_enabled(form1->Check2));
  QVERIFY(form1->Option1->isChecked());
  QCOMPARE(form1->focusWidget(), form1->Text1);
}

void Form3Test::closeTurnsThePreviewOff_data() {
  QTest::addColumn<QString>("way");
  QTest::newRow("Close") << "button";
  QTest::newRow("Escape") << "escape";
  QTest::newRow("close box") << "close box";
}

void Form3Test::closeTurnsThePreviewOff() {
  QFETCH(QString, way);
  Launcher launcher(0);
  Form1* form1 = launcher.form1.get();
  form1->Picture1_Click();
  Form3* form3 = &form1->form3.get();
  if (way == QLatin1String("button")) {
    form3->Command2->click();
  } else if (way == QLatin1String("escape")) {
    wait_active(form3);
    QTest::keyClick(form3->Text1, Qt::Key_Escape);
  } else {
    form3->close();
  }
  QVERIFY(!form3->isVisible());
  QVERIFY(!form1->form3->isVisible());
  QVERIFY(form1->Option2->isChecked());
  COMPARE_TWIPS(outer_height(form1), Form1::COLLAPSED_HEIGHT);
  QVERIFY(!is_enabled(form1->Check1) && !is_enabled(form1->Check2));
  QVERIFY(form1->Check2->isChecked());
  QVERIFY(!is_shown(form1->Text1));

  form1->Option1->click();  // "on" detaches again
  QVERIFY(form1->form3->isVisible());
  QCOMPARE(form1->form3->Text1->toPlainText(), QStringLiteral("manual 0"));
  QVERIFY(is_enabled(form1->Check2));
}

void Form3Test::layoutRule_data() {
  QTest::addColumn<bool>("horizontal");
  QTest::addColumn<int>("size");
  QTest::addColumn<bool>("changes");
  QTest::newRow("height 1200") << false << 1200 << false;
  QTest::newRow("height 1201") << false << 1201 << true;
  QTest::newRow("width 1680") << true << 1680 << false;
  QTest::newRow("width 4000") << true << 4000 << true;
}

void Form3Test::layoutRule() {
  QFETCH(bool, horizontal);
  QFETCH(int, size);
  QFETCH(bool, changes);
  Launcher launcher(0);
  Form1* form1 = launcher.form1.get();
  form1->Picture1_Click();
  Form3& form3 = form1->form3.get();
  QWidget* const controls[] = {form3.Text1, form3.Command1, form3.Command2, form3.Check1};
  QList<QRect> before;
  for (QWidget* control : controls) before.append(control->geometry());

  if (horizontal)
    set_outer_width(&form3, size);
  else
    set_outer_height(&form3, size);

  if (!changes) {
    for (int i = 0; i < 4; ++i) QCOMPARE(controls[i]->geometry(), before[i]);
  } else if (horizontal) {
    COMPARE_TWIPS(width_of(form3.Text1), size - 200);
    COMPARE_TWIPS(left_of(form3.Command1), size - 2250);
    COMPARE_TWIPS(left_of(form3.Command2), size - 1200);
    COMPARE_TWIPS(left_of(form3.Check1), size - 3250);
    QCOMPARE(form3.Text1->height(), before[0].height());  // the other direction stays
  } else {
    COMPARE_TWIPS(height_of(form3.Text1), size - 950);
    COMPARE_TWIPS(top_of(form3.Command1), size - 750);
    COMPARE_TWIPS(top_of(form3.Command2), size - 750);
    COMPARE_TWIPS(top_of(form3.Check1), size - 700);
    QCOMPARE(form3.Text1->width(), before[0].width());
  }
  QCOMPARE(form3.Text1->pos(), before[0].topLeft());  // the box's corner never moves
}

void Form3Test::followsAMinimisedMainWindow() {
  Launcher launcher(0);
  Form1* form1 = launcher.form1.get();
  form1->Picture1_Click();
  Form3& form3 = form1->form3.get();
  wait_active(&form3);
  form1->activateWindow();
  wait_active(form1);
  set_minimized(form1, true);
  QVERIFY(!is_minimized(&form3));
  form3.activateWindow();
  QTRY_VERIFY(is_minimized(&form3));
}

void Form3Test::keysStepThroughTheList_data() {
  QTest::addColumn<int>("selected");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("after");
  QTest::newRow("] on the fourth of ten") << 3 << int(Qt::Key_BracketRight) << 4;
  QTest::newRow("[ on the fourth") << 3 << int(Qt::Key_BracketLeft) << 2;
  QTest::newRow("shifted ] is still ]") << 3 << int(Qt::Key_BraceRight) << 4;
  QTest::newRow("[ on the first") << 0 << int(Qt::Key_BracketLeft) << 0;
  QTest::newRow("] on the last") << 9 << int(Qt::Key_BracketRight) << 9;
  QTest::newRow("D does not detach here") << 3 << int(Qt::Key_D) << 3;
}

void Form3Test::keysStepThroughTheList() {
  QFETCH(int, selected);
  QFETCH(int, key);
  QFETCH(int, after);
  Launcher launcher(selected);
  Form1* form1 = launcher.form1.get();
  form1->Picture1_Click();
  Form3& form3 = form1->form3.get();
  QTest::keyClick(form3.Text1, Qt::Key(key));
  QCOMPARE(form1->File1->listIndex(), after);
  QCOMPARE(form3.Text1->toPlainText(), QStringLiteral("manual %1").arg(after));
  QCOMPARE(form3.windowTitle(), QStringLiteral(" g%1 game manual").arg(after));
  const QSize picture = after < 5 ? QSize(40 + after, 30) : QSize(32, 32);
  QCOMPARE(form1->Open->picture().size(), picture);
  QVERIFY(form3.isVisible());
}

void Form3Test::detachKeyInTheAttachedBox() {
  Launcher launcher(4);
  Form1* form1 = launcher.form1.get();
  QTest::keyClick(form1->Text1, Qt::Key_BracketRight);
  QCOMPARE(form1->Text1->toPlainText(), QStringLiteral("manual 5"));
  QTest::keyClick(form1->Text1, Qt::Key_D);
  QVERIFY(form1->form3->isVisible());
  QVERIFY(form1->Check2->isChecked());
  QCOMPARE(form1->form3->Text1->toPlainText(), QStringLiteral("manual 5"));
}

void Form3Test::iconAnimatesWhileLoaded() {
  Launcher launcher(0);
  Form1* form1 = launcher.form1.get();
  Form3& form3 = form1->form3.get();
  QVERIFY(!form3.isVisible());
  QVERIFY(form3.Timer1->isActive());
  QCOMPARE(form3.Timer1->interval(), 200);
  const auto shows = [&form3](const PictureBox* frame) {
    return form3.windowIcon().pixmap(32, 32).toImage() == frame->picture().toImage();
  };
  QVERIFY(shows(form3.scorp1));  // the load ran one step
  form3.Timer1_Timer();
  QVERIFY(shows(form3.scorp2));
  form3.Timer1_Timer();
  QVERIFY(shows(form3.scorp1));
  QVERIFY(form3.scorp1->picture().toImage() != form3.scorp2->picture().toImage());
  const int toggle = form3.iconToggle;
  QTRY_VERIFY(form3.iconToggle != toggle);  // the timer runs while hidden
}

void Form3Test::comesBackInItsDesignState() {
  Launcher launcher(0);
  Form1* form1 = launcher.form1.get();
  form1->Picture1_Click();
  Form3* first = &form1->form3.get();
  const QSize designSize = first->size();
  set_outer_width(first, 4000);
  set_font_name(first->Text1, COURIER);
  first->Command2->click();

  form1->File1->setListIndex(1);  // touches the manual window again
  Form3& fresh = form1->form3.get();
  QCOMPARE(fresh.size(), designSize);
  QCOMPARE(font_name(fresh.Text1), OWN_FONT);
  QVERIFY(fresh.attachRequest.isEmpty() && fresh.closeRequest.isEmpty());
  QCOMPARE(fresh.windowTitle(), QStringLiteral(" g1 game manual"));
}

void Form3Test::closingTheMainWindowUnloadsIt() {
  Launcher launcher(6);
  Form1* form1 = launcher.form1.get();
  form1->Picture1_Click();
  QPointer<Form3> form3 = &form1->form3.get();
  form1->Command1->click();
  QVERIFY(form1->unloaded());
  QVERIFY(!form1->form3.loaded());
  QVERIFY(form3.isNull() || !form3->isVisible());
  QCOMPARE(launcher.folder.read(QStringLiteral("vorbel.idx")), QByteArray(" 6 \r\n"));
  QCOMPARE(launcher.recorder.messages(), QStringList{});
}

QTEST_MAIN(Form3Test)
#include "form3_test.moc"
