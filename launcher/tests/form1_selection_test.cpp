// Form1's selection: preview picture, manual, counter and tooltips, and the
// manual preview switched on and off.

#include <QTest>

#include "launcher_test_support.h"
#include "main_window/form1.h"
#include "main_window/texts.h"
#include "platform/twips.h"

namespace {

const QSize OWN_SIZE(100, 80);
const QSize FALLBACK_SIZE(32, 32);

void switch_preview(Form1& form1, bool on) {
  (on ? form1.Option1 : form1.Option2)->setChecked(true);
}

}  // namespace

class Form1SelectionTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { drop_offscreen_warnings(); }
  void selectionShowsPictureManualAndTooltips();
  void pictureChoice_data();
  void pictureChoice();
  void manualChoice_data();
  void manualChoice();
  void baseNameEndsAtTheFirstDot();
  void keyboardMovesTheSelection();
  void previewOffKeepsTheOldManualUntilSwitchedOn();
  void switchingOffWhileMinimised();
  void switchingOnWithCourier();
};

void Form1SelectionTest::selectionShowsPictureManualAndTooltips() {
  LauncherFolder folder;
  folder.add_usual({"Adventure.bin", "Pitfall!.bin", "Zaxxon.bin"}, "-1");
  folder.add_picture(QStringLiteral("Pics/Pitfall!.jpg"), OWN_SIZE);
  folder.add_file(QStringLiteral("Text/Pitfall!.txt"), "Jungle\r\nrun");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  QVERIFY(!form1->Option1->isEnabled());

  form1->File1->setListIndex(1);
  for (QWidget* control :
       {static_cast<QWidget*>(form1->Command2), static_cast<QWidget*>(form1->Option1),
        static_cast<QWidget*>(form1->Option2), static_cast<QWidget*>(form1->Frame1),
        static_cast<QWidget*>(form1->Label5)}) {
    QVERIFY(control->isEnabled());
  }
  QVERIFY(!form1->Check1->isEnabled());
  QVERIFY(!is_enabled(form1->Check2));
  QCOMPARE(form1->Label5->text(), QStringLiteral("2/3"));
  QCOMPARE(form1->Open->picture().size(), OWN_SIZE);
  QCOMPARE(form1->Open->size(), OWN_SIZE);
  QCOMPARE(form1->Label1->text(), folder.path(QStringLiteral("Pics/Pitfall!.jpg")));
  QCOMPARE(form1->Command2->toolTip(), QStringLiteral("Click this to play Pitfall!"));
  QCOMPARE(form1->Option1->toolTip(),
           QStringLiteral("Select this to view the Pitfall! game manual"));
  QCOMPARE(form1->Option2->toolTip(), QStringLiteral("Select this to disable game manual preview"));
  QCOMPARE(form1->Check1->toolTip(),
           QStringLiteral("Enable this to view the Pitfall! manual in Courier"));
  QCOMPARE(form1->form3->Check1->toolTip(), form1->Check1->toolTip());
  QCOMPARE(form1->form3->windowTitle(), QStringLiteral(" Pitfall! game manual"));
  QCOMPARE(form1->Text1->toPlainText(), QString());  // the preview is off

  switch_preview(*form1, true);
  QCOMPARE(form1->Text1->toPlainText(), QStringLiteral("Jungle\nrun"));
  QCOMPARE(recorder.messages(), QStringList{});
}

void Form1SelectionTest::pictureChoice_data() {
  QTest::addColumn<QString>("ownPicture");  // where the game's picture lies; empty: none
  QTest::addColumn<bool>("ownDecodes");
  QTest::addColumn<bool>("fallbackPresent");
  QTest::addColumn<QSize>("shown");  // empty: the preview is empty

  QTest::newRow("own picture") << "Pics/Pitfall!.jpg" << true << true << OWN_SIZE;
  QTest::newRow("own picture in other case") << "PICS/PITFALL!.JPG" << true << true << OWN_SIZE;
  QTest::newRow("no own picture") << "" << true << true << FALLBACK_SIZE;
  QTest::newRow("own picture does not decode")
      << "Pics/Pitfall!.jpg" << false << true << FALLBACK_SIZE;
  QTest::newRow("nothing decodes") << "Pics/Pitfall!.jpg" << false << false << QSize();
  QTest::newRow("nothing there") << "" << true << false << QSize();
}

