// Before the window: vorbel.ini found and read, the emulator it names, the
// folder vorbel is started on, and where vorbel.idx goes.

#include <QDir>
#include <QStandardPaths>
#include <QTest>

#include "collection/settings_file.h"
#include "launcher_test_support.h"
#include "main_window/start.h"
#include "main_window/texts.h"
#include "platform/files.h"

namespace {

const QByteArray STELLA_INI = "[Emulator]\nProgram=stella\nArguments=\"%f\"\n";

}  // namespace

class StartTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanup();
  void settingsFromTheProgramDirectoryElseTheConfigurationFolder();
  void configurationFolder();
  void emulatorFromSettings_data();
  void emulatorFromSettings();
  void unusableSettings_data();
  void unusableSettings();
  void positionFolder_data();
  void positionFolder();
  void withoutSettingsOrFolderAsDesigned();
  void folderArgument();
  void folderFromTheConfigurationFolder();
  void settingsOfTheFolderNeverNameAProgram_data();
  void settingsOfTheFolderNeverNameAProgram();
  void folderThatCannotBeOpened_data();
  void folderThatCannotBeOpened();
  void positionBesideTheSettingsOfAReadOnlyProgramDirectory();

 private:
  QString startDirectory_;
};

void StartTest::initTestCase() {
  QCoreApplication::setApplicationName(QStringLiteral("vorbel"));
  startDirectory_ = QDir::currentPath();
}

void StartTest::cleanup() {
  QDir::setCurrent(startDirectory_);
}

void StartTest::settingsFromTheProgramDirectoryElseTheConfigurationFolder() {
  LauncherFolder program;
  LauncherFolder config;
  QCOMPARE(find_settings(program.path(), config.path()), QString());
  config.add_file(QStringLiteral("vorbel.ini"));
  QCOMPARE(find_settings(program.path(), config.path()), config.path(QStringLiteral("vorbel.ini")));
  program.add_file(QStringLiteral("VORBEL.INI"));
  QCOMPARE(find_settings(program.path(), config.path()),
           program.path(QStringLiteral("VORBEL.INI")));
  QCOMPARE(find_settings(program.path(), QString()), program.path(QStringLiteral("VORBEL.INI")));
}

void StartTest::configurationFolder() {
  LauncherFolder home;
  const QByteArray before = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
  QCOMPARE(config_directory(), home.path(QStringLiteral("vorbel")));
  qputenv("XDG_CONFIG_HOME", before);
}

void StartTest::emulatorFromSettings_data() {
  QTest::addColumn<QByteArray>("ini");
  QTest::addColumn<bool>("configured");
  QTest::addColumn<QString>("program");
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("problem");

  QTest::newRow("stella") << STELLA_INI << true << "stella" << QStringList{"%f"} << "";
  QTest::newRow("no Arguments: %f")
      << QByteArray("[Emulator]\nProgram=stella\n") << true << "stella" << QStringList{"%f"} << "";
  QTest::newRow("CR LF, blanks, a comment line; a ; in a value is the value's")
      << QByteArray(
             "; mine\r\n[Emulator]\r\n Program = /opt/a;b/stella \r\n"
             "  ; Arguments=-x\r\nArguments = -fullscreen 0 %p ;the path\r\n")
      << true << "/opt/a;b/stella" << QStringList{"-fullscreen", "0", "%p", ";the", "path"} << "";
  QTest::newRow("quotes are the split's")
      << QByteArray("[Emulator]\nProgram=\"/opt/My Emu/emu\"\nArguments=-title \"My Game\" '%f'\n")
      << true << "/opt/My Emu/emu" << QStringList{"-title", "My Game", "%f"} << "";
  QTest::newRow("the last Arguments counts")
      << QByteArray(
             "[Emulator]\nArguments=a\nProgram=x\n[List]\nArguments=b\n[Emulator]\n"
             "Arguments=c %f\n")
      << true << "x" << QStringList{"c", "%f"} << "";
  QTest::newRow("empty Arguments: none")
      << QByteArray("[Emulator]\nProgram=x\nArguments=\n") << true << "x" << QStringList{} << "";
  QTest::newRow("no Program: orv")
      << QByteArray("[Emulator]\nArguments=-x %f\n") << false << "" << QStringList{} << "";
  QTest::newRow("Program elsewhere: orv")
      << QByteArray("Program=stella\n[emulator]\nprogram=stella\n") << false << "" << QStringList{}
      << "";
  QTest::newRow("empty file: orv") << QByteArray("") << false << "" << QStringList{} << "";
  QTest::newRow("empty Program") << QByteArray("[Emulator]\nProgram=\nArguments=%f\n") << true << ""
                                 << QStringList{} << texts::PROGRAM_EMPTY;
  QTest::newRow("blank Program") << QByteArray("[Emulator]\nProgram=\"  \"\n") << true << ""
                                 << QStringList{} << texts::PROGRAM_EMPTY;
  QTest::newRow("unbalanced double quote")
      << QByteArray("[Emulator]\nProgram=stella\nArguments=\"%f\n") << true << "stella"
      << QStringList{} << texts::arguments_unbalanced(QStringLiteral("\"%f"));
  QTest::newRow("unbalanced single quote")
      << QByteArray("[Emulator]\nProgram=stella\nArguments=-x '%f\n") << true << "stella"
      << QStringList{} << texts::arguments_unbalanced(QStringLiteral("-x '%f"));
}

