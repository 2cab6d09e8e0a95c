// The argument template of vorbel.ini: split into words as a shell would,
// then %f, %p and %% filled in.

#include <QTest>

#include "main_window/emulator.h"

class EmulatorTest : public QObject {
  Q_OBJECT

 private slots:
  void splitTemplate_data();
  void splitTemplate();
  void unbalancedQuotes_data();
  void unbalancedQuotes();
  void fillTemplate_data();
  void fillTemplate();
};

void EmulatorTest::splitTemplate_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("words");
  QTest::newRow("the default") << "%f" << QStringList{"%f"};
  QTest::newRow("empty") << "" << QStringList{};
  QTest::newRow("blanks only") << " \t " << QStringList{};
  QTest::newRow("double quotes") << "\"%f\"" << QStringList{"%f"};
  QTest::newRow("words and blanks")
      << "  -fullscreen 1\t%f  " << QStringList{"-fullscreen", "1", "%f"};
  QTest::newRow("a quoted blank") << "-title \"My Game\" %f"
                                  << QStringList{"-title", "My Game", "%f"};
  QTest::newRow("single quotes keep all") << "'a \"b\" \\c $d'" << QStringList{"a \"b\" \\c $d"};
  QTest::newRow("escapes in double quotes")
      << "\"\\\" \\\\ \\$ \\` \\n\"" << QStringList{"\" \\ $ ` \\n"};
  QTest::newRow("backslash outside quotes") << "a\\ b \\'c" << QStringList{"a b", "'c"};
  QTest::newRow("pieces join") << "--rom=\"%f\"'!'x" << QStringList{"--rom=%f!x"};
  QTest::newRow("empty words") << "\"\" ''" << QStringList{"", ""};
  QTest::newRow("a trailing backslash") << "a\\" << QStringList{"a\\"};
  QTest::newRow("no expansion") << "$HOME ~ * ;rm `x`"
                                << QStringList{"$HOME", "~", "*", ";rm", "`x`"};
}

void EmulatorTest::splitTemplate() {
  QFETCH(QString, text);
  QFETCH(QStringList, words);
  const std::optional<QStringList> split = split_template(text);
  QVERIFY(split);
  QCOMPARE(*split, words);
}

void EmulatorTest::unbalancedQuotes_data() {
  QTest::addColumn<QString>("text");
  QTest::newRow("double quote opened") << "\"%f";
  QTest::newRow("double quote closed only") << "%f\"";
  QTest::newRow("single quote") << "'%f";
  QTest::newRow("escaped closing quote") << "\"%f\\\"";
  QTest::newRow("single inside double, double left open") << "\"'\" \"";
}

void EmulatorTest::unbalancedQuotes() {
  QFETCH(QString, text);
  QVERIFY(!split_template(text));
}

void EmulatorTest::fillTemplate_data() {
  QTest::addColumn<QStringList>("words");
  QTest::addColumn<QStringList>("filled");
  const QString name = QStringLiteral("It's \"$HOME\"; a %p.bin");
  QTest::newRow("name") << QStringList{"%f"} << QStringList{name};
  QTest::newRow("path") << QStringList{"%p"} << QStringList{"/roms/" + name};
  QTest::newRow("percent") << QStringList{"100%%", "%%f"} << QStringList{"100%", "%f"};
  QTest::newRow("inside a word") << QStringList{"--rom=%f", "-p%p"}
                                 << QStringList{"--rom=" + name, "-p/roms/" + name};
  QTest::newRow("twice") << QStringList{"%f%f"} << QStringList{name + name};
  QTest::newRow("other codes stay") << QStringList{"%x", "%", "a%"} << QStringList{"%x", "%", "a%"};
  QTest::newRow("no words") << QStringList{} << QStringList{};
}

void EmulatorTest::fillTemplate() {
  QFETCH(QStringList, words);
  QFETCH(QStringList, filled);
  const QString name = QStringLiteral("It's \"$HOME\"; a %p.bin");
  QCOMPARE(fill_template(words, name, QStringLiteral("/roms/") + name), filled);
}

QTEST_APPLESS_MAIN(EmulatorTest)
#include "emulator_test.moc"
