#include "main_window/emulator.h"

namespace {

bool is_blank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
         c == QLatin1Char('\r');
}

// Inside double quotes a backslash escapes only these.
bool escapable_in_double_quotes(QChar c) {
  return c == QLatin1Char('"') || c == QLatin1Char('\\') || c == QLatin1Char('$') ||
         c == QLatin1Char('`');
}

}  // namespace

QStringList archive_kinds(const QString& value) {
  QStringList kinds;
  for (const QString& word : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QString kind = word.trimmed().toLower();
    if (!kind.isEmpty()) kinds.append(kind);
  }
  return kinds;
}

std::optional<QStringList> split_template(const QString& text) {
  QStringList words;
  QString word;
  bool inWord = false;  // a word has begun (it may still be empty: "")
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (is_blank(c)) {
      if (inWord) words.append(word);
      word.clear();
      inWord = false;
      continue;
    }
    inWord = true;
    if (c == QLatin1Char('\'')) {
      const qsizetype end = text.indexOf(QLatin1Char('\''), i + 1);
      if (end < 0) return std::nullopt;
      word += text.mid(i + 1, end - i - 1);
      i = end;
    } else if (c == QLatin1Char('"')) {
      for (++i;; ++i) {
        if (i >= text.size()) return std::nullopt;
        const QChar d = text.at(i);
        if (d == QLatin1Char('"')) break;
        if (d == QLatin1Char('\\') && i + 1 < text.size() &&
            escapable_in_double_quotes(text.at(i + 1)))
          ++i;
        word += text.at(i);
      }
    } else if (c == QLatin1Char('\\') && i + 1 < text.size()) {
      word += text.at(++i);
    } else {
      word += c;
    }
  }
  if (inWord) words.append(word);
  return words;
}

QStringList fill_template(const QStringList& words, const QString& name, const QString& path) {
  QStringList filled;
  for (const QString& word : words) {
    QString out;
    for (qsizetype i = 0; i < word.size(); ++i) {
      const QChar code = i + 1 < word.size() ? word.at(i + 1) : QChar();
      if (word.at(i) != QLatin1Char('%') || code.isNull()) {
        out += word.at(i);
      } else if (code == QLatin1Char('f')) {
        out += name;
        ++i;
      } else if (code == QLatin1Char('p')) {
        out += path;
        ++i;
      } else if (code == QLatin1Char('%')) {
        out += QLatin1Char('%');
        ++i;
      } else {
        out += word.at(i);
      }
    }
    filled.append(out);
  }
  return filled;
}
