#pragma once
// Shared by the ZIP reader's tests: a byte-level archive builder for what no
// tool makes, Info-ZIP zip for what real tools make, stream faults, and a
// fixture that sends "Vald_ZIP.txt" to a temporary start directory.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "run/run_state.h"
#include "sample_images.h"
#include "system/file_system.h"
#include "test_disks.h"
#include "test_support.h"
#include "zip/zip_reader.h"

namespace ziptest {

using Bytes = std::vector<unsigned char>;

inline Bytes raw_deflate(const Bytes& data) {
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  Bytes out(deflateBound(&stream, data.size()));
  stream.next_in = const_cast<unsigned char*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

// Bytes that compress to about half: 16 letters in a scrambled order.
inline Bytes half_compressible(std::size_t size, std::uint32_t seed = 1) {
  Bytes bytes(size);
  for (auto& byte : bytes) {
    seed = seed * 1103515245u + 12345u;
    byte = static_cast<unsigned char>('a' + ((seed >> 16) & 15));
  }
  return bytes;
}

// One member; add() fills every field from the data, tests then break them.
struct Member {
  std::string name;
  Bytes payload;  // the bytes after the local header
  std::uint8_t versionNeeded = 20, hostSystemNeeded = 0;
  std::uint16_t method = 0, diskStart = 0;
  std::uint32_t crc = 0, compressedSize = 0, uncompressedSize = 0;
  std::optional<std::uint16_t> nameLength;  // the central header's, when it lies
  std::optional<std::uint32_t> localHeaderOffset;
  std::optional<std::uint32_t> localCrc;  // the local header's, when it differs
  Bytes localExtra, extra, comment;
};

struct EndFields {
  std::optional<std::uint16_t> diskNumber, directoryDisk, entriesOnDisk, totalEntries;
  std::optional<std::uint32_t> directorySize, directoryOffset;
  std::string comment;
};

class ZipBuilder {
 public:
  Member& add(const std::string& name, const Bytes& data, bool deflated) {
    Member member;
    member.name = name;
    member.payload = deflated ? raw_deflate(data) : data;
    member.method = deflated ? 8 : 0;
    member.crc = static_cast<std::uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
    member.compressedSize = static_cast<std::uint32_t>(member.payload.size());
    member.uncompressedSize = static_cast<std::uint32_t>(data.size());
    members_.push_back(member);
    return members_.back();
  }

  Bytes build() const {
    Bytes out, directory;
    for (const Member& member : members_) {
      put_directory_header(directory, member, out.size());
      put_local_header(out, member);
    }
    const std::size_t offset = out.size();
    append(out, directory);
    put_end_record(out, directory.size(), offset);
    return out;
  }

  EndFields end;

 private:
  static void put_local_header(Bytes& out, const Member& member) {
    put(out, 0x04034B50, 4);
    put(out, member.versionNeeded, 1);
    put(out, member.hostSystemNeeded, 1);
    put(out, 0, 2);  // flags
    put(out, member.method, 2);
    put(out, 0, 2);     // time
    put(out, 0x21, 2);  // date
    put(out, member.localCrc.value_or(member.crc), 4);
    put(out, member.compressedSize, 4);
    put(out, member.uncompressedSize, 4);
    put(out, member.name.size(), 2);
    put(out, member.localExtra.size(), 2);
    append(out, member.name, member.localExtra, member.payload);
  }

  static void put_directory_header(Bytes& out, const Member& member, std::size_t offset) {
    put(out, 0x02014B50, 4);
    put(out, 0x0314, 2);  // made by 2.0 on Unix
    put(out, member.versionNeeded, 1);
    put(out, member.hostSystemNeeded, 1);
    put(out, 0, 2);  // flags
    put(out, member.method, 2);
    put(out, 0, 2);     // time
    put(out, 0x21, 2);  // date
    put(out, member.crc, 4);
    put(out, member.compressedSize, 4);
    put(out, member.uncompressedSize, 4);
    put(out, member.nameLength.value_or(member.name.size()), 2);
    put(out, member.extra.size(), 2);
    put(out, member.comment.size(), 2);
    put(out, member.diskStart, 2);
    put(out, 0, 2);  // internal attributes
    put(out, 0, 4);  // external attributes
    put(out, member.localHeaderOffset.value_or(offset), 4);
    append(out, member.name, member.extra, member.comment);
  }

  void put_end_record(Bytes& out, std::size_t directory_size, std::size_t offset) const {
    const std::size_t count = members_.size();
    put(out, 0x06054B50, 4);
    put(out, end.diskNumber.value_or(0), 2);
    put(out, end.directoryDisk.value_or(0), 2);
    put(out, end.entriesOnDisk.value_or(count), 2);
    put(out, end.totalEntries.value_or(count), 2);
    put(out, end.directorySize.value_or(directory_size), 4);
    put(out, end.directoryOffset.value_or(offset), 4);
    put(out, end.comment.size(), 2);
    append(out, end.comment);
  }

  static void put(Bytes& out, std::uint64_t value, int width) {
    for (int index = 0; index < width; ++index) {
      out.push_back(static_cast<unsigned char>(value >> (8 * index)));
    }
  }
  template <typename... Pieces>
  static void append(Bytes& out, const Pieces&... pieces) {
    (out.insert(out.end(), pieces.begin(), pieces.end()), ...);
  }

  std::deque<Member> members_;  // add() hands out references that must stay valid
};

// Full path of `program` found on PATH; empty when it is not there.
inline std::string find_on_path(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string directories = path != nullptr ? path : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= directories.size();) {
    std::size_t colon = directories.find(':', start);
    if (colon == std::string::npos) colon = directories.size();
    const std::string candidate = directories.substr(start, colon - start) + "/" + program;
    if (file_exists(candidate)) return candidate;
    start = colon + 1;
  }
  return {};
}

// Runs a shell command line in `directory` (Info-ZIP zip reads an archive
// comment from standard input).
inline void shell(const std::string& directory, const std::string& command) {
  const ProgramResult result = run_program("/bin/sh", {"-c", command}, directory, directory);
  ASSERT_EQ(result.exitCode, 0) << command << "\n" << result.out << result.err;
}

// A comment that Info-ZIP zip stores as exactly `size` bytes: it keeps lines
// short and turns each line end but the last into CR LF.
inline std::string comment_of_size(std::size_t size) {
  std::string text;
  std::size_t stored = 0;
  while (stored < size) {
    if (stored > 0) {
      text += '\n';
      stored += 2;
    }
    // Never leave one or two bytes over: a line end needs two and a line one.
    const std::size_t left = size - stored;
    const std::size_t line = left <= 78 ? left : (left - 78 < 3 ? left - 3 : 78);
    text.append(line, static_cast<char>('a' + text.size() % 26));
    stored += line;
  }
  return text;
}

// A disk whose streams fail where a test says: the seek whose number (from
// 1) is failingSeek, or every tell; it records the size of every read. In
// use while the object lives.
class FaultyStreams : public PassingFileSystem {
 public:
  FaultyStreams() { use_file_system(this); }
  ~FaultyStreams() override { use_file_system(nullptr); }
  FaultyStreams(const FaultyStreams&) = delete;
  FaultyStreams& operator=(const FaultyStreams&) = delete;

