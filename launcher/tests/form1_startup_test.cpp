// Form1's start-up checks, title, counter and list position, from the first
// message to the bytes of vorbel.idx after closing.

#include <QFile>
#include <QTest>

#include "launcher_test_support.h"
#include "main_window/form1.h"
#include "main_window/texts.h"

namespace {

const QString ORV_MISSING = QStringLiteral("orv was not found.");
const QByteArray NO_FILE;  // null: the file is (or must be) absent
const QByteArray FIXED = "-1 \r\n";
const QStringList FIVE = {"a.bin", "b.bin", "c.bin", "d.bin", "e.bin"};

}  // namespace

class Form1StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { drop_offscreen_warnings(); }
  void startsAndCloses_data();
  void startsAndCloses();
  void invalidPositionIsFixedForTheNextStart();
  void namesAreFoundWithoutRegardToCase();
  void programDirectoryEndingInASeparator();
  void positionThatCannotBeWrittenAtClose();
  void activationSetsTitleCounterAndPlay();
};

void Form1StartupTest::startsAndCloses_data() {
  QTest::addColumn<QStringList>("images");
  QTest::addColumn<bool>("emulator");
  QTest::addColumn<bool>("fallback");
  QTest::addColumn<QByteArray>("position");
  QTest::addColumn<QStringList>("messages");  // from start to close
  QTest::addColumn<bool>("running");          // start-up went through
  QTest::addColumn<int>("selected");
  QTest::addColumn<QString>("counter");
  QTest::addColumn<QByteArray>("positionAfter");

  const QStringList one = {"a.bin"};
  QTest::newRow("no position file")
      << one << true << true << NO_FILE
      << QStringList{texts::POSITION_NOT_SET, texts::POSITION_NOT_SAVED} << true << -1 << "0/1"
      << NO_FILE;
  QTest::newRow("no images, no position file")
      << QStringList{} << true << true << NO_FILE
      << QStringList{texts::NO_IMAGES, texts::POSITION_NOT_SAVED} << false << -1 << "" << NO_FILE;
  QTest::newRow("no emulator, no fallback picture")
      << one << false << false << QByteArray("0")
      << QStringList{ORV_MISSING, texts::NO_FALLBACK_PICTURE} << false << -1 << "" << FIXED;
  QTest::newRow("no emulator, valid position")
      << FIVE << false << true << QByteArray("1\r\n") << QStringList{ORV_MISSING} << true << 1
      << "2/5" << QByteArray(" 1 \r\n");
  QTest::newRow("position 2") << FIVE << true << true << QByteArray("2") << QStringList{} << true
                              << 2 << "3/5" << QByteArray(" 2 \r\n");
  QTest::newRow("position 2 between blanks, LF")
      << FIVE << true << true << QByteArray("  2  \nrest") << QStringList{} << true << 2 << "3/5"
      << QByteArray(" 2 \r\n");
  QTest::newRow("position -1") << FIVE << true << true << QByteArray("-1 \r\n") << QStringList{}
                               << true << -1 << "0/5" << FIXED;
  QTest::newRow("no images, position 4")
      << QStringList{} << true << true << QByteArray(" 4 \r\n") << QStringList{texts::NO_IMAGES}
      << false << -1 << "" << FIXED;
  const std::pair<const char*, QByteArray> invalid[] = {{"empty", ""},
                                                        {"empty line", "\r\n"},
                                                        {"a word", "abc"},
                                                        {"beyond 16 bits", "70000"},
                                                        {"-2", "-2"},
                                                        {"the entry count", "5"},
                                                        {"trailing letter", "2x"},
                                                        {"fraction", "1.5"}};
  for (const auto& [name, bytes] : invalid) {
    QTest::newRow(qPrintable(QStringLiteral("invalid: %1").arg(QLatin1String(name))))
        << FIVE << true << true << bytes << QStringList{texts::POSITION_INVALID} << false << -1
        << "" << FIXED;
  }
}

void Form1StartupTest::startsAndCloses() {
  QFETCH(QStringList, images);
  QFETCH(bool, emulator);
  QFETCH(bool, fallback);
  QFETCH(QByteArray, position);
  QFETCH(QStringList, messages);
  QFETCH(bool, running);
  QFETCH(int, selected);
  QFETCH(QString, counter);
  QFETCH(QByteArray, positionAfter);

  LauncherFolder folder;
  folder.add_images(images);
  if (emulator) folder.add_emulator();
  if (fallback) folder.add_picture(QStringLiteral("Default.jpg"));
  if (!position.isNull()) folder.add_file(QStringLiteral("vorbel.idx"), position);

  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  QCOMPARE(!form1->unloaded(), running);
  if (running) {
    QCOMPARE(form1->File1->listIndex(), selected);
    QCOMPARE(form1->windowTitle(), texts::title(images.size()));
    QCOMPARE(form1->Label5->text(), counter);
    QCOMPARE(form1->Command2->isEnabled(), selected >= 0);
    QCOMPARE(form1->File1->isEnabled(), emulator);
    form1->close();
  }
  QVERIFY(form1->unloaded());
  QCOMPARE(recorder.messages(), messages);
  QCOMPARE(folder.exists(QStringLiteral("vorbel.idx")), !positionAfter.isNull());
  if (!positionAfter.isNull()) QCOMPARE(folder.read(QStringLiteral("vorbel.idx")), positionAfter);
}

