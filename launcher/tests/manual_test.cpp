// Manual files: base names, decoding and the size limit.

#include <QTemporaryDir>
#include <QTest>

#include "collection/manual.h"
#include "launcher_test_support.h"

class ManualTest : public QObject {
  Q_OBJECT

 private slots:
  void baseName_data();
  void baseName();
  void decoding_data();
  void decoding();
  void sizeLimit_data();
  void sizeLimit();
};

void ManualTest::baseName_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("base");
  QTest::newRow("plain") << "Pac-Man.bin"
                         << "Pac-Man";
  QTest::newRow("dot inside") << "Mr. Do!.bin"
                              << "Mr";
  QTest::newRow("long") << "Twelve_Chars.bin"
                        << "Twelve_Chars";
  QTest::newRow("leading dot") << ".bin"
                               << "";
}

void ManualTest::baseName() {
  QFETCH(QString, name);
  QFETCH(QString, base);
  QCOMPARE(base_name(name), base);
}

void ManualTest::decoding_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << "a\nb\n";
  QTest::newRow("bare LF and CR") << QByteArray("a\nb\rc") << "a\nb\nc";
  QTest::newRow("UTF-8") << QByteArray("Caf\xc3\xa9 \xe2\x80\x94") << QString::fromUtf8("Café —");
  QTest::newRow("UTF-8 mark dropped") << QByteArray("\xef\xbb\xbfhi") << "hi";
  QTest::newRow("Windows-1252") << QByteArray("Caf\xe9 \x80\x97\x9f")
                                << QString::fromUtf8("Café €—Ÿ");
  QTest::newRow("UTF-8 cut short is not UTF-8") << QByteArray("\xc3") << QString::fromUtf8("Ã");
}

void ManualTest::decoding() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  QCOMPARE(decode_manual(bytes), text);
}

void ManualTest::sizeLimit_data() {
  QTest::addColumn<qint64>("size");  // -1: no file
  QTest::addColumn<int>("outcome");
  QTest::newRow("missing") << qint64(-1) << int(Manual::Outcome::Missing);
  QTest::newRow("empty") << qint64(0) << int(Manual::Outcome::Shown);
  QTest::newRow("at the limit") << MANUAL_SIZE_LIMIT << int(Manual::Outcome::Shown);
  QTest::newRow("one over") << MANUAL_SIZE_LIMIT + 1 << int(Manual::Outcome::TooLarge);
}

void ManualTest::sizeLimit() {
  QFETCH(qint64, size);
  QFETCH(int, outcome);
  LauncherFolder folder;
  QString path;
  if (size >= 0) {
    folder.add_file(QStringLiteral("m.txt"), QByteArray(size, 'm'));
    path = folder.path(QStringLiteral("m.txt"));
  }
  const Manual manual = read_manual(path);
  QCOMPARE(int(manual.outcome), outcome);
  if (manual.outcome == Manual::Outcome::Shown) QCOMPARE(manual.text.size(), size);
}

QTEST_APPLESS_MAIN(ManualTest)
#include "manual_test.moc"