  FsResult open(const std::string& path, const char* mode, FileHandle& file,
                bool wholeReads) override {
    FsResult opened = PassingFileSystem::open(path, mode, file, wholeReads);
    if (opened.ok()) file = std::make_unique<Stream>(*this, std::move(file));
    return opened;
  }

  int seeks = 0;
  int failingSeek = 0;
  bool failTell = false;
  std::vector<std::size_t> reads;  // sizes asked for, in order

 private:
  class Stream final : public FileStream {
   public:
    Stream(FaultyStreams& owner, FileHandle file) : owner_(owner), file_(std::move(file)) {}
    std::size_t read(void* buffer, std::size_t count) override {
      owner_.reads.push_back(count);
      return file_->read(buffer, count);
    }
    FsResult seek(std::int64_t offset, int whence) override {
      if (++owner_.seeks == owner_.failingSeek) return fs_failure(FsStatus::failed, EINVAL, "");
      return file_->seek(offset, whence);
    }
    std::int64_t tell() override { return owner_.failTell ? -1 : file_->tell(); }
    FsResult write(const void* data, std::size_t count) override {
      return file_->write(data, count);
    }
    FsResult flush() override { return file_->flush(); }
    FsResult sync() override { return file_->sync(); }
    FsResult truncate(std::int64_t size) override { return file_->truncate(size); }
    FsResult failure() const override { return file_->failure(); }
    FsResult close() override { return file_->close(); }

