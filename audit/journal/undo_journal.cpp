#include "journal/undo_journal.h"

#include <charconv>
#include <vector>

#include "system/hex_digits.h"

namespace {

constexpr char HEX_DIGITS[] = "0123456789ABCDEF";

// A byte a field may hold as it is. A "\\" is escaped when written, so that
// a bare one read back is a separator, but read as it stands: earlier
// journals hold it bare.
bool written_bare(unsigned char byte) {
  return byte > ' ' && byte < 0x7f && byte != '%' && byte != '\\';
}

bool read_bare(unsigned char byte) {
  return written_bare(byte) || byte == '\\';
}

// The bytes `field` stands for; with `separators`, a bare "/" or "\\" is
// this system's separator.
std::optional<std::string> unescape(std::string_view field, bool separators) {
  std::string bytes;
  bytes.reserve(field.size());
  for (std::size_t at = 0; at < field.size(); ++at) {
    const auto byte = static_cast<unsigned char>(field[at]);
    if (byte != '%') {
      if (!read_bare(byte)) return std::nullopt;
      const bool separator = separators && (byte == '/' || byte == '\\');
      bytes += separator ? PATH_SEPARATOR : field[at];
      continue;
    }
    if (field.size() - at < 3) return std::nullopt;
    const int high = hex_value(field[at + 1]);
    const int low = hex_value(field[at + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
    at += 2;
  }
  return bytes;
}

// "device:file" in hex, as a copy record keeps the identity of its file.
std::string identity_text(const FileIdentity& identity) {
  char text[40];
  char* end = std::to_chars(text, text + 20, identity.device, 16).ptr;
  *end++ = ':';
  end = std::to_chars(end, text + sizeof text, identity.file, 16).ptr;
  return std::string(text, end);
}

// A hex number of at most 16 digits.
std::optional<std::uint64_t> parse_hex(std::string_view text) {
  if (text.empty() || text.size() > 16) return std::nullopt;
  std::uint64_t value = 0;
  for (const char digit : text) {
    const int nibble = hex_value(digit);
    if (nibble < 0 || (digit >= 'A' && digit <= 'F')) return std::nullopt;
    value = value * 16 + static_cast<std::uint64_t>(nibble);
  }
  return value;
}

std::optional<FileIdentity> parse_identity(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const auto device = parse_hex(text.substr(0, colon));
  const auto file = parse_hex(text.substr(colon + 1));
  if (!device || !file) return std::nullopt;
  return FileIdentity{*device, *file};
}

std::vector<std::string_view> split_fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (start <= line.size()) {
    std::size_t end = line.find(' ', start);
    if (end == std::string_view::npos) end = line.size();
    fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

// A decimal count without sign or leading zeros that fits in 64 bits.
std::optional<std::uint64_t> parse_count(std::string_view text) {
  if (text.empty() || text.size() > 20 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
  std::uint64_t value = 0;
  for (char digit : text) {
    if (digit < '0' || digit > '9') return std::nullopt;
    const std::uint64_t next = value * 10 + static_cast<std::uint64_t>(digit - '0');
    if (next / 10 != value) return std::nullopt;
    value = next;
  }
  return value;
}

// A field that must stand for a non-empty path.
std::optional<std::string> parse_path(std::string_view field) {
  auto path = path_of_journal_field(field);
  if (!path || path->empty()) return std::nullopt;
  return path;
}

std::optional<JournalRecord> parse_run(const std::vector<std::string_view>& fields) {
  if (fields.size() != 3 || fields[1].empty()) return std::nullopt;
  if (fields[2] != "rename" && fields[2] != "move" && fields[2] != "copy") return std::nullopt;
  auto time = unescape_journal_field(fields[1]);
  if (!time) return std::nullopt;
  JournalRecord record;
  record.time = std::move(*time);
  record.mode = fields[2];
  return record;
}

std::optional<JournalRecord> parse_folder(const std::vector<std::string_view>& fields) {
  if (fields.size() != 2) return std::nullopt;
  auto path = parse_path(fields[1]);
  if (!path) return std::nullopt;
  JournalRecord record;
  record.kind = JournalRecordKind::folder;
  record.path = std::move(*path);
  return record;
}

std::optional<JournalRecord> parse_move(const std::vector<std::string_view>& fields) {
  if (fields.size() != 4) return std::nullopt;
  const auto size = parse_count(fields[1]);
  auto from = parse_path(fields[2]);
  auto to = parse_path(fields[3]);
  if (!size || !from || !to) return std::nullopt;
  JournalRecord record;
  record.kind = JournalRecordKind::move;
  record.size = *size;
  record.path = std::move(*from);
  record.target = std::move(*to);
  return record;
}

// A copy record with its file's identity, or without, as an earlier build
// wrote it.
std::optional<JournalRecord> parse_copy(const std::vector<std::string_view>& fields) {
  if (fields.size() != 5 && fields.size() != 6) return std::nullopt;
  std::optional<FileIdentity> identity;
  if (fields.size() == 6 && !(identity = parse_identity(fields[5]))) return std::nullopt;
  const auto size = parse_count(fields[1]);
  const auto crc = parse_crc_text(fields[2]);
  auto temporary = parse_path(fields[3]);
  auto target = parse_path(fields[4]);
  if (!size || !crc || !temporary || !target) return std::nullopt;
  JournalRecord record;
  record.kind = JournalRecordKind::copy;
  record.size = *size;
  record.crc = *crc;
  record.path = std::move(*temporary);
  record.target = std::move(*target);
  record.identityKnown = identity.has_value();
  if (identity) record.identity = *identity;
  return record;
}

std::optional<JournalRecord> parse_undone(const std::vector<std::string_view>& fields) {
  if (fields.size() != 2) return std::nullopt;
  const auto run = parse_count(fields[1]);
  if (!run || *run == 0) return std::nullopt;
  JournalRecord record;
  record.kind = JournalRecordKind::undone;
  record.run = *run;
  return record;
}

// `bytes` escaped; with `separators`, this system's separator written as "/".
std::string escape(std::string_view bytes, bool separators) {
  std::string field;
  field.reserve(bytes.size());
  for (char character : bytes) {
    if (separators && character == PATH_SEPARATOR) character = '/';
    const auto byte = static_cast<unsigned char>(character);
    if (written_bare(byte)) {
      field += character;
    } else {
      field += '%';
      field += HEX_DIGITS[byte >> 4];
      field += HEX_DIGITS[byte & 0x0f];
    }
  }
  return field;
}

}  // namespace

std::string escape_journal_field(std::string_view bytes) {
  return escape(bytes, false);
}

std::optional<std::string> unescape_journal_field(std::string_view field) {
  return unescape(field, false);
}

std::string journal_path_field(std::string_view path) {
  return escape(path, true);
}

std::optional<std::string> path_of_journal_field(std::string_view field) {
  return unescape(field, true);
}

std::string journal_line(const JournalRecord& record) {
  switch (record.kind) {
    case JournalRecordKind::run:
      return "run " + escape_journal_field(record.time) + " " + record.mode + "\n";
    case JournalRecordKind::folder:
      return "folder " + journal_path_field(record.path) + "\n";
    case JournalRecordKind::move:
      return "move " + std::to_string(record.size) + " " + journal_path_field(record.path) + " " +
             journal_path_field(record.target) + "\n";
    case JournalRecordKind::copy:
      return "copy " + std::to_string(record.size) + " " + crc_text(record.crc) + " " +
             journal_path_field(record.path) + " " + journal_path_field(record.target) +
             (record.identityKnown ? " " + identity_text(record.identity) : std::string()) + "\n";
    case JournalRecordKind::failed:
      return "failed\n";
    case JournalRecordKind::undone:
      return "undone " + std::to_string(record.run) + "\n";
  }
  return std::string();
}

std::optional<JournalRecord> parse_journal_line(std::string_view line) {
  const std::vector<std::string_view> fields = split_fields(line);
  const std::string_view word = fields[0];
  if (word == "run") return parse_run(fields);
  if (word == "folder") return parse_folder(fields);
  if (word == "move") return parse_move(fields);
  if (word == "undone") return parse_undone(fields);
  if (word == "copy") return parse_copy(fields);
  if (word == "failed" && fields.size() == 1) {
    JournalRecord record;
    record.kind = JournalRecordKind::failed;
    return record;
  }
  return std::nullopt;
}
