// The collector's launcher on a real X server (run under xvfb-run, platform
// xcb), with the sample vorbel.ini's Arguments and Archives and a recording
// emulator: a 7z image is unpacked into a private folder that goes with
// vorbel, a ZIP is passed as it is, and "-help.bin" arrives as a file.

#include <QFileInfo>
#include <QTest>

#include "collection/settings_file.h"
#include "launcher_test_support.h"
#include "main_window/form1.h"
#include "main_window/start.h"

class XvfbArchives : public QObject {
  Q_OBJECT

 private slots:
  void archivesReachTheEmulator();
};

void XvfbArchives::archivesReachTheEmulator() {
  QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
  LauncherFolder folder;
  const QByteArray image = cartridge_image();
  folder.add_archive("Atari/Combat (1977) (Atari).7z", {{"Combat.a26", image}});
  folder.add_archive("Pitfall! (1982) (Activision).zip", {{"Pitfall!.bin", image}});
  folder.add_images({"-help.bin"});
  folder.add_recorder(QStringLiteral("emu"));
  Emulator emulator = emulator_from(IniFile(QStringLiteral(SAMPLE_SETTINGS)));
  QCOMPARE(emulator.program, QStringLiteral("stella"));
  emulator.program = folder.path(QStringLiteral("emu"));

  auto form1 = start_form1({folder.path(), folder.path()}, emulator, true);
  QVERIFY(QTest::qWaitForWindowExposed(form1.get()));
  QStringList given;
  for (int row = 0; row < 3; ++row) {
    form1->File1->setFocus();
    form1->File1->setListIndex(row);
    QTest::keyClick(form1->File1, Qt::Key_Return);
    QTRY_COMPARE(folder.records().size(), row + 1);
    for (const QStringList& record : folder.records()) {
      if (!given.contains(record.value(1))) given.append(record.value(1));
    }
  }
  QCOMPARE(given[0], folder.path(QStringLiteral("-help.bin")));
  const QString unpacked = given[1];
  QVERIFY2(!unpacked.startsWith(folder.path()) && unpacked.endsWith(QLatin1String("/Combat.a26")),
           qPrintable(unpacked));
  QFile file(unpacked);
  QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == image);
  QCOMPARE(given[2], folder.path(QStringLiteral("Pitfall! (1982) (Activision).zip")));
  form1.reset();
  QVERIFY(!QFileInfo::exists(QFileInfo(unpacked).path()));
}

QTEST_MAIN(XvfbArchives)
#include "xvfb_archives.moc"
