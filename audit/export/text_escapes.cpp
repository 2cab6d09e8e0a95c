#include "export/text_escapes.h"

#include <cstdint>
#include <cstdio>
#include <span>

namespace {

constexpr std::string_view REPLACEMENT = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

struct Escape {
  char character;
  const char* text;
};

constexpr Escape JSON_ESCAPES[] = {{'"', "\\\""}, {'\\', "\\\\"}, {'\n', "\\n"}, {'\r', "\\r"},
                                   {'\t', "\\t"}, {'\b', "\\b"},  {'\f', "\\f"}};
constexpr Escape XML_ESCAPES[] = {
    {'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&apos;"}};

// The length (2 to 4) of the well-formed UTF-8 sequence of a character from
// U+0080 on that starts at `at`, with its code point; 0 when the bytes there
// are none (a stray byte, a cut or overlong sequence, a surrogate).
std::size_t utf8_sequence(std::string_view text, std::size_t at, std::uint32_t& code) {
  const auto byte = [&](std::size_t index) { return static_cast<unsigned char>(text[index]); };
  const unsigned char lead = byte(at);
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > text.size()) return 0;
  code = lead & (0x7F >> length);
  for (std::size_t index = at + 1; index < at + length; ++index) {
    if ((byte(index) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(index) & 0x3F);
  }
  static constexpr std::uint32_t SMALLEST[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < SMALLEST[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// Copies the character from U+0080 on that starts at `at`, or U+FFFD for
// the byte there when it starts none, or for a character XML cannot hold;
// returns the bytes taken.
std::size_t append_wide(std::string& out, std::string_view text, std::size_t at, bool forXml) {
  std::uint32_t code = 0;
  const std::size_t length = utf8_sequence(text, at, code);
  if (length == 0) {
    out += REPLACEMENT;
    return 1;
  }
  const bool held = !forXml || (code != 0xFFFE && code != 0xFFFF);
  out.append(held ? text.substr(at, length) : REPLACEMENT);
  return length;
}

void append_code(std::string& out, const char* format, unsigned char byte) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, format, byte);
  out += buffer;
}

const char* escape_of(std::span<const Escape> escapes, char character) {
  for (const Escape& escape : escapes) {
    if (escape.character == character) return escape.text;
  }
  return nullptr;
}

void append_json_byte(std::string& out, char character) {
  if (const char* escape = escape_of(JSON_ESCAPES, character)) {
    out += escape;
  } else if (static_cast<unsigned char>(character) < 0x20) {
    append_code(out, "\\u%04x", static_cast<unsigned char>(character));
  } else {
    out += character;
  }
}

// The byte below 0x80 at `at`. A reader turns a line end (CR LF, or a lone
// CR) into LF, so content holds one as LF; an attribute keeps tab, CR and LF
// as references, as a reader would turn them into spaces.
void append_xml_byte(std::string& out, std::string_view text, std::size_t at, XmlPlace place) {
  const char character = text[at];
  const auto byte = static_cast<unsigned char>(character);
  const bool space = byte == '\t' || byte == '\n' || byte == '\r';
  if (const char* escape = escape_of(XML_ESCAPES, character)) {
    out += escape;
  } else if (space && place == XmlPlace::attribute) {
    append_code(out, "&#%u;", byte);
  } else if (byte == '\r') {
    if (at + 1 == text.size() || text[at + 1] != '\n') out += '\n';
  } else if (byte < 0x20 && !space) {
    out += REPLACEMENT;  // XML 1.0 has no way to hold the other controls
  } else {
    out += character;
  }
}

}  // namespace

void append_json_string(std::string& out, std::string_view text) {
  out += '"';
  for (std::size_t at = 0; at < text.size();) {
    if (static_cast<unsigned char>(text[at]) >= 0x80) {
      at += append_wide(out, text, at, false);
    } else {
      append_json_byte(out, text[at++]);
    }
  }
  out += '"';
}

void append_xml_text(std::string& out, std::string_view text, XmlPlace place) {
  for (std::size_t at = 0; at < text.size();) {
    if (static_cast<unsigned char>(text[at]) >= 0x80) {
      at += append_wide(out, text, at, true);
    } else {
      append_xml_byte(out, text, at++, place);
    }
  }
}
