// Form1 with the emulator that vorbel.ini names: the start-up check and its
// message, bad settings, and every name reaching a recording emulator as one
// argument, unchanged, without a shell.

#include <QDir>
#include <QTest>

#include "launcher_test_support.h"
#include "main_window/form1.h"
#include "main_window/start.h"
#include "main_window/texts.h"

namespace {

Emulator configured(const QString& program, const QStringList& arguments = {"%f"}) {
  Emulator emulator;
  emulator.configured = true;
  emulator.program = program;
  emulator.arguments = arguments;
  return emulator;
}

LauncherDirectories both(const LauncherFolder& folder) {
  return {folder.path(), folder.path()};
}

}  // namespace

class Form1EmulatorTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { drop_offscreen_warnings(); }
  void cleanup() { QDir::setCurrent(startDirectory_); }
  void startupCheck_data();
  void startupCheck();
  void namesReachTheEmulatorUnchanged_data();
  void namesReachTheEmulatorUnchanged();
  void templateWords();
  void pictureDoubleClickWithoutSelection();
  void badSettingsGiveAMessageAndStartNothing_data();
  void badSettingsGiveAMessageAndStartNothing();
  void fromVorbelIni();
  void withoutProgramTheDesignedOrv();

 private:
  QString startDirectory_ = QDir::currentPath();
};

void Form1EmulatorTest::startupCheck_data() {
  QTest::addColumn<QString>("program");  // RECORDER: the recorder's full path
  QTest::addColumn<QStringList>("messages");
  QTest::newRow("a name in the program directory") << "emu" << QStringList{};
  QTest::newRow("a name in other case") << "EMU" << QStringList{};
  QTest::newRow("a full path") << "RECORDER" << QStringList{};
  QTest::newRow("a relative path") << "./emu" << QStringList{};
  QTest::newRow("a name on the PATH") << "sh" << QStringList{};
  QTest::newRow("missing") << "vorbel-no-such-emulator"
                           << QStringList{"vorbel-no-such-emulator was not found."};
  QTest::newRow("a missing path") << "/nowhere/stella"
                                  << QStringList{"/nowhere/stella was not found."};
}

void Form1EmulatorTest::startupCheck() {
  QFETCH(QString, program);
  QFETCH(QStringList, messages);
  LauncherFolder folder;
  folder.add_usual({"a.bin"}, "-1");
  folder.add_recorder(QStringLiteral("emu"));
  if (program == QLatin1String("RECORDER")) program = folder.path(QStringLiteral("emu"));
  MessageRecorder recorder;
  auto form1 = start_form1(both(folder), configured(program));
  QVERIFY(!form1->unloaded());
  QCOMPARE(recorder.messages(), messages);
  QCOMPARE(form1->File1->isEnabled(), messages.isEmpty());
}

void Form1EmulatorTest::namesReachTheEmulatorUnchanged_data() {
  QTest::addColumn<QString>("name");
  QTest::newRow("plain") << "2048.a26";
  QTest::newRow("blanks") << "Space  Invaders (1980) (Atari).bin";
  QTest::newRow("quotes") << "It's \"Pitfall!\".bin";
  QTest::newRow("dollar") << "$HOME $(touch pwned) ${x}.bin";
  QTest::newRow("semicolon") << "a; touch pwned; b.bin";
  QTest::newRow("backquote, ampersand, pipe") << "`touch pwned` & x | y.a26";
  QTest::newRow("backslash, percent") << "back\\slash 100% %f %p.bin";
  QTest::newRow("leading dash, %f as ./name") << "-fullscreen.bin";
  QTest::newRow("UTF-8") << QString::fromUtf8("Pitfall Harry’s Dschungel – Grün (1982) 日本.bin");
}

void Form1EmulatorTest::namesReachTheEmulatorUnchanged() {
  QFETCH(QString, name);
  LauncherFolder folder;
  folder.add_usual({name}, "0");
  folder.add_recorder(QStringLiteral("emu"));
  MessageRecorder recorder;
  auto form1 = start_form1(both(folder), configured(QStringLiteral("emu"), {"%f", "%p"}));
  QTest::keyClick(form1.get(), Qt::Key_Return);
  QTRY_COMPARE(folder.records().size(), 1);
  const QString asFile = name.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + name : name;
  QCOMPARE(folder.records().first(),
           (QStringList{folder.path(), asFile, folder.path() + QLatin1Char('/') + name}));
  QVERIFY(!folder.exists(QStringLiteral("pwned")));
  QCOMPARE(recorder.messages(), QStringList{});
}