void Form1StartupTest::invalidPositionIsFixedForTheNextStart() {
  LauncherFolder folder;
  folder.add_usual(FIVE, "abc");
  MessageRecorder recorder;
  QVERIFY(start_form1(folder)->unloaded());
  recorder.clear();

  auto form1 = start_form1(folder);
  QVERIFY(!form1->unloaded());
  QCOMPARE(form1->File1->listIndex(), -1);
  QCOMPARE(recorder.messages(), QStringList{});
}

void Form1StartupTest::namesAreFoundWithoutRegardToCase() {
  LauncherFolder folder;
  folder.add_images({"B.BIN", "a.Bin", "c.bin", ".hidden.bin", "notes.txt"});
  folder.add_emulator(QStringLiteral("ORV"));
  folder.add_picture(QStringLiteral("default.JPG"));
  folder.add_file(QStringLiteral("VORBEL.IDX"), "1");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  QCOMPARE(recorder.messages(), QStringList{});
  QCOMPARE(form1->File1->count(), 3);
  QCOMPARE(form1->File1->item(0)->text(), QStringLiteral("a.Bin"));
  QCOMPARE(form1->File1->selectedName(), QStringLiteral("B.BIN"));
  QVERIFY(form1->File1->isEnabled());
  form1->File1->setListIndex(2);
  form1->close();
  QCOMPARE(folder.read(QStringLiteral("VORBEL.IDX")), QByteArray(" 2 \r\n"));
  QVERIFY(!folder.exists(QStringLiteral("vorbel.idx")));
}

void Form1StartupTest::programDirectoryEndingInASeparator() {
  LauncherFolder folder;
  folder.add_usual({"a.bin", "b.bin"}, "1");
  MessageRecorder recorder;
  auto form1 = start_form1(folder.path() + QLatin1Char('/'), folder.path());
  QCOMPARE(recorder.messages(), QStringList{});
  QCOMPARE(form1->File1->listIndex(), 1);
  form1->File1->setListIndex(0);
  form1->close();
  QCOMPARE(folder.read(QStringLiteral("vorbel.idx")), QByteArray(" 0 \r\n"));
}

void Form1StartupTest::positionThatCannotBeWrittenAtClose() {
  LauncherFolder folder;
  folder.add_usual({"a.bin"}, "0");
  MessageRecorder recorder;
  auto form1 = start_form1(folder);
  QCOMPARE(form1->File1->listIndex(), 0);
  // A position file that opens for writing but refuses every byte.
  QVERIFY(QFile::remove(folder.path(QStringLiteral("vorbel.idx"))));
  QVERIFY(QFile::link(QStringLiteral("/proc/version"), folder.path(QStringLiteral("vorbel.idx"))));
  form1->close();
  QVERIFY(form1->unloaded());
  QCOMPARE(recorder.messages(), QStringList{});
}

void Form1StartupTest::activationSetsTitleCounterAndPlay() {
  LauncherFolder folder;
  folder.add_usual({"a.bin", "b.bin"}, "-1");
  MessageRecorder recorder;
  auto form1 = std::make_unique<Form1>(LauncherDirectories{folder.path(), folder.path()});
  form1->Form_Load();
  // Before the first activation the title is the plain name and Play is as
  // designed; showing the window activates it.
  QCOMPARE(form1->windowTitle(), QStringLiteral("vorbel"));
  QVERIFY(form1->Command2->isEnabled());
  form1->show();
  QVERIFY(QTest::qWaitForWindowActive(form1.get()));
  QCOMPARE(form1->windowTitle(), QStringLiteral(" vorbel - 2 roms listed"));
  QCOMPARE(form1->Label5->text(), QStringLiteral("0/2"));
  QVERIFY(!form1->Command2->isEnabled());
  form1->File1->setListIndex(1);
  QVERIFY(form1->Command2->isEnabled());
  QCOMPARE(form1->Label5->text(), QStringLiteral("2/2"));
  form1->Form_Activate();  // activation never disables Play once selected
  QVERIFY(form1->Command2->isEnabled());
}

QTEST_MAIN(Form1StartupTest)
#include "form1_startup_test.moc"