void StartTest::emulatorFromSettings() {
  QFETCH(QByteArray, ini);
  QFETCH(bool, configured);
  QFETCH(QString, program);
  QFETCH(QStringList, arguments);
  QFETCH(QString, problem);
  LauncherFolder folder;
  folder.add_file(QStringLiteral("vorbel.ini"), ini);
  const IniFile settings(folder.path(QStringLiteral("vorbel.ini")));
  QCOMPARE(settings.status(), IniFile::Status::Read);
  const Emulator emulator = emulator_from(settings);
  QCOMPARE(emulator.configured, configured);
  QCOMPARE(emulator.program, program);
  QCOMPARE(emulator.arguments, arguments);
  QCOMPARE(emulator.problem, problem);
}

void StartTest::unusableSettings_data() {
  QTest::addColumn<QByteArray>("ini");
  QTest::addColumn<QString>("badLine");
  QTest::newRow("garbage") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                           << QString::fromUtf8("line 1: \xEF\xBF\xBDPNG");
  QTest::newRow("words") << QByteArray("stella please\n") << "line 1: stella please";
  QTest::newRow("a # comment") << QByteArray("# mine\n[Emulator]\nProgram=stella\n")
                               << "line 1: # mine";
  QTest::newRow("an open section")
      << QByteArray("[Emulator\nProgram=stella\n") << "line 1: [Emulator";
}

void StartTest::unusableSettings() {
  QFETCH(QByteArray, ini);
  QFETCH(QString, badLine);
  LauncherFolder program;
  program.add_usual({"a.bin"});
  program.add_file(QStringLiteral("vorbel.ini"), ini);
  QDir::setCurrent(program.path());
  MessageRecorder recorder;
  const LauncherStart start = prepare_start(program.path(), QString(), {});
  const QString path = program.path(QStringLiteral("vorbel.ini"));
  QCOMPARE(recorder.messages(), QStringList{texts::settings_malformed(path, badLine)});
  QVERIFY(recorder.messages().first().startsWith(path + QStringLiteral(" is not an INI file")));
  // vorbel goes on without it: the designed orv, the designed directories.
  QVERIFY(start.goOn);
  QVERIFY(!start.emulator.configured);
  QCOMPARE(start.directories.list, program.path());
  QCOMPARE(start.directories.startup_folder(), program.path());
}

void StartTest::positionFolder_data() {
  QTest::addColumn<QString>("settings");
  QTest::addColumn<bool>("writable");
  QTest::addColumn<QString>("position");
  QTest::newRow("writable, no settings") << "" << true << "/prog";
  QTest::newRow("writable, settings") << "/home/u/.config/vorbel" << true << "/prog";
  QTest::newRow("read-only, settings")
      << "/home/u/.config/vorbel" << false << "/home/u/.config/vorbel";
  QTest::newRow("read-only, no settings") << "" << false << "/prog";
}

void StartTest::positionFolder() {
  QFETCH(QString, settings);
  QFETCH(bool, writable);
  QFETCH(QString, position);
  QCOMPARE(position_folder(QStringLiteral("/prog"), settings, writable), position);
}

void StartTest::withoutSettingsOrFolderAsDesigned() {
  LauncherFolder program;
  LauncherFolder list;
  LauncherFolder config;
  QDir::setCurrent(list.path());
  MessageRecorder recorder;
  const LauncherStart start = prepare_start(program.path(), config.path(), {});
  QVERIFY(start.goOn);
  QCOMPARE(recorder.messages(), QStringList{});
  QVERIFY(!start.emulator.configured);
  QCOMPARE(start.directories.program, program.path());
  QCOMPARE(start.directories.list, list.path());
  QCOMPARE(start.directories.startup_folder(), program.path());
  QCOMPARE(start.directories.position_folder(), program.path());
  QCOMPARE(QDir::currentPath(), list.path());
}

void StartTest::folderArgument() {
  LauncherFolder program;
  LauncherFolder roms;
  program.add_file(QStringLiteral("vorbel.ini"), STELLA_INI + "[List]\nFolder=/nowhere\n");
  MessageRecorder recorder;
  const LauncherStart start = prepare_start(program.path(), QString(), {roms.path()});
  QVERIFY(start.goOn);
  QCOMPARE(recorder.messages(), QStringList{});
  QCOMPARE(QDir::currentPath(), roms.path());  // the argument wins over Folder=
  QCOMPARE(start.directories.list, roms.path());
  QCOMPARE(start.directories.startup_folder(), roms.path());
  QCOMPARE(start.directories.program, program.path());
  QCOMPARE(start.directories.position_folder(), program.path());
  QCOMPARE(start.emulator.program, QStringLiteral("stella"));
}

