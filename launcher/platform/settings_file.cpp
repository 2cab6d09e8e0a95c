#include "platform/settings_file.h"

#include <QFile>
#include <QSettings>

namespace {

bool is_section(const QString& line) {
  return line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'));
}

bool is_setting_line(const QString& line) {
  return line.isEmpty() || line.startsWith(QLatin1Char(';')) || is_section(line) ||
         line.contains(QLatin1Char('='));
}

// The value part of "Name=value" up to a ";" comment outside double quotes.
QString value_text(const QString& line) {
  const QString text = line.mid(line.indexOf(QLatin1Char('=')) + 1);
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('\\')) {
      ++i;  // the next character is escaped
    } else if (c == QLatin1Char('"')) {
      quoted = !quoted;
    } else if (c == QLatin1Char(';') && !quoted) {
      return text.left(i).trimmed();
    }
  }
  return text.trimmed();
}

}  // namespace

IniFile::IniFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;
  const QString text = QString::fromUtf8(file.readAll());
  file.close();
  for (const QString& line : text.split(QLatin1Char('\n'))) lines_.append(line.trimmed());
  settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
  settings_->allKeys();  // the file is parsed, and its status known, at the first look
  if (settings_->status() == QSettings::NoError) {
    status_ = Status::Read;
    return;
  }
  status_ = Status::Malformed;
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    if (!is_setting_line(lines_[i])) {
      badLine_ = QStringLiteral("line %1: %2").arg(i + 1).arg(lines_[i]);
      break;
    }
  }
}

IniFile::~IniFile() = default;

bool IniFile::contains(const QString& key) const {
  return settings_ && settings_->contains(key);
}

QString IniFile::value(const QString& key) const {
  if (!contains(key)) return {};
  return settings_->value(key).toStringList().join(QStringLiteral(", "));
}

QString IniFile::raw_value(const QString& key) const {
  const qsizetype slash = key.lastIndexOf(QLatin1Char('/'));
  const QString section = slash < 0 ? QStringLiteral("General") : key.left(slash);
  const QString name = key.mid(slash + 1);
  QString current = QStringLiteral("General");
  QString value;
  for (const QString& line : lines_) {
    if (is_section(line)) {
      current = line.mid(1, line.size() - 2).trimmed();
    } else if (current == section && line.contains(QLatin1Char('=')) &&
               line.left(line.indexOf(QLatin1Char('='))).trimmed() == name) {
      value = value_text(line);
    }
  }
  return value;
}
