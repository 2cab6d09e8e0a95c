#pragma once
// A format layer: the ZIP reader. It may use the system layer only.
//
// A small reader of ZIP archives: it lists the entries of an archive's
// central directory and extracts one entry, stored or deflated, into the
// caller's buffer, checked against its CRC-32. ZIP64 archives read like any
// other. It prints nothing: every call returns a ZipResult, which the caller
// says with zip_report (see zip_messages.h).
//
// Order of calls: zip_open, then zip_next_entry until it gives no entry,
// with zip_read_entry allowed on the entry last given; the archive closes
// when its handle goes. To decode an entry again, set readPosition back to
// where it stood before that entry was decoded.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "system/file_system.h"
#include "zip/zip_messages.h"

// One central-directory file header, decoded field by field.
struct ZipEntry {
  std::uint32_t signature = 0;         // decoded, not checked
  std::uint8_t versionMadeBy = 0;      // tenths: 20 means 2.0
  std::uint8_t hostSystem = 0;         // system that made the entry
  std::uint8_t versionNeeded = 0;      // version needed to extract, tenths
  std::uint8_t hostSystemNeeded = 0;   // system needed to extract
  std::uint16_t flags = 0;             // general-purpose flags
  std::uint16_t method = 0;            // 0 stored, 8 deflated
  std::uint16_t modificationTime = 0;  // DOS time
  std::uint16_t modificationDate = 0;  // DOS date
  std::uint32_t crc = 0;               // CRC-32 of the uncompressed data
  std::uint64_t compressedSize = 0;    // ZIP64 extra field when saturated
  std::uint64_t uncompressedSize = 0;  // ZIP64 extra field when saturated
  std::uint16_t nameLength = 0;
  std::uint16_t extraLength = 0;
  std::uint16_t commentLength = 0;
  std::uint32_t diskStart = 0;  // disk on which the entry starts
  std::uint16_t internalAttributes = 0;
  std::uint32_t externalAttributes = 0;
  std::uint64_t localHeaderOffset = 0;  // from the start of the file
  // NUL-terminated, owned by the archive, valid until the next
  // zip_next_entry or the archive's end.
  const char* name = nullptr;
};

// One open archive, owned by the caller's handle.
struct ZipArchive {
  FileHandle stream;        // open for reading while the archive lives
  std::int64_t length = 0;  // file length in bytes

  // Copy of the bytes from the end-of-central-directory signature to the end
  // of the search window: the record and, normally, the archive comment.
  std::unique_ptr<unsigned char[]> endRecord;
  std::size_t endRecordLength = 0;

  // Fields of the end-of-central-directory record, or of the ZIP64 record
  // when the archive has one.
  bool zip64 = false;               // the fields come from a ZIP64 record
  std::uint32_t diskNumber = 0;     // number of this disk
  std::uint32_t directoryDisk = 0;  // disk on which the directory starts
  std::uint64_t entriesOnDisk = 0;
  std::uint64_t totalEntries = 0;
  std::uint64_t directorySize = 0;    // bytes
  std::uint64_t directoryOffset = 0;  // from the start of the file
  std::uint16_t commentLength = 0;    // as recorded
  std::string_view comment;           // the comment bytes present in endRecord

  std::unique_ptr<unsigned char[]> directory;  // the whole central directory
  std::uint64_t readPosition = 0;              // of the next entry in `directory`

  ZipEntry entry;           // the current entry, overwritten by zip_next_entry
  std::string currentName;  // storage of entry.name
};

using ZipHandle = std::unique_ptr<ZipArchive>;

// Opens the archive at `path` and reads its central directory into
// `archive`, which stays empty on failure.
ZipResult zip_open(const char* path, ZipHandle& archive);

// The same over a stream already open, which the archive keeps.
ZipResult zip_open_stream(FileHandle stream, ZipHandle& archive);

// Reads exactly `count` bytes; false when fewer arrive. A read of nothing
// counts as failed: an empty central directory or an empty stored entry has
// nothing a caller could use.
bool read_exactly(FileStream& stream, void* buffer, std::size_t count);

// The problem `error` of `archive`; a problem of the disk when a read of its
// stream has failed: the archive may be whole, the disk is not.
ZipResult zip_problem(ZipError error, const ZipArchive& archive);

// Decodes the next entry of the directory into the archive's current entry
// and points `entry` at it; `entry` is nullptr at the end of the directory,
// and when the entry does not fit in it (a failure: nothing after it is
// given).
ZipResult zip_next_entry(ZipArchive& archive, const ZipEntry*& entry);

// Writes the entry's uncompressed data to `destination`, which has room for
// entry.uncompressedSize bytes; never writes more than that. The CRC-32 of
// the data written must be the directory's (and the local header's, when it
// has one); it goes to `dataCrc` when given. Fails when seeking or reading
// fails, for a format the reader does not support or an encrypted entry,
// and when the data are inconsistent, do not inflate or fail the CRC check.
ZipResult zip_read_entry(ZipArchive& archive, const ZipEntry& entry, unsigned char* destination,
                         std::uint32_t* dataCrc = nullptr);

// True when the entry is stored or deflated, the methods read here.
bool zip_method_supported(const ZipEntry& entry);

// True when the entry is encrypted: general-purpose flag bit 0, or the AES
// method (99).
bool zip_entry_encrypted(const ZipEntry& entry);

// For benchmarks only: with false, zip_read_entry compares no CRC-32 (it
// still computes the data's, which identification computed before).
void zip_set_crc_checks(bool on);
