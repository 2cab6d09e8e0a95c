// The ZIP writer through libarchive. Only what the ZIP must hold is set on
// an entry: its name, size, type and mode. libarchive then writes the DOS
// time of 1980-01-01 00:00 whatever the time zone, an extended-time field
// without a time, and owner 0, so nothing of the moment or the machine gets
// in. Output goes unblocked to the stream, as libarchive hands it over.

#include "export/mame_zip.h"

#include <archive.h>
#include <archive_entry.h>

#include <cstddef>
#include <memory>
#include <string>

namespace {

constexpr int MEMBER_MODE = 0644;

// The reason when libarchive fails without words of its own.
constexpr char LIBARCHIVE_FAILED[] = "libarchive failed";

using ArchiveHandle = std::unique_ptr<archive, decltype(&archive_write_free)>;
using EntryHandle = std::unique_ptr<archive_entry, decltype(&archive_entry_free)>;

// The stream libarchive writes to, and its first failure.
struct ZipSink {
  FileStream& out;
  FsResult failure;
};

la_ssize_t write_to_sink(archive*, void* data, const void* buffer, std::size_t size) {
  auto* sink = static_cast<ZipSink*>(data);
  if (!sink->failure.ok()) return -1;
  sink->failure = sink->out.write(buffer, size);
  return sink->failure.ok() ? static_cast<la_ssize_t>(size) : -1;
}

// The result of a libarchive call that failed: the disk's failure when the
// sink met one, else libarchive's own words.
ZipWriteResult failure_of(archive* writing, const ZipSink& sink) {
  if (!sink.failure.ok()) return {sink.failure, ""};
  const char* words = archive_error_string(writing);
  return {{}, words != nullptr ? words : LIBARCHIVE_FAILED};
}

bool set_up(archive* writing, ZipSink& sink) {
  return archive_write_set_format_zip(writing) == ARCHIVE_OK &&
         archive_write_set_option(writing, "zip", "compression", "deflate") == ARCHIVE_OK &&
         archive_write_set_bytes_per_block(writing, 0) == ARCHIVE_OK &&
         archive_write_open2(writing, &sink, nullptr, write_to_sink, nullptr, nullptr) ==
             ARCHIVE_OK;
}

bool write_member(archive* writing, const ZipMemberData& member) {
  const EntryHandle entry(archive_entry_new(), &archive_entry_free);
  if (entry == nullptr) return false;
  archive_entry_set_pathname(entry.get(), member.name.c_str());
  archive_entry_set_size(entry.get(), static_cast<la_int64_t>(member.size));
  archive_entry_set_filetype(entry.get(), AE_IFREG);
  archive_entry_set_perm(entry.get(), MEMBER_MODE);
  if (archive_write_header(writing, entry.get()) != ARCHIVE_OK) return false;
  if (member.size == 0) return true;
  return archive_write_data(writing, member.data, member.size) ==
         static_cast<la_ssize_t>(member.size);
}

}  // namespace

ZipWriteResult write_reproducible_zip(FileStream& out, const std::vector<ZipMemberData>& members) {
  if (const std::string refused = refused_member_names(members); !refused.empty()) {
    return {{}, refused};
  }
  ZipSink sink{out, {}};
  const ArchiveHandle writing(archive_write_new(), &archive_write_free);
  if (writing == nullptr) return {{}, LIBARCHIVE_FAILED};
  if (!set_up(writing.get(), sink)) return failure_of(writing.get(), sink);
  for (const ZipMemberData& member : members) {
    if (!write_member(writing.get(), member)) return failure_of(writing.get(), sink);
  }
  // The central directory is written at the close.
  if (archive_write_close(writing.get()) != ARCHIVE_OK) return failure_of(writing.get(), sink);
  return {out.flush(), ""};
}

bool zip_writing_available() {
  return true;
}
