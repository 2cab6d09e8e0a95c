#include "dat/dat_loader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <utility>

#include "system/file_system.h"
#include "system/hex_digits.h"

namespace {

// One to eight hex digits, either case.
std::optional<std::uint32_t> parse_crc(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char digit : text) {
    const int nibble = hex_value(digit);
    if (nibble < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(nibble);
  }
  return value;
}

// The first bytes of a ZIP archive (a local file header).
constexpr char ZIP_SIGNATURE[] = "PK\x03\x04";

// The reasons an image is left out, in the order lines give them.
struct LeftOutReason {
  int DatLoadSummary::*count;
  const char* name;
};
constexpr LeftOutReason LEFT_OUT_REASONS[] = {
    {&DatLoadSummary::leftOutSize, "size"},      {&DatLoadSummary::leftOutBadCrc, "bad CRC"},
    {&DatLoadSummary::leftOutNoCrc, "no CRC"},   {&DatLoadSummary::leftOutRepeated, "duplicate"},
    {&DatLoadSummary::leftOutNoName, "no name"},
};

int left_out_total(const DatLoadSummary& summary, int* reasons = nullptr) {
  int total = 0;
  for (const LeftOutReason& reason : LEFT_OUT_REASONS) {
    total += summary.*reason.count;
    if (reasons != nullptr) *reasons += summary.*reason.count > 0 ? 1 : 0;
  }
  return total;
}

// " (3 left out: 1 size, 2 duplicate)", " (1 left out: size)" for one
// reason, or nothing.
std::string left_out_text(const DatLoadSummary& summary) {
  int reasons = 0;
  const int total = left_out_total(summary, &reasons);
  if (total == 0) return "";
  std::string detail;
  for (const LeftOutReason& reason : LEFT_OUT_REASONS) {
    const int count = summary.*reason.count;
    if (count == 0) continue;
    if (!detail.empty()) detail += ", ";
    detail += (reasons == 1 ? "" : std::to_string(count) + " ") + reason.name;
  }
  return " (" + std::to_string(total) + " left out: " + detail + ")";
}

// ", most for size" when several reasons left images out (the first of
// equal counts), else nothing: one reason names itself.
std::string most_left_out_text(const DatLoadSummary& summary) {
  int reasons = 0;
  left_out_total(summary, &reasons);
  if (reasons < 2) return "";
  const LeftOutReason* most = &LEFT_OUT_REASONS[0];
  for (const LeftOutReason& reason : LEFT_OUT_REASONS) {
    if (summary.*reason.count > summary.*most->count) most = &reason;
  }
  return std::string(", most for ") + most->name;
}

// The most entries of one CRC-32 a catalogue for verify keeps.
constexpr std::size_t TWIN_LIMIT = 64;

CatalogueEntry entry_of(const DatRom& rom, std::uint32_t crc, std::uint64_t size) {
  CatalogueEntry entry;
  entry.name = rom.name;
  entry.image = rom.image;
  entry.crc = crc;
  entry.size = static_cast<std::uint32_t>(size);
  entry.hasMd5 = parse_hex_bytes(rom.md5, entry.md5);
  entry.hasSha1 = parse_hex_bytes(rom.sha1, entry.sha1);
  entry.badDump = rom.badDump;
  entry.scheme = rom.scheme;
  entry.tv = entry_tv_system(rom.compatibility, rom.name);
  entry.software = rom.game;
  entry.softwareList = rom.softwareList;
  entry.cloneOf = rom.cloneOf;
  entry.year = rom.year;
  entry.publisher = rom.publisher;
  return entry;
}

// True when verify can tell an image of `one` from one of `other` (entries
// of one CRC-32): by their sizes, else by the strongest hash both give.
bool told_apart(const CatalogueEntry& one, const CatalogueEntry& other) {
  if (one.size != other.size) return true;
  if (one.hasSha1 && other.hasSha1) return one.sha1 != other.sha1;
  return one.hasMd5 && other.hasMd5 && one.md5 != other.md5;
}

// Counts `entry` when the strongest hash its DAT gives is malformed: verify
// checks it by the next one (MD5, else the CRC-32 alone).
void count_weaker_check(const DatRom& rom, const CatalogueEntry& entry, DatLoadSummary& summary) {
  if (!rom.sha1.empty() && !entry.hasSha1) {
    ++summary.weakerSha1;
  } else if (!entry.hasSha1 && !rom.md5.empty() && !entry.hasMd5) {
    ++summary.weakerMd5;
  }
}

// Points each entry whose game is a clone to the first entry of its parent
// game, when the catalogue holds one.
void link_parents(std::vector<CatalogueEntry>& entries) {
  std::unordered_map<std::string_view, int> firstOfGame;
  for (std::size_t index = 0; index < entries.size(); ++index) {
    if (!entries[index].software.empty())
      firstOfGame.try_emplace(entries[index].software, static_cast<int>(index));
  }
  for (CatalogueEntry& entry : entries) {
    const auto parent = firstOfGame.find(entry.cloneOf);
    if (parent != firstOfGame.end() && entry.cloneOf != entry.software)
      entry.parent = parent->second;
  }
}

// The first bytes tell XML from text; a byte-order mark is passed over.
bool looks_like_xml(DatInput& input) {
  if (input.peek() == 0xEF && !input.take("\xEF\xBB\xBF")) return false;
  input.skip_blanks();
  return input.peek() == '<';
}

}  // namespace

