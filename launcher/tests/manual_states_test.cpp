// The three states of the manual (preview off, attached, detached) driven
// through every transition between them; after each step the window, the
// Detach box, the main window and the box holding the manual must agree
// with the state.

#include <QTest>

#include "launcher_test_support.h"
#include "main_window/form1.h"
#include "platform/twips.h"

namespace {

const QString MANUAL = QStringLiteral("Pitfall Harry's manual");

// Runs one user action of the manual's state machine.
void act(Form1& form1, const QString& action) {
  if (action == QLatin1String("on"))
    form1.Option1->click();
  else if (action == QLatin1String("off"))
    form1.Option2->click();
  else if (action == QLatin1String("grip"))
    real_click(form1.Picture1, {2, 2});
  else if (action == QLatin1String("tick"))
    form1.Check2->click();
  else if (action == QLatin1String("D"))
    QTest::keyClick(form1.Text1, Qt::Key_D);
  else if (action == QLatin1String("attach"))
    form1.form3->Command1->click();
  else if (action == QLatin1String("untick"))
    form1.Check2->click();
  else if (action == QLatin1String("close"))
    form1.form3->Command2->click();
  else if (action == QLatin1String("close box"))
    form1.form3->close();
  else
    QFAIL(qPrintable(QStringLiteral("no such action: ") + action));
}

void check_state(Form1& form1, const QString& state, const QString& step) {
  const QByteArray where = step.toUtf8();
  const bool shown = form1.form3.loaded() && form1.form3->isVisible();
  if (state == QLatin1String("off")) {
    QVERIFY2(!shown, where);
    QVERIFY2(near_twips(outer_height(&form1), Form1::COLLAPSED_HEIGHT), where);
    QVERIFY2(!is_shown(form1.Text1), where);
    QVERIFY2(form1.Option2->isChecked(), where);
  } else if (state == QLatin1String("attached")) {
    QVERIFY2(!shown, where);
    QVERIFY2(!form1.Check2->isChecked(), where);
    QVERIFY2(near_twips(outer_height(&form1), Form1::EXPANDED_HEIGHT), where);
    QVERIFY2(is_shown(form1.Text1) && is_shown(form1.Picture1), where);
    QVERIFY2(form1.Text1->toPlainText() == MANUAL, where);
    QVERIFY2(is_enabled(form1.Check1) && is_enabled(form1.Check2), where);
  } else {
    QVERIFY2(shown, where);
    QVERIFY2(form1.Check2->isChecked() && is_enabled(form1.Check2), where);
    QVERIFY2(near_twips(outer_height(&form1), Form1::COLLAPSED_HEIGHT), where);
    QVERIFY2(!is_shown(form1.Text1) && !is_shown(form1.Picture1), where);
    QVERIFY2(form1.form3->Text1->toPlainText() == MANUAL, where);
    QVERIFY2(near_twips(outer_top(&form1.form3.get()), outer_top(&form1) + Form1::COLLAPSED_HEIGHT),
             where);
  }
}

}  // namespace

class ManualStatesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { drop_offscreen_warnings(); }
  void transitions_data();
  void transitions();
};

void ManualStatesTest::transitions_data() {
  // Each row: the actions, each followed by the state it must lead to.
  QTest::addColumn<QStringList>("steps");
  QTest::newRow("off, on, off") << QStringList{"on", "attached", "off", "off"};
  QTest::newRow("detach by the grip, attach")
      << QStringList{"on", "attached", "grip", "detached", "attach", "attached"};
  QTest::newRow("detach by ticking, untick")
      << QStringList{"on", "attached", "tick", "detached", "untick", "attached"};
  QTest::newRow("detach by D, close, on again")
      << QStringList{"on", "attached", "D", "detached", "close", "off", "on", "detached"};
  QTest::newRow("close box, on again, off") << QStringList{
      "on", "attached", "grip", "detached", "close box", "off", "on", "detached", "off", "off"};
  QTest::newRow("attached again after a detached off")
      << QStringList{"on", "attached", "grip",   "detached", "off", "off",
                     "on", "detached", "attach", "attached", "off", "off"};
}

void ManualStatesTest::transitions() {
  QFETCH(QStringList, steps);
  LauncherFolder folder;
  folder.add_usual({"Adventure.bin", "Pitfall!.bin"}, "1");
  folder.add_file(QStringLiteral("Text/Pitfall!.txt"), MANUAL.toUtf8());
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  check_state(*form1, QStringLiteral("off"), QStringLiteral("start"));
  for (qsizetype i = 0; i + 1 < steps.size(); i += 2) {
    act(*form1, steps[i]);
    check_state(*form1, steps[i + 1], QStringLiteral("after ") + steps.mid(0, i + 1).join(", "));
  }
  QCOMPARE(recorder.messages(), QStringList{});
}

QTEST_MAIN(ManualStatesTest)
#include "manual_states_test.moc"