void StartTest::folderFromTheConfigurationFolder() {
  LauncherFolder program;
  LauncherFolder config;
  config.add_images({"roms/a.bin"});
  config.add_file(QStringLiteral("vorbel.ini"), STELLA_INI + "[List]\nFolder=roms\n");
  MessageRecorder recorder;
  const LauncherStart start = prepare_start(program.path(), config.path(), {});
  QVERIFY(start.goOn);
  QCOMPARE(recorder.messages(), QStringList{});
  QCOMPARE(start.directories.list, config.path(QStringLiteral("roms")));
  QCOMPARE(start.directories.startup_folder(), config.path(QStringLiteral("roms")));
  QVERIFY(start.emulator.configured);
}

void StartTest::settingsOfTheFolderNeverNameAProgram_data() {
  QTest::addColumn<QByteArray>("programIni");  // beside vorbel; empty: none
  QTest::addColumn<QString>("program");        // the emulator set; empty: none
  QTest::addColumn<QStringList>("archives");
  QTest::newRow("the folder's alone") << QByteArray() << "" << QStringList{"7z"};
  QTest::newRow("beside vorbel, and the folder's")
      << QByteArray("[Emulator]\nProgram=stella\nArguments=%p\n") << "stella" << QStringList{"7z"};
  QTest::newRow("beside vorbel wins")
      << QByteArray("[Emulator]\nArchives=zip\n") << "" << QStringList{"zip"};
}

void StartTest::settingsOfTheFolderNeverNameAProgram() {
  QFETCH(QByteArray, programIni);
  QFETCH(QString, program);
  QFETCH(QStringList, archives);
  LauncherFolder vorbel;
  LauncherFolder roms;
  if (!programIni.isEmpty()) vorbel.add_file(QStringLiteral("vorbel.ini"), programIni);
  roms.add_file(QStringLiteral("vorbel.ini"),
                "[Emulator]\nProgram=/bin/sh\nArguments=-c evil\nArchives=7z\n");
  MessageRecorder recorder;
  const LauncherStart start = prepare_start(vorbel.path(), QString(), {roms.path()});
  QVERIFY(start.goOn && start.collector);
  QCOMPARE(start.emulator.program, program);
  QVERIFY(!start.emulator.arguments.contains(QStringLiteral("evil")));
  QCOMPARE(start.emulator.archives, archives);
  // Without an emulator, the start-up message names what was read.
  QCOMPARE(start.emulator.unsetNote.contains(roms.path(QStringLiteral("vorbel.ini"))),
           program.isEmpty());
}

void StartTest::folderThatCannotBeOpened_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("message");
  QTest::newRow("missing") << QStringList{"/no/such/folder"}
                           << texts::folder_unusable(QStringLiteral("/no/such/folder"));
  QTest::newRow("a file") << QStringList{"FILE"} << "FILE";
  QTest::newRow("two") << QStringList{"a", "b"} << texts::ONE_FOLDER;
}

void StartTest::folderThatCannotBeOpened() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, message);
  LauncherFolder program;
  program.add_file(QStringLiteral("a.bin"));
  if (arguments.first() == QLatin1String("FILE")) {
    arguments = {program.path(QStringLiteral("a.bin"))};
    message = texts::folder_unusable(arguments.first());
  }
  MessageRecorder recorder;
  QVERIFY(!prepare_start(program.path(), QString(), arguments).goOn);
  QCOMPARE(recorder.messages(), QStringList{message});
  QCOMPARE(QDir::currentPath(), startDirectory_);
}

void StartTest::positionBesideTheSettingsOfAReadOnlyProgramDirectory() {
  // As installed: the program in a folder the user cannot write (here one
  // no user can), vorbel.ini and vorbel.idx in the configuration folder.
  QString readOnly;
  for (const QString& folder : {QStringLiteral("/proc/sys"), QStringLiteral("/proc")}) {
    if (readOnly.isEmpty() && is_folder(folder) && !is_writable_folder(folder)) readOnly = folder;
  }
  if (readOnly.isEmpty()) QSKIP("no folder here that this user cannot write (/proc/sys, /proc)");
  LauncherFolder config;
  LauncherFolder roms;
  config.add_file(QStringLiteral("vorbel.ini"), "[List]\nFolder=" + roms.path().toUtf8() + "\n");
  MessageRecorder recorder;
  const LauncherStart start = prepare_start(readOnly, config.path(), {});
  QVERIFY(start.goOn);
  QCOMPARE(start.directories.position_folder(), config.path());
  QCOMPARE(start.directories.list, roms.path());
}

QTEST_MAIN(StartTest)
#include "start_test.moc"
