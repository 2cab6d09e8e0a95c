#include "main_window/position_file.h"

#include <QFile>
#include <limits>

QByteArray position_text(int index) {
  QByteArray text = index < 0 ? QByteArray() : QByteArray(" ");
  text += QByteArray::number(index);
  text += " \r\n";
  return text;
}

std::optional<int> parse_position(const QByteArray& bytes) {
  if (bytes.isEmpty()) return std::nullopt;
  const qsizetype end = bytes.indexOf('\n');
  QByteArray line = end < 0 ? bytes : bytes.left(end);
  if (line.endsWith('\r')) line.chop(1);
  line = line.trimmed();
  const bool negative = line.startsWith('-');
  const QByteArray digits = line.mid(negative || line.startsWith('+') ? 1 : 0);
  if (digits.isEmpty() || digits.size() > 9) return std::nullopt;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  const int value = (negative ? -1 : 1) * digits.toInt();
  if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max()) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> read_position(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return parse_position(file.readLine(4096));
}

bool write_position(const QString& path, int index) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const QByteArray text = position_text(index);
  return file.write(text) == text.size() && file.flush();
}
