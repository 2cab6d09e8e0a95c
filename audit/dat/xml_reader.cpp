#include "dat/xml_reader.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace {

constexpr std::size_t ATTRIBUTE_LIMIT = 64;
constexpr std::size_t REFERENCE_LIMIT = 12;

std::array<bool, 256> stop_bytes(std::string_view stops) {
  std::array<bool, 256> table{};
  for (const char stop : stops) table[static_cast<unsigned char>(stop)] = true;
  return table;
}

void append_utf8(std::string& into, std::uint32_t code) {
  if (code < 0x80) {
    into.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    into.push_back(static_cast<char>(0xC0 | (code >> 6)));
    into.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    into.push_back(static_cast<char>(0xE0 | (code >> 12)));
    into.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    into.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    into.push_back(static_cast<char>(0xF0 | (code >> 18)));
    into.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    into.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    into.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// The character of "#65", "#x41", "amp", ...; 0 when it is none of those.
std::uint32_t reference_code(const std::string& name) {
  static const std::pair<const char*, std::uint32_t> named[] = {
      {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};
  for (const auto& [text, code] : named) {
    if (name == text) return code;
  }
  if (name.size() < 2 || name[0] != '#') return 0;
  const bool hex = name[1] == 'x';
  std::uint32_t code = 0;
  const std::size_t first = hex ? 2 : 1;
  if (first >= name.size()) return 0;
  for (std::size_t index = first; index < name.size(); ++index) {
    const char digit = name[index];
    std::uint32_t value = 0;
    if (digit >= '0' && digit <= '9') {
      value = static_cast<std::uint32_t>(digit - '0');
    } else if (hex && digit >= 'a' && digit <= 'f') {
      value = static_cast<std::uint32_t>(digit - 'a' + 10);
    } else if (hex && digit >= 'A' && digit <= 'F') {
      value = static_cast<std::uint32_t>(digit - 'A' + 10);
    } else {
      return 0;
    }
    code = code * (hex ? 16 : 10) + value;
    if (code > 0x10FFFF) return 0;
  }
  if (code >= 0xD800 && code <= 0xDFFF) return 0;
  return code;
}

}  // namespace

const std::string& XmlEvent::attribute(const std::string& key) const {
  static const std::string none;
  for (const auto& [name, value] : attributes) {
    if (name == key) return value;
  }
  return none;
}

const XmlEvent& XmlReader::next() {
  event_.attributes.clear();
  event_.text.clear();
  if (pendingEnd_) {
    pendingEnd_ = false;
    event_.kind = XmlEventKind::End;
    open_.pop_back();
    return event_;
  }
  while (input_.error().empty()) {
    const int character = input_.peek();
    if (character < 0) break;
    event_.line = input_.line();
    if (character == '<') {
      input_.get();
      if (read_markup()) return event_;
    } else if (read_text()) {
      return event_;
    }
  }
  finish();
  return event_;
}

void XmlReader::finish() {
  if (input_.error().empty() && !open_.empty())
    input_.fail_at(open_.back().second, "unterminated " + open_.back().first + " element");
  if (input_.error().empty() && !rootSeen_) input_.fail("no XML element");
  event_.kind = XmlEventKind::Finished;
}

bool XmlReader::too_long(const std::string& value) {
  if (value.size() <= XML_VALUE_LIMIT) return false;
  input_.fail("a name or text longer than " + std::to_string(XML_VALUE_LIMIT) + " characters");
  return true;
}

bool XmlReader::append(std::string& into, int character) {
  if (into.size() >= XML_VALUE_LIMIT) {
    input_.fail("a name or text longer than " + std::to_string(XML_VALUE_LIMIT) + " characters");
    return false;
  }
  into.push_back(static_cast<char>(character));
  return true;
}

// After '<': true when the markup is an event (a tag or CDATA text);
// declarations, comments and processing instructions are skipped.
bool XmlReader::read_markup() {
  const int character = input_.peek();
  if (character == '/') {
    input_.get();
    return read_end_tag();
  }
  if (character == '?') {
    skip_until("?>");
    return false;
  }
  if (character != '!') return read_start_tag();
  input_.get();
  if (input_.peek() == '[') return input_.take("[CDATA[") && read_cdata();
  if (input_.peek() == '-') {
    if (input_.take("--")) skip_until("-->");
  } else {
    skip_declaration();
  }
  return false;
}

bool XmlReader::skip_until(std::string_view end) {
  std::string window;
  while (true) {
    const int character = input_.get();
    if (character < 0) {
      input_.fail("unterminated markup");
      return false;
    }
    window.push_back(static_cast<char>(character));
    if (window.size() > end.size()) window.erase(0, 1);
    if (window == end) return true;
  }
}

// <!DOCTYPE ...> with its internal subset in brackets, which is skipped
// whole: entities declared there are never defined for the reader.
bool XmlReader::skip_declaration() {
  int brackets = 0;
  int quote = 0;
  while (true) {
    const int character = input_.get();
    if (character < 0) {
      input_.fail("unterminated declaration");
      return false;
    }
    if (quote != 0) {
      if (character == quote) quote = 0;
    } else if (character == '"' || character == '\'') {
      quote = character;
    } else if (character == '[') {
      ++brackets;
    } else if (character == ']') {
      --brackets;
    } else if (character == '>' && brackets <= 0) {
      return true;
    }
  }
}

bool XmlReader::read_cdata() {
  event_.kind = XmlEventKind::Text;
  while (true) {
    const int character = input_.get();
    if (character < 0) {
      input_.fail("unterminated CDATA section");
      return false;
    }
    if (!append(event_.text, character)) return false;
    if (event_.text.ends_with("]]>")) {
      event_.text.resize(event_.text.size() - 3);
      return !open_.empty();
    }
  }
}

bool XmlReader::read_name(std::string& name) {
  static const std::array<bool, 256> stops = stop_bytes(" \t\r/><=\"'");
  name.clear();
  input_.take_run(name, stops, XML_VALUE_LIMIT);
  if (too_long(name)) return false;
  if (name.empty()) input_.fail("a tag without a name");
  return !name.empty();
}

bool XmlReader::read_start_tag() {
  event_.kind = XmlEventKind::Start;
  if (!read_name(event_.name)) return false;
  if (rootSeen_ && open_.empty()) {
    input_.fail("a second root element");
    return false;
  }
  if (open_.size() >= XML_DEPTH_LIMIT) {
    input_.fail("elements nested deeper than " + std::to_string(XML_DEPTH_LIMIT));
    return false;
  }
  while (true) {
    input_.skip_blanks();
    if (input_.peek() == '/') {
      input_.get();
      if (!input_.take(">")) break;
      pendingEnd_ = true;
      return open_element();
    }
    if (input_.peek() == '>') {
      input_.get();
      return open_element();
    }
    if (!read_attribute()) return false;
  }
  input_.fail("a broken tag");
  return false;
}

bool XmlReader::open_element() {
  open_.emplace_back(event_.name, event_.line);
  rootSeen_ = true;
  return true;
}

bool XmlReader::read_attribute() {
  if (event_.attributes.size() >= ATTRIBUTE_LIMIT) {
    input_.fail("more than " + std::to_string(ATTRIBUTE_LIMIT) + " attributes");
    return false;
  }
  std::pair<std::string, std::string> attribute;
  if (!read_name(attribute.first)) return false;
  input_.skip_blanks();
  if (!input_.take("=")) {
    input_.fail("an attribute without a value");
    return false;
  }
  input_.skip_blanks();
  if (!read_quoted(attribute.second)) return false;
  event_.attributes.push_back(std::move(attribute));
  return true;
}

bool XmlReader::read_quoted(std::string& value) {
  static const std::array<bool, 256> doubleStops = stop_bytes("\"&<\t\r");
  static const std::array<bool, 256> singleStops = stop_bytes("'&<\t\r");
  const int quote = input_.get();
  if (quote != '"' && quote != '\'') {
    input_.fail("an attribute value without quotes");
    return false;
  }
  while (true) {
    input_.take_run(value, quote == '"' ? doubleStops : singleStops, XML_VALUE_LIMIT);
    if (too_long(value)) return false;
    const int character = input_.get();
    if (character < 0 || character == '<') {
      input_.fail("an unterminated attribute value");
      return false;
    }
    if (character == quote) return true;
    // Blanks in a value read as spaces, as XML normalises them.
    const bool ok = character == '&' ? read_reference(value) : append(value, ' ');
    if (!ok) return false;
  }
}

bool XmlReader::read_reference(std::string& into) {
  std::string name;
  while (input_.peek() >= 0 && input_.peek() != ';' && name.size() < REFERENCE_LIMIT)
    name.push_back(static_cast<char>(input_.get()));
  const std::uint32_t code = input_.take(";") ? reference_code(name) : 0;
  if (code == 0) {
    input_.fail("an unknown entity &" + name + ";");
    return false;
  }
  std::string encoded;
  append_utf8(encoded, code);
  for (const char byte : encoded) {
    if (!append(into, static_cast<unsigned char>(byte))) return false;
  }
  return true;
}

bool XmlReader::read_end_tag() {
  event_.kind = XmlEventKind::End;
  if (!read_name(event_.name)) return false;
  input_.skip_blanks();
  if (!input_.take(">")) {
    input_.fail("a broken end tag");
    return false;
  }
  if (open_.empty() || open_.back().first != event_.name) {
    input_.fail("</" + event_.name + "> closes no open element");
    return false;
  }
  open_.pop_back();
  return true;
}

// Text between tags; blank text and text outside the root are no event.
// Leading blanks are not kept, so indentation never meets the cap.
bool XmlReader::read_text() {
  static const std::array<bool, 256> stops = stop_bytes("<&");
  event_.kind = XmlEventKind::Text;
  input_.skip_blanks();
  while (input_.peek() >= 0 && input_.peek() != '<') {
    input_.take_run(event_.text, stops, XML_VALUE_LIMIT);
    if (too_long(event_.text)) return false;
    const int character = input_.peek();
    if (character < 0 || character == '<') break;
    input_.get();
    const bool ok = character == '&' ? read_reference(event_.text) : append(event_.text, character);
    if (!ok) return false;
  }
  if (event_.text.empty() || open_.empty()) {
    event_.text.clear();
    return false;
  }
  return true;
}