   private:
    FaultyStreams& owner_;
    FileHandle file_;
  };
};

// Sends the ZIP log to a temporary start directory (HOME too) and puts the
// run state and the stream calls back afterwards.
class ZipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_run_state();
    run_state().directories.start = start.path();
    if (const char* home_now = std::getenv("HOME")) savedHome = home_now;
    set_environment("HOME", home.path());
  }
  void TearDown() override {
    use_file_system(nullptr);
    reset_run_state();
    set_environment("HOME", savedHome);
  }

  std::string write_archive(const Bytes& bytes, const std::string& name = "test.zip") {
    const std::string path = files / name;
    write_bytes(path, bytes);
    keep_as_seed(bytes);
    return path;
  }

  // With VALD_ZIP_SEED_DIR set, every archive a test builds is also kept
  // there: that is how the fuzzer's seed corpus (fuzz/corpus) was made.
  static void keep_as_seed(const Bytes& bytes) {
    const char* directory = std::getenv("VALD_ZIP_SEED_DIR");
    if (directory == nullptr || *directory == '\0') return;
    char name[32];
    std::snprintf(name, sizeof name, "/%08x-%zu.zip", crc32_of(bytes), bytes.size());
    write_bytes(directory + std::string(name), bytes);
  }

  std::string log_text() {
    if (run_state().logs.zip.file != nullptr) {
      EXPECT_TRUE(run_state().logs.zip.file->flush().ok());
    }
    return read_text(start / "Vald_ZIP.txt");
  }

  // Says `result`, when it failed, as the dispatch says it, for the archive
  // opened last.
  void say(const ZipResult& result) {
    if (!result.ok()) zip_report(run_state().logs.zip, ArchiveFormat::zip, path.c_str(), result);
  }

  // Opens with standard output captured into `console`; nullptr on failure.
  ZipHandle open_capturing(const std::string& archive_path) {
    path = archive_path;
    ZipHandle archive;
    testing::internal::CaptureStdout();
    say(zip_open(path.c_str(), archive));
    console += testing::internal::GetCapturedStdout();
    return archive;
  }

  // The entries of an open archive, names and all, until the walk ends.
  struct ListedEntry {
    ZipEntry fields;
    std::string name;
  };
  std::vector<ListedEntry> list_entries(ZipArchive& archive) {
    std::vector<ListedEntry> entries;
    for (;;) {
      const ZipEntry* entry = nullptr;
      say(zip_next_entry(archive, entry));
      if (entry == nullptr) return entries;
      entries.push_back({*entry, entry->name});
    }
  }

  TempDir start, home, files;
  std::string savedHome;
  std::string console;
  std::string path;  // of the archive opened last
};

// A test name made of the letters and digits of a row's description.
inline std::string row_name(const char* fault) {
  std::string name;
  for (const char* c = fault; *c != '\0'; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
  }
  return name;
}

inline constexpr char CORRUPT[] = "The zipfile seems to be corrupt, please check it";
inline constexpr char UNSUPPORTED[] =
    "The format of this zipfile is not supported, please recompress it";
inline constexpr char FILE_SYSTEM[] = "Your filesystem seems to be corrupt, please check it";

}  // namespace ziptest
