#include "collection/settings_file.h"

#include <QFile>
#include <QStringList>

namespace {

bool is_section(const QString& line) {
  return line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'));
}

bool is_comment(const QString& line) {
  return line.isEmpty() || line.startsWith(QLatin1Char(';'));
}

// The inside of a value wrapped whole in double quotes, its \" and \\ read.
QString unquoted(const QString& raw) {
  QString text;
  for (qsizetype i = 1; i + 1 < raw.size(); ++i) {
    const QChar c = raw.at(i);
    const QChar next = raw.at(i + 1);
    if (c == QLatin1Char('\\') && i + 2 < raw.size() &&
        (next == QLatin1Char('"') || next == QLatin1Char('\\'))) {
      text += next;
      ++i;
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace

IniFile::IniFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;
  QString text = QString::fromUtf8(file.readAll());
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  status_ = Status::Read;
  read_lines(text);
}

void IniFile::read_lines(const QString& text) {
  const QStringList lines = text.split(QLatin1Char('\n'));
  QString section = QStringLiteral("General");
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    if (is_comment(line)) continue;
    if (is_section(line)) {
      section = line.mid(1, line.size() - 2).trimmed();
      continue;
    }
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0) {
      status_ = Status::Malformed;
      badLine_ = QStringLiteral("line %1: %2").arg(i + 1).arg(line);
      return;
    }
    values_.insert(section + QLatin1Char('/') + line.left(equals).trimmed(),
                   line.mid(equals + 1).trimmed());
  }
}

bool IniFile::contains(const QString& key) const {
  return values_.contains(key);
}

QString IniFile::value(const QString& key) const {
  const QString raw = raw_value(key);
  const bool quoted =
      raw.size() >= 2 && raw.startsWith(QLatin1Char('"')) && raw.endsWith(QLatin1Char('"'));
  return quoted ? unquoted(raw) : raw;
}

QString IniFile::raw_value(const QString& key) const {
  return values_.value(key);
}
