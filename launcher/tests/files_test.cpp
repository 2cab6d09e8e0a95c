// Look-ups without regard to case, and the list's names.

#include <QDir>
#include <QFile>
#include <QTest>

#include "launcher_test_support.h"
#include "platform/files.h"

class FilesTest : public QObject {
  Q_OBJECT

 private slots:
  void listHoldsNormalVisibleMatchingFilesInOrder();
  void firstMatch();
  void findFileMatchesEveryPart();
};

void FilesTest::listHoldsNormalVisibleMatchingFilesInOrder() {
  LauncherFolder folder;
  folder.add_images({"b.bin", "A.BIN", "a.bin", "c.Bin", ".hidden.bin", "x.bin.txt", "bin"});
  QDir(folder.path()).mkdir(QStringLiteral("folder.bin"));
  QVERIFY(
      QFile::link(folder.path(QStringLiteral("b.bin")), folder.path(QStringLiteral("link.bin"))));
  QCOMPARE(list_files(folder.path(), QStringLiteral("*.bin")),
           (QStringList{"A.BIN", "a.bin", "b.bin", "c.Bin", "link.bin"}));
  QCOMPARE(list_files(folder.path(QStringLiteral("missing")), QStringLiteral("*.bin")),
           QStringList{});
}

void FilesTest::firstMatch() {
  LauncherFolder folder;
  folder.add_images({"Zork.BIN", "DEFAULT.JPG", "default.jpg"});
  QDir(folder.path()).mkdir(QStringLiteral("orv"));
  QCOMPARE(first_match(folder.path(), QStringLiteral("*.bin")), QStringLiteral("Zork.BIN"));
  QCOMPARE(first_match(folder.path(), QStringLiteral("Default.jpg")),
           QStringLiteral("DEFAULT.JPG"));
  QCOMPARE(first_match(folder.path(), QStringLiteral("default.jpg")),
           QStringLiteral("default.jpg"));
  QCOMPARE(first_match(folder.path(), QStringLiteral("orv")), QString());  // a folder
  QCOMPARE(first_match(folder.path(), QStringLiteral("*.a26")), QString());
}

void FilesTest::findFileMatchesEveryPart() {
  LauncherFolder folder;
  folder.add_images({"PICS/Pitfall!.JPG", "Text/a.txt"});
  QCOMPARE(find_file(folder.path(), QStringLiteral("Pics/PITFALL!.jpg")),
           folder.path(QStringLiteral("PICS/Pitfall!.JPG")));
  QCOMPARE(find_file(folder.path(), QStringLiteral("Text/*.txt")), QString());  // no patterns
  QCOMPARE(find_file(folder.path(), QStringLiteral("Text")), QString());        // a folder
  QCOMPARE(find_file(folder.path(), QStringLiteral("Pics/missing.jpg")), QString());
}

QTEST_APPLESS_MAIN(FilesTest)
#include "files_test.moc"