std::uint64_t parse_dat_size(std::string_view text) {
  const bool hex = text.starts_with("0x") || text.starts_with("0X");
  if (hex) text.remove_prefix(2);
  if (text.empty() || text.size() > 12) return 0;
  std::uint64_t value = 0;
  for (const char digit : text) {
    const int nibble = hex_value(digit);
    if (nibble < 0 || (!hex && nibble > 9)) return 0;
    value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(nibble);
  }
  return value;
}

std::string dat_refusal_line(const DatError& error) {
  std::string line = "Cannot use DAT \"" + error.file + "\": ";
  if (error.line > 0) line += "line " + std::to_string(error.line) + ": ";
  return line + error.what;
}

std::string dat_summary_line(const DatLoadSummary& summary) {
  return "Catalogue: " + std::to_string(summary.entries) + (summary.afterOthers ? " new" : "") +
         " entries from \"" + summary.file + "\"" + left_out_text(summary);
}

std::string dat_weaker_check_line(const DatLoadSummary& summary) {
  const int total = summary.weakerSha1 + summary.weakerMd5;
  if (total == 0) return "";
  std::string detail;
  if (summary.weakerSha1 == 0 || summary.weakerMd5 == 0) {
    detail = summary.weakerSha1 > 0 ? "SHA-1" : "MD5";
  } else {
    detail = std::to_string(summary.weakerSha1) + " SHA-1, " + std::to_string(summary.weakerMd5) +
             " MD5";
  }
  return "Catalogue: " + std::to_string(total) + " entries from \"" + summary.file +
         "\" fall back to a weaker check (malformed: " + detail + ")";
}

bool CatalogueBuilder::load_file(const std::string& path, DatError& error, ZipUnpacker unzip) {
  error = DatError{path, 0, ""};
  FileHandle file;
  if (const FsResult opened = file_system().open(path, "rb", file, true); !opened.ok()) {
    error.what = "cannot open the file (" + opened.reason() + ")";
    return false;
  }
  // A folder opens but cannot be read; a file too large is refused before
  // more than its first bytes are read.
  char first[sizeof ZIP_SIGNATURE - 1] = {};
  const std::size_t got = file->read(first, sizeof first);
  if (got == 0 && !file->failure().ok()) {
    error.what = "cannot read the file (" + file->failure().reason() + ")";
    return false;
  }
  if (unzip != nullptr && got == sizeof first && std::memcmp(first, ZIP_SIGNATURE, got) == 0) {
    file.reset();
    std::string bytes;
    if (!unzip(path, bytes, error)) return false;
    DatInput input(bytes);
    return load(input, path, error);
  }
  if (file->seek(0, SEEK_END).ok()) {
    const std::int64_t length = file->tell();
    if (length < 0 || static_cast<std::uint64_t>(length) > DAT_FILE_LIMIT) {
      error.what = length < 0 ? "cannot read the file" : "file larger than 256 MiB";
      return false;
    }
  }
  if (const FsResult back = file->seek(0, SEEK_SET); !back.ok()) {
    error.what = "cannot read the file (" + back.reason() + ")";
    return false;
  }
  DatInput input(*file);
  return load(input, path, error);
}

bool CatalogueBuilder::load_bytes(std::string_view bytes, const std::string& label,
                                  DatError& error) {
  error = DatError{label, 0, ""};
  DatInput input(bytes);
  return load(input, label, error);
}

