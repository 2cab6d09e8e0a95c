#include "collection/manual.h"

#include <QFile>
#include <QStringDecoder>
#include <array>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five bytes it
// leaves undefined keep their Latin-1 (control) meaning.
constexpr std::array<char16_t, 32> WINDOWS_1252_HIGH = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decode_windows_1252(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    text.append(code >= 0x80 && code < 0xA0 ? QChar(WINDOWS_1252_HIGH[code - 0x80]) : QChar(code));
  }
  return text;
}

}  // namespace

QString base_name(const QString& fileName) {
  const qsizetype dot = fileName.indexOf(QLatin1Char('.'));
  return dot < 0 ? fileName : fileName.left(dot);
}

QString decode_manual(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) text = decode_windows_1252(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

Manual read_manual(const QString& path) {
  if (path.isEmpty()) return {};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  if (file.size() > MANUAL_SIZE_LIMIT) return {Manual::Outcome::TooLarge, {}};
  // Read one byte past the limit so a file that grew since its size was
  // taken is still refused rather than shown cut short.
  const QByteArray bytes = file.read(MANUAL_SIZE_LIMIT + 1);
  if (bytes.size() > MANUAL_SIZE_LIMIT) return {Manual::Outcome::TooLarge, {}};
  return {Manual::Outcome::Shown, decode_manual(bytes)};
}