void Form1SelectionTest::pictureChoice() {
  QFETCH(QString, ownPicture);
  QFETCH(bool, ownDecodes);
  QFETCH(bool, fallbackPresent);
  QFETCH(QSize, shown);

  // The start-up checks look in the program directory; the pictures come
  // from the list directory, which may lack the fallback.
  LauncherFolder program;
  LauncherFolder list;
  program.add_usual({"Pitfall!.bin"}, "-1");
  list.add_images({"Pitfall!.bin"});
  if (fallbackPresent) list.add_picture(QStringLiteral("Default.jpg"), FALLBACK_SIZE);
  if (!ownPicture.isEmpty()) {
    if (ownDecodes)
      list.add_picture(ownPicture, OWN_SIZE);
    else
      list.add_file(ownPicture, "not a picture");
  }
  MessageRecorder recorder;
  auto form1 = start_form1(program.path(), list.path());
  form1->File1->setListIndex(0);
  if (shown.isValid())
    QCOMPARE(form1->Open->picture().size(), shown);
  else
    QVERIFY(form1->Open->picture().isNull());
  QCOMPARE(form1->Label1->text().isEmpty(), !shown.isValid());
  QCOMPARE(recorder.messages(), QStringList{});
}

void Form1SelectionTest::manualChoice_data() {
  QTest::addColumn<QByteArray>("manual");  // null: no manual file
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QStringList>("messages");

  const QByteArray limit(64000, 'x');
  QTest::newRow("64000 bytes") << limit << QString(limit) << QStringList{};
  QTest::newRow("64001 bytes") << limit + "x"
                               << "Pitfall! game manual not available"
                               << QStringList{texts::MANUAL_TOO_LARGE};
  QTest::newRow("empty") << QByteArray("") << "" << QStringList{};
  QTest::newRow("missing") << QByteArray() << "Pitfall! game manual not available" << QStringList{};
  QTest::newRow("Windows-1252, bare LF")
      << QByteArray("Caf\xe9\n\x93hi\x94") << QString::fromUtf8("Café\n“hi”") << QStringList{};
}

void Form1SelectionTest::manualChoice() {
  QFETCH(QByteArray, manual);
  QFETCH(QString, shown);
  QFETCH(QStringList, messages);

  LauncherFolder folder;
  folder.add_usual({"Adventure.bin", "Pitfall!.bin"}, "0");
  folder.add_file(QStringLiteral("Text/Adventure.txt"), "Another game's manual");
  if (!manual.isNull()) folder.add_file(QStringLiteral("Text/Pitfall!.txt"), manual);
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  switch_preview(*form1, true);
  QCOMPARE(form1->Text1->toPlainText(), QStringLiteral("Another game's manual"));

  form1->File1->setListIndex(1);
  QCOMPARE(form1->Text1->toPlainText(), shown);
  QCOMPARE(recorder.messages(), messages);
}

void Form1SelectionTest::baseNameEndsAtTheFirstDot() {
  LauncherFolder folder;
  folder.add_usual({"Mr. Do!.bin", "Twelve_Chars.bin"}, "0");
  folder.add_picture(QStringLiteral("Pics/Mr.jpg"), OWN_SIZE);
  folder.add_file(QStringLiteral("Text/Mr.txt"), "Mr. Do! digs");
  folder.add_file(QStringLiteral("Text/Twelve_Chars.txt"), "twelve");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  switch_preview(*form1, true);
  QCOMPARE(form1->Open->picture().size(), OWN_SIZE);
  QCOMPARE(form1->Text1->toPlainText(), QStringLiteral("Mr. Do! digs"));
  QCOMPARE(form1->Command2->toolTip(), QStringLiteral("Click this to play Mr"));
  QCOMPARE(form1->Check1->toolTip(),
           QStringLiteral("Enable this to view the Mr manual in Courier"));
  form1->File1->setListIndex(1);
  QCOMPARE(form1->Text1->toPlainText(), QStringLiteral("twelve"));
}