void CatalogueBuilder::begin_file(const std::string& label) {
  DatLoadSummary& summary = summaries_.emplace_back();
  summary.file = label;
  summary.afterOthers = summaries_.size() > 1;
}

bool CatalogueBuilder::load(DatInput& input, const std::string& label, DatError& error) {
  begin_file(label);
  const bool read = looks_like_xml(input) ? read_xml_dat(input, *this)
                                          : input.error().empty() && read_clrmamepro(input, *this);
  if (!read || !input.error().empty()) {
    error.line = input.error_line();
    error.what = input.error().empty() ? "not a DAT file" : input.error();
    return false;
  }
  return true;
}

bool CatalogueBuilder::has_entries(DatError& error) const {
  error = DatError{};
  DatLoadSummary all;
  std::vector<std::string> files;
  for (const DatLoadSummary& summary : summaries_) {
    if (summary.entries > 0) return true;
    for (const LeftOutReason& reason : LEFT_OUT_REASONS) all.*reason.count += summary.*reason.count;
    if (std::find(files.begin(), files.end(), summary.file) != files.end()) continue;
    // Several files read "a.dat", "b.dat" in the refusal line, which quotes the whole.
    error.file += (files.empty() ? "" : "\", \"") + summary.file;
    files.push_back(summary.file);
  }
  error.what = "no usable entry" + most_left_out_text(all) + left_out_text(all);
  return false;
}

CatalogueBuilder::CatalogueBuilder(bool keepTwins) : keepTwins_(keepTwins) {}

bool CatalogueBuilder::add(const DatRom& rom) {
  DatLoadSummary& summary = summaries_.back();
  if (rom.crc.empty()) {  // nothing to identify it by
    ++summary.leftOutNoCrc;
    return true;
  }
  const std::uint64_t size = parse_dat_size(rom.size);
  const auto crc = parse_crc(rom.crc);
  if (size < SMALLEST_IMAGE_SIZE || size > LARGEST_IMAGE_SIZE) {
    ++summary.leftOutSize;
    if (!rom.game.empty() && unheld_.size() < DAT_ENTRY_LIMIT)
      unheld_.push_back({rom.game, rom.image});
  } else if (!crc) {
    ++summary.leftOutBadCrc;
  } else if (rom.name.empty()) {
    ++summary.leftOutNoName;
  } else if (entries_.size() >= DAT_ENTRY_LIMIT) {
    return false;
  } else if (CatalogueEntry entry = entry_of(rom, *crc, size); !admit(entry)) {
    ++summary.leftOutRepeated;
  } else {
    count_weaker_check(rom, entry, summary);
    entries_.push_back(std::move(entry));
    if (keepTwins_) twinNext_.push_back(0);
    ++summary.entries;
  }
  return true;
}

std::size_t CatalogueBuilder::crc_slot(std::uint32_t crc) const {
  const std::size_t mask = crcSlots_.size() - 1;
  for (std::size_t slot = (crc * 0x9E3779B1u) & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t held = crcSlots_[slot];
    if (held == 0 || entries_[held - 1].crc == crc) return slot;
  }
}

bool CatalogueBuilder::admit(const CatalogueEntry& entry) {
  if (2 * (crcCount_ + 1) > crcSlots_.size()) {
    const std::vector<std::uint32_t> old = std::exchange(crcSlots_, {});
    crcSlots_.assign(std::max<std::size_t>(1024, 2 * old.size()), 0);
    for (const std::uint32_t held : old) {
      if (held != 0) crcSlots_[crc_slot(entries_[held - 1].crc)] = held;
    }
  }
  const auto added = static_cast<std::uint32_t>(entries_.size() + 1);
  std::uint32_t& first = crcSlots_[crc_slot(entry.crc)];
  if (first == 0) {
    first = added;
    ++crcCount_;
    return true;
  }
  if (!keepTwins_) return false;
  std::uint32_t last = first;
  for (std::size_t twins = 1;; ++twins) {
    if (twins >= TWIN_LIMIT || !told_apart(entries_[last - 1], entry)) return false;
    if (twinNext_[last - 1] == 0) break;
    last = twinNext_[last - 1];
  }
  twinNext_[last - 1] = added;
  return true;
}

std::vector<CatalogueEntry> CatalogueBuilder::finish() {
  std::vector<CatalogueEntry> entries = std::exchange(entries_, {});
  crcSlots_.clear();
  crcCount_ = 0;
  twinNext_.clear();
  number_equal_names(entries);
  link_parents(entries);
  return entries;
}
