#pragma once
// The DAT layer: reading the DAT files a run is given, and the software list
// the compiled-in table is made from. It may use the catalogue and system.
//
// Loading the catalogue of a run from DAT files: the format told by content,
// the images checked (size, CRC, hashes), a CRC seen before left out, the
// names numbered as the compiled-in table's are, and a record of what was
// left out or why a file could not be used.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dat/dat_formats.h"
#include "dat/entry_names.h"

// Why a DAT cannot be used: the file as the user named it, the line (0 when
// no line is at fault) and what is wrong.
struct DatError {
  std::string file;
  int line = 0;
  std::string what;
};

// What one file gave, and what it left out by reason.
struct DatLoadSummary {
  std::string file;
  int entries = 0;
  int leftOutSize = 0;       // outside the image sizes the tool accepts
  int leftOutRepeated = 0;   // a CRC an earlier entry has (a duplicate)
  int leftOutBadCrc = 0;     // a CRC that is not hex
  int leftOutNoName = 0;     // nothing left of the name after cleaning
  int leftOutNoCrc = 0;      // no CRC given
  bool afterOthers = false;  // an earlier file of the run came first: its entries are new ones
  // Entries kept whose strongest hash is malformed (not 40 or 32 hex
  // digits), which verify checks by a weaker one.
  int weakerSha1 = 0;  // a malformed SHA-1: MD5, else the CRC-32 alone
  int weakerMd5 = 0;   // no SHA-1 and a malformed MD5: the CRC-32 alone
};

// "Cannot use DAT "x.dat": line 412: unterminated game block"
std::string dat_refusal_line(const DatError& error);

// "Catalogue: 904 entries from "x.dat" (1 left out: size)", and for a later
// file "Catalogue: 0 new entries from "y.dat" (904 left out: duplicate)".
std::string dat_summary_line(const DatLoadSummary& summary);

// "Catalogue: 3 entries from "x.dat" fall back to a weaker check (malformed:
// 2 SHA-1, 1 MD5)", or "" when the file's hashes are all well formed.
std::string dat_weaker_check_line(const DatLoadSummary& summary);

// Reads the one file of the ZIP archive at `path` into `bytes`; false, with
// `error.what` set, when it cannot. The catalogue reads no archives: the
// program hands it this.
using ZipUnpacker = bool (*)(const std::string& path, std::string& bytes, DatError& error);

// Collects the entries of one or more DATs.
class CatalogueBuilder : public RomSink {
 public:
  // An image whose CRC-32 an earlier entry has is left out as a duplicate;
  // with `keepTwins` (a catalogue for verify) it is an entry of its own when
  // its size or strongest hash tells it from each of them, up to 64 entries
  // of one CRC-32.
  explicit CatalogueBuilder(bool keepTwins = false);

  // Adds the entries of the DAT at `path`. False, with `error` set, when the
  // file cannot be read, is no DAT or is broken. A file that adds no entry
  // is no error: see has_entries. With `unzip`, a file that starts as a ZIP
  // archive is read through it (a DAT handed out zipped).
  bool load_file(const std::string& path, DatError& error, ZipUnpacker unzip = nullptr);
  // The same for a DAT held in memory, named `label` in messages.
  bool load_bytes(std::string_view bytes, const std::string& label, DatError& error);

  // Starts the summary of a file named `label`; load_file and load_bytes
  // do it themselves, a caller of the readers does it first.
  void begin_file(const std::string& label);
  bool add(const DatRom& rom) override;

  // False, with `error` naming the files and the reason that left out most,
  // when the files loaded so far gave no entry at all.
  bool has_entries(DatError& error) const;

  // The entries so far, sorted and numbered; the builder is empty after.
  std::vector<CatalogueEntry> finish();
  const std::vector<DatLoadSummary>& summaries() const { return summaries_; }
  // The images a game names that were left out for their size.
  const std::vector<UnheldRom>& unheld() const { return unheld_; }

 private:
  bool load(DatInput& input, const std::string& label, DatError& error);
  // The slot of the first entry of `crc`, or the empty slot where it goes.
  std::size_t crc_slot(std::uint32_t crc) const;
  // Whether `entry`, about to be added, is kept: its CRC is new, or it is
  // a twin the builder keeps. Records it then.
  bool admit(const CatalogueEntry& entry);

  bool keepTwins_ = false;
  std::vector<CatalogueEntry> entries_;
  // The first entry of each CRC (its position + 1), open addressing at most
  // half full; 0 marks an empty slot.
  std::vector<std::uint32_t> crcSlots_;
  std::size_t crcCount_ = 0;
  // With keepTwins_: for each entry the next of its CRC (position + 1), 0: none.
  std::vector<std::uint32_t> twinNext_;
  std::vector<DatLoadSummary> summaries_;
  std::vector<UnheldRom> unheld_;
};
