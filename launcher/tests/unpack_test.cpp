// What the collector's launcher unpacks and leaves: no member larger than
// a cartridge image, whatever the archive says of it, and no folder of an
// earlier run once that run is gone.

#include <QDataStream>
#include <QDir>
#include <QTest>
#include <csignal>

#include "collection/collection.h"
#include "launcher_test_support.h"
#include "platform/archive.h"
#include "platform/run_folders.h"
#include "platform/termination.h"

Q_DECLARE_METATYPE(Extraction)

namespace {

constexpr qint64 NO_SUCH_PROCESS = 2147483000;

// A ZIP of one deflated member whose headers state `stated` bytes (and no
// checksum), whatever `bytes` holds: what a hostile archive may say.
QByteArray zip_stating(const QByteArray& bytes, quint32 stated) {
  const QByteArray zlib = qCompress(bytes, 9);
  const QByteArray deflated = zlib.mid(6, zlib.size() - 10);  // no size, header, Adler-32
  const QByteArray name = "game.bin";
  QByteArray zip;
  QDataStream out(&zip, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  const auto fields = [&](bool central) {
    out << quint16(20) << quint16(0) << quint16(8) << quint32(0) << quint32(0)
        << quint32(deflated.size()) << stated << quint16(name.size()) << quint16(0);
    if (central) out << quint16(0) << quint16(0) << quint16(0) << quint32(0) << quint32(0);
    out.writeRawData(name.constData(), int(name.size()));
  };
  out << quint32(0x04034b50);
  fields(false);
  out.writeRawData(deflated.constData(), int(deflated.size()));
  const quint32 central = quint32(zip.size());
  out << quint32(0x02014b50) << quint16(20);
  fields(true);
  out << quint32(0x06054b50) << quint16(0) << quint16(0) << quint16(1) << quint16(1)
      << quint32(zip.size() - central) << central << quint16(0);
  return zip;
}

}  // namespace

class UnpackTest : public QObject {
  Q_OBJECT

 private slots:
  void noMemberLargerThanAnImage_data();
  void noMemberLargerThanAnImage();
  void foldersOfEndedRunsGo_data();
  void foldersOfEndedRunsGo();
  void terminationRunsOnTheLoop();
};

void UnpackTest::noMemberLargerThanAnImage_data() {
  QTest::addColumn<qint64>("size");
  QTest::addColumn<qint64>("stated");  // -1: the honest size, in an archive made by libarchive
  QTest::addColumn<Extraction>("result");
  QTest::newRow("an image") << qint64(4096) << qint64(-1) << Extraction::Done;
  QTest::newRow("the largest image") << LARGEST_IMAGE << qint64(-1) << Extraction::Done;
  QTest::newRow("stated larger") << LARGEST_IMAGE + 1 << qint64(-1) << Extraction::TooLarge;
  QTest::newRow("stated 4 KiB, 8 MiB inside")
      << qint64(8 << 20) << qint64(4096) << Extraction::TooLarge;
}

void UnpackTest::noMemberLargerThanAnImage() {
  QFETCH(qint64, size);
  QFETCH(qint64, stated);
  QFETCH(Extraction, result);
  LauncherFolder folder;
  const QByteArray bytes(size, '\0');
  if (stated < 0)
    folder.add_archive("a.zip", {{"game.bin", bytes}});
  else
    folder.add_file("a.zip", zip_stating(bytes, quint32(stated)));
  const QString target = folder.path("out/game.bin");
  QDir().mkpath(folder.path("out"));
  QCOMPARE(extract_member(folder.path("a.zip"), "game.bin", target, LARGEST_IMAGE), result);
  QCOMPARE(folder.read("out/game.bin"), result == Extraction::Done ? bytes : QByteArray());
  QCOMPARE(QDir(folder.path("out")).isEmpty(), result != Extraction::Done);
}

void UnpackTest::foldersOfEndedRunsGo_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("kind");  // folder, file or link (to a folder)
  QTest::addColumn<bool>("removed");
  const QString ended = QString::number(NO_SUCH_PROCESS);
  const QString running = QString::number(QCoreApplication::applicationPid());
  QTest::newRow("its run ended") << "vorbel-" + ended + "-Ab12Cd"
                                 << "folder" << true;
  QTest::newRow("its run goes on") << "vorbel-" + running + "-Ab12Cd"
                                   << "folder" << false;
  QTest::newRow("not quite the name") << "vorbel-" + ended + "-Ab12C"
                                      << "folder" << false;
  QTest::newRow("another program's") << "other-" + ended + "-Ab12Cd"
                                     << "folder" << false;
  QTest::newRow("a file") << "vorbel-" + ended + "-Ab12Cd"
                          << "file" << false;
  QTest::newRow("a link") << "vorbel-" + ended + "-Ab12Cd"
                          << "link" << false;
}

void UnpackTest::foldersOfEndedRunsGo() {
  QFETCH(QString, name);
  QFETCH(QString, kind);
  QFETCH(bool, removed);
  LauncherFolder temp;
  temp.add_file("elsewhere/keep.bin", "x");
  if (kind == "folder") temp.add_file(name + "/game.bin", "x");
  if (kind == "file") temp.add_file(name, "x");
  if (kind == "link") QVERIFY(QFile::link(temp.path("elsewhere"), temp.path(name)));
  QCOMPARE(remove_abandoned_run_folders("vorbel", temp.path()), removed ? 1 : 0);
  QCOMPARE(QFileInfo::exists(temp.path(name)), !removed);
  QVERIFY(temp.exists("elsewhere/keep.bin"));
}

void UnpackTest::terminationRunsOnTheLoop() {
#ifdef Q_OS_WIN
  QSKIP("Windows has no SIGHUP; a window program is asked to close instead");
#else
  bool asked = false;
  QObject context;
  on_termination_request(&context, [&asked] { asked = true; });
  std::raise(SIGHUP);
  QTRY_VERIFY(asked);
#endif
}

QTEST_MAIN(UnpackTest)
#include "unpack_test.moc"
