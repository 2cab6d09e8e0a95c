// The list position file's text, both ways.

#include <QTest>

#include "main_window/position_file.h"

class PositionFileTest : public QObject {
  Q_OBJECT

 private slots:
  void written_data();
  void written();
  void read_data();
  void read();
};

void PositionFileTest::written_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<QByteArray>("text");
  QTest::newRow("none") << -1 << QByteArray("-1 \r\n");
  QTest::newRow("first") << 0 << QByteArray(" 0 \r\n");
  QTest::newRow("twelve") << 12 << QByteArray(" 12 \r\n");
}

void PositionFileTest::written() {
  QFETCH(int, index);
  QFETCH(QByteArray, text);
  QCOMPARE(position_text(index), text);
  QCOMPARE(parse_position(text), std::optional<int>(index));
}

void PositionFileTest::read_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<int>("index");  // -99: nothing usable
  QTest::newRow("bare number, no line end") << QByteArray("7") << 7;
  QTest::newRow("blanks and tab around") << QByteArray(" \t 7  \n") << 7;
  QTest::newRow("only the first line counts") << QByteArray("3\r\nabc\r\n") << 3;
  QTest::newRow("plus sign") << QByteArray("+4") << 4;
  QTest::newRow("16-bit limits") << QByteArray("-32768") << -32768;
  QTest::newRow("leading zeros") << QByteArray("0032767") << 32767;
  QTest::newRow("beyond 16 bits") << QByteArray("32768") << -99;
  QTest::newRow("far beyond") << QByteArray("99999999999999999999") << -99;
  QTest::newRow("empty") << QByteArray() << -99;
  QTest::newRow("empty first line") << QByteArray("\n5") << -99;
  QTest::newRow("word") << QByteArray("abc") << -99;
  QTest::newRow("blank inside") << QByteArray("1 2") << -99;
  QTest::newRow("sign alone") << QByteArray("-") << -99;
}

void PositionFileTest::read() {
  QFETCH(QByteArray, bytes);
  QFETCH(int, index);
  QCOMPARE(parse_position(bytes), index == -99 ? std::nullopt : std::optional<int>(index));
}

QTEST_APPLESS_MAIN(PositionFileTest)
#include "position_file_test.moc"