void Form1EmulatorTest::templateWords() {
  LauncherFolder folder;
  folder.add_usual({"a b.bin"}, "0");
  folder.add_recorder(QStringLiteral("emu"));
  MessageRecorder recorder;
  auto form1 = start_form1(
      both(folder),
      configured(QStringLiteral("emu"), {"-title", "My Game", "--rom=%f", "100%%", ""}));
  form1->Command2_Click();
  QTRY_COMPARE(folder.records().size(), 1);
  QCOMPARE(folder.records().first(),
           (QStringList{folder.path(), "-title", "My Game", "--rom=a b.bin", "100%", ""}));
}

void Form1EmulatorTest::pictureDoubleClickWithoutSelection() {
  // Before any selection the picture starts nothing, as for orv.
  LauncherFolder folder;
  folder.add_usual({"a.bin"}, "-1");
  folder.add_recorder(QStringLiteral("emu"));
  MessageRecorder recorder;
  auto form1 = start_form1(both(folder), configured(QStringLiteral("emu"), {"%f", "%p"}));
  form1->Open_DblClick();
  QTest::qWait(200);
  QCOMPARE(folder.records(), QList<QStringList>{});
}

void Form1EmulatorTest::badSettingsGiveAMessageAndStartNothing_data() {
  QTest::addColumn<QByteArray>("ini");
  QTest::addColumn<QString>("message");  // FOLDER: the folder message for Pics
  QTest::newRow("empty Program") << QByteArray("[Emulator]\nProgram=\n") << texts::PROGRAM_EMPTY;
  QTest::newRow("Program a folder, by path")
      << QByteArray("[Emulator]\nProgram=./Pics\n") << "FOLDER";
  QTest::newRow("Program a folder, by name")
      << QByteArray("[Emulator]\nProgram=pics\n") << "FOLDER";
  QTest::newRow("unbalanced quote") << QByteArray("[Emulator]\nProgram=emu\nArguments=\"%f\n")
                                    << texts::arguments_unbalanced(QStringLiteral("\"%f"));
}

void Form1EmulatorTest::badSettingsGiveAMessageAndStartNothing() {
  QFETCH(QByteArray, ini);
  QFETCH(QString, message);
  LauncherFolder folder;
  folder.add_usual({"a.bin"}, "0");
  folder.add_recorder(QStringLiteral("emu"));
  folder.add_picture(QStringLiteral("Pics/a.jpg"));
  folder.add_file(QStringLiteral("vorbel.ini"), ini);
  if (message == QLatin1String("FOLDER"))
    message = texts::program_is_folder(folder.path(QStringLiteral("Pics")));
  QDir::setCurrent(folder.path());
  MessageRecorder recorder;
  const LauncherStart start = prepare_start(folder.path(), QString(), {});
  QVERIFY(start.goOn);
  auto form1 = start_form1(start.directories, start.emulator);
  QCOMPARE(recorder.messages(), QStringList{message});
  QVERIFY(!form1->File1->isEnabled());
  // The restored entry can be played, as designed: it says the same again.
  recorder.clear();
  form1->Command2_Click();
  QCOMPARE(recorder.messages(), QStringList{message});
  QTest::qWait(100);
  QCOMPARE(folder.records(), QList<QStringList>{});
  QCOMPARE(folder.launches(), QStringList{});
}

void Form1EmulatorTest::fromVorbelIni() {
  // The README's vorbel.ini with the recorder in the place of stella (which
  // would be found on the PATH first).
  LauncherFolder folder;
  folder.add_usual({"2048.a26"}, "0");
  folder.add_recorder(QStringLiteral("recorder"));
  folder.add_file(QStringLiteral("vorbel.ini"), "[Emulator]\nProgram=recorder\nArguments=\"%f\"\n");
  QDir::setCurrent(folder.path());
  MessageRecorder recorder;
  const LauncherStart start = prepare_start(folder.path(), QString(), {});
  auto form1 = start_form1(start.directories, start.emulator);
  QTest::keyClick(form1.get(), Qt::Key_Return);
  QTRY_COMPARE(folder.records(), (QList<QStringList>{{folder.path(), "2048.a26"}}));
  QCOMPARE(folder.launches(), QStringList{});  // not orv
  QCOMPARE(recorder.messages(), QStringList{});
}

void Form1EmulatorTest::withoutProgramTheDesignedOrv() {
  LauncherFolder folder;
  folder.add_usual({"a.bin"}, "0");
  folder.add_file(QStringLiteral("vorbel.ini"), "[Emulator]\nArguments=-x %p\n");
  QDir::setCurrent(folder.path());
  MessageRecorder recorder;
  const LauncherStart start = prepare_start(folder.path(), QString(), {});
  auto form1 = start_form1(start.directories, start.emulator);
  form1->Command2_Click();
  QTRY_COMPARE(folder.launches(), QStringList{folder.path() + QStringLiteral("\n1\na.bin\n")});
  QCOMPARE(recorder.messages(), QStringList{});
}

QTEST_MAIN(Form1EmulatorTest)
#include "form1_emulator_test.moc"