void Form1SelectionTest::keyboardMovesTheSelection() {
  LauncherFolder folder;
  folder.add_usual({"a.bin", "b.bin", "c.bin"}, "-1");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  form1->File1->setFocus();
  QTest::keyClick(form1->File1, Qt::Key_Down);  // nothing selected: the first entry
  QCOMPARE(form1->File1->listIndex(), 0);
  QTest::keyClick(form1->File1, Qt::Key_Down);
  QCOMPARE(form1->File1->listIndex(), 1);
  QCOMPARE(form1->Label5->text(), QStringLiteral("2/3"));
  QCOMPARE(form1->Command2->toolTip(), QStringLiteral("Click this to play b"));
  // A Ctrl+click on the selected entry leaves it selected.
  QTest::mouseClick(form1->File1->viewport(), Qt::LeftButton, Qt::ControlModifier,
                    form1->File1->visualItemRect(form1->File1->item(1)).center());
  QCOMPARE(form1->File1->listIndex(), 1);
}

void Form1SelectionTest::previewOffKeepsTheOldManualUntilSwitchedOn() {
  LauncherFolder folder;
  folder.add_usual({"a.bin", "b.bin"}, "0");
  folder.add_file(QStringLiteral("Text/a.txt"), "manual a");
  folder.add_file(QStringLiteral("Text/b.txt"), "manual b");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  QVERIFY(!is_shown(form1->Text1));
  COMPARE_TWIPS(outer_height(form1.get()), Form1::COLLAPSED_HEIGHT);

  switch_preview(*form1, true);
  COMPARE_TWIPS(outer_height(form1.get()), Form1::EXPANDED_HEIGHT);
  QVERIFY(is_shown(form1->Text1) && is_shown(form1->Picture1));
  QVERIFY(form1->Check1->isEnabled() && form1->Check2->isEnabled());
  QCOMPARE(form1->focusWidget(), form1->Text1);
  QCOMPARE(form1->Text1->toPlainText(), QStringLiteral("manual a"));

  switch_preview(*form1, false);
  COMPARE_TWIPS(outer_height(form1.get()), Form1::COLLAPSED_HEIGHT);
  QVERIFY(!is_shown(form1->Text1));
  QVERIFY(!is_enabled(form1->Check1) && !is_enabled(form1->Check2));
  form1->File1->setListIndex(1);
  QCOMPARE(form1->Text1->toPlainText(), QStringLiteral("manual a"));

  switch_preview(*form1, true);
  QCOMPARE(form1->Text1->toPlainText(), QStringLiteral("manual b"));
}

void Form1SelectionTest::switchingOffWhileMinimised() {
  LauncherFolder folder;
  folder.add_usual({"a.bin"}, "0");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  switch_preview(*form1, true);
  form1->Picture1_Click();
  QVERIFY(form1->form3->isVisible());
  set_minimized(form1.get(), true);
  form1->Option2_Click();
  // Switching off leaves a minimised window alone, but closing the manual
  // window brings the main window back, collapsed, with the manual off.
  QVERIFY(!form1->form3.loaded());
  QVERIFY(!is_minimized(form1.get()));
  COMPARE_TWIPS(outer_height(form1.get()), Form1::COLLAPSED_HEIGHT);
  QVERIFY(!is_shown(form1->Text1));
  QVERIFY(!is_enabled(form1->Check1) && !is_enabled(form1->Check2));
}

void Form1SelectionTest::switchingOnWithCourier() {
  LauncherFolder folder;
  folder.add_usual({"a.bin"}, "0");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  form1->Check1->setChecked(true);
  switch_preview(*form1, true);
  QCOMPARE(font_name(form1->Text1), QStringLiteral("Courier New"));
  QCOMPARE(form1->Check1->toolTip(),
           QStringLiteral("Disable this to view the a manual in MS Sans Serif"));
}

QTEST_MAIN(Form1SelectionTest)
#include "form1_selection_test.moc"
