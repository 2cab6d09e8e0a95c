// Starting the emulator from Form1, and leaving the launcher.

#include <QFile>
#include <QTest>

#include "launcher_test_support.h"
#include "main_window/form1.h"
#include "main_window/texts.h"

namespace {

// What the stand-in emulator records for one start in `directory` with `name`.
QString record(const QString& directory, const QString& name) {
  return directory + QStringLiteral("\n1\n") + name + QLatin1Char('\n');
}

}  // namespace

class Form1LaunchTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { drop_offscreen_warnings(); }
  void playStartsTheSelectedName_data();
  void playStartsTheSelectedName();
  void everyWayOfLaunching_data();
  void everyWayOfLaunching();
  void pictureDoubleClickWithoutSelection();
  void twoLaunchesRunSideBySide();
  void emulatorInTheProgramDirectory();
  void emulatorThatCannotStart();
  void escapeExitsAndSavesThePosition();
};

void Form1LaunchTest::playStartsTheSelectedName_data() {
  QTest::addColumn<QString>("name");
  QTest::newRow("plain") << "Pac-Man.bin";
  QTest::newRow("blanks") << "Space Invaders.bin";
  QTest::newRow("quotes and shell characters") << "It's \"$HOME\" & co.bin";
}

void Form1LaunchTest::playStartsTheSelectedName() {
  QFETCH(QString, name);
  LauncherFolder folder;
  folder.add_usual({name}, "0");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  QTest::mouseClick(form1->Command2, Qt::LeftButton);
  QTRY_COMPARE(folder.launches(), QStringList{record(folder.path(), name)});
  // The launcher stays as it was and writes nothing at launch.
  QVERIFY(!form1->unloaded() && form1->isVisible());
  QCOMPARE(form1->File1->listIndex(), 0);
  QCOMPARE(folder.read(QStringLiteral("vorbel.idx")), QByteArray("0"));
  QCOMPARE(recorder.messages(), QStringList{});
}

void Form1LaunchTest::everyWayOfLaunching_data() {
  QTest::addColumn<QString>("way");
  QTest::newRow("Enter in the list") << "enter";
  QTest::newRow("double-click on the list") << "list";
  QTest::newRow("double-click on the picture") << "picture";
  QTest::newRow("Alt+P") << "alt";
}

void Form1LaunchTest::everyWayOfLaunching() {
  QFETCH(QString, way);
  LauncherFolder folder;
  folder.add_usual({"a.bin", "b.bin"}, "0");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  ListBox* list = form1->File1;
  if (way == QLatin1String("enter")) {
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
  } else if (way == QLatin1String("list")) {
    real_double_click(list->viewport(), list->visualItemRect(list->item(1)).center());
  } else if (way == QLatin1String("picture")) {
    list->setListIndex(1);
    real_double_click(form1->Open);
  } else {
    list->setListIndex(1);
    QTest::keyClick(form1.get(), Qt::Key_P, Qt::AltModifier);
  }
  QCOMPARE(list->listIndex(), 1);
  QCOMPARE(form1->Label5->text(), QStringLiteral("2/2"));
  QTRY_COMPARE(folder.launches(), QStringList{record(folder.path(), QStringLiteral("b.bin"))});
}

void Form1LaunchTest::pictureDoubleClickWithoutSelection() {
  LauncherFolder folder;
  folder.add_usual({"a.bin"}, "-1");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  real_double_click(form1->Open);
  QTest::qWait(200);
  QCOMPARE(folder.launches(), QStringList{});
}

void Form1LaunchTest::twoLaunchesRunSideBySide() {
  LauncherFolder folder;
  folder.add_usual({"a.bin"}, "0");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  form1->Command2_Click();
  form1->Command2_Click();
  QTRY_COMPARE(folder.launches().size(), 2);
  QCOMPARE(folder.launches()[0], folder.launches()[1]);
}

void Form1LaunchTest::emulatorInTheProgramDirectory() {
  LauncherFolder program;
  LauncherFolder list;
  program.add_usual({"a.bin"}, "0");
  list.add_images({"a.bin"});
  MessageRecorder recorder;
  auto form1 = start_form1(program.path(), list.path());
  form1->Command2_Click();
  QTRY_COMPARE(program.launches(), QStringList{record(list.path(), QStringLiteral("a.bin"))});
}

void Form1LaunchTest::emulatorThatCannotStart() {
  LauncherFolder folder;
  folder.add_usual({"a.bin"}, "0");
  QFile::setPermissions(folder.path(QStringLiteral("orv")), QFile::ReadOwner | QFile::WriteOwner);
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  form1->Command2_Click();
  QCOMPARE(recorder.messages(),
           QStringList{QStringLiteral("Cannot start ") + folder.path(QStringLiteral("orv"))});
  QVERIFY(!form1->unloaded());
}

void Form1LaunchTest::escapeExitsAndSavesThePosition() {
  LauncherFolder folder;
  folder.add_usual({"a.bin", "b.bin", "c.bin"}, "0");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  form1->File1->setListIndex(2);
  QTest::keyClick(form1->File1, Qt::Key_Escape);
  QVERIFY(form1->unloaded());
  QVERIFY(!form1->isVisible());
  QCOMPARE(folder.read(QStringLiteral("vorbel.idx")), QByteArray(" 2 \r\n"));
  QCOMPARE(recorder.messages(), QStringList{});
}

QTEST_MAIN(Form1LaunchTest)
#include "form1_launch_test.moc"
