// Opening archives, finding their end record and walking their directory:
// archives made by Info-ZIP zip, and byte-built ones for what zip never makes.

#include <map>

#include "sample_images.h"
#include "zip_test_support.h"

namespace {

using namespace ziptest;

// Archives made by Info-ZIP zip from known members.
class ZipToolTest : public ZipTest {
 protected:
  void SetUp() override {
    if (ON_WINDOWS) GTEST_SKIP() << "the archives are made by Info-ZIP zip, a Linux program here";
    ZipTest::SetUp();
    members["game.bin"] = make_sample_image(0x0a25900b, 4096, 3);
    members["manual.txt"] = half_compressible(100000);  // several 16 KiB chunks deflated
    members["notes.txt"] = Bytes(3000, 'n');
    for (const auto& [name, bytes] : members) write_bytes(source / name, bytes);
  }

  // zip `options` of the members, with an archive comment of `comment`
  // (given to zip on standard input).
  std::string make_archive(const std::string& options, const std::string& comment = "") {
    const std::string zip = find_on_path("zip");
    EXPECT_FALSE(zip.empty()) << "Info-ZIP zip is not on PATH; scripts/install-deps.sh installs it";
    const std::string archive = files / "made.zip";
    std::remove(archive.c_str());
    write_text(source / "comment.in", comment);
    const std::string comment_option = comment.empty() ? "" : " -z";
    shell(source.path(), zip + " -q " + options + comment_option + " '" + archive +
                             "' game.bin manual.txt notes.txt < comment.in");
    keep_as_seed(read_bytes(archive));
    return archive;
  }

  TempDir source;
  std::map<std::string, Bytes> members;
};

TEST_F(ZipToolTest, ListsAndExtractsStoredAndDeflatedMembers) {
  for (const std::string options : {"-0", "-9"}) {
    const ZipHandle archive = open_capturing(make_archive(options));
    ASSERT_NE(archive, nullptr) << options;
    std::map<std::string, std::uint16_t> methods;
    for (const ListedEntry& entry : list_entries(*archive)) {
      const Bytes& source_bytes = members.at(entry.name);
      EXPECT_EQ(entry.fields.crc, crc32_of(source_bytes)) << entry.name;
      ASSERT_EQ(entry.fields.uncompressedSize, source_bytes.size()) << entry.name;
      Bytes extracted(entry.fields.uncompressedSize);
      EXPECT_TRUE(zip_read_entry(*archive, entry.fields, extracted.data()).ok()) << entry.name;
      EXPECT_EQ(extracted, source_bytes) << options << " " << entry.name;
      methods[entry.name] = entry.fields.method;
    }
    EXPECT_EQ(methods.size(), members.size());
    EXPECT_EQ(methods["manual.txt"], options == "-0" ? 0 : 8);
    EXPECT_EQ(methods["notes.txt"], options == "-0" ? 0 : 8);
  }
  EXPECT_EQ(console, "");
  EXPECT_FALSE(file_exists(start / "Vald_ZIP.txt"));
}

TEST_F(ZipToolTest, FindsTheEndRecordBehindCommentsWithGrowingWindows) {
  const struct {
    std::size_t comment;
    std::vector<std::size_t> windows;
  } cases[] = {
      {0, {1024}},
      {1002, {1024}},  // signature exactly 1,024 bytes from the end
      {1003, {1024, 2048}},
      {60000, {1024, 2048, 4096, 8192, 16384, 32768, 65536}},
  };
  for (const auto& test : cases) {
    const std::string comment = comment_of_size(test.comment);
    const std::string path = make_archive("-9", comment);
    const Bytes bytes = read_bytes(path);
    // zip wrote the comment at the size wanted: the record sits right before it.
    ASSERT_EQ(Bytes(bytes.end() - test.comment - 22, bytes.end() - test.comment - 18),
              (Bytes{'P', 'K', 5, 6}));

    FaultyStreams streams;
    const ZipHandle archive = open_capturing(path);
    ASSERT_NE(archive, nullptr);
    streams.reads.pop_back();  // the central directory
    EXPECT_EQ(streams.reads, test.windows) << test.comment;
    EXPECT_EQ(archive->commentLength, test.comment);
    std::string stored = comment;
    for (std::size_t at = stored.find('\n'); at != std::string::npos;
         at = stored.find('\n', at + 2)) {
      stored.insert(at, "\r");
    }
    EXPECT_EQ(archive->comment, stored);
    EXPECT_EQ(list_entries(*archive).size(), 3u);
  }
}

TEST_F(ZipTest, TheSignatureNearestTheEndWithARecordAfterItWins) {
  ZipBuilder builder;
  builder.add("game.bin", Bytes(100, 7), false);
  // A signature with only 21 bytes after it is not a record: the real one wins.
  builder.end.comment = std::string("PK\x05\x06", 4) + std::string(17, '\0');
  const ZipHandle archive = open_capturing(write_archive(builder.build()));
  ASSERT_NE(archive, nullptr);
  EXPECT_EQ(list_entries(*archive).size(), 1u);

  // With 22 bytes it is, and it wins: it claims no entries.
  builder.end.comment += '\0';
  EXPECT_EQ(open_capturing(write_archive(builder.build())), nullptr);
  EXPECT_NE(console.find(UNSUPPORTED), std::string::npos);
  EXPECT_NE(log_text().find(": Cannot span disks\n"), std::string::npos);
}

TEST_F(ZipTest, SearchesWholeSmallFilesButNoMoreThanTheLongestRecordOfBigOnes) {
  const struct {
    std::size_t size;
    std::vector<std::size_t> windows;
  } cases[] = {
      {1, {1}},
      {21, {21}},  // a signature but too short for a record
      {3000, {1024, 2048, 3000}},
      {200000, {1024, 2048, 4096, 8192, 16384, 32768, 65536, 65557}},
  };
  for (const auto& test : cases) {
    Bytes bytes(test.size, 'z');
    if (test.size < 22)
      std::copy_n("PK\x05\x06", std::min<std::size_t>(4, test.size), bytes.begin());
    FaultyStreams streams;
    const std::string path = write_archive(bytes);
    EXPECT_EQ(open_capturing(path), nullptr);
    EXPECT_EQ(streams.reads, test.windows) << test.size;
  }
  EXPECT_EQ(count_of(log_text(), ": Reading ECD (end of central directory)\n"), 4);

  // 22 bytes are enough: a bare record is found (and refused for its zero entries).
  EXPECT_EQ(open_capturing(write_archive(ZipBuilder().build())), nullptr);
  EXPECT_EQ(count_of(log_text(), ": Cannot span disks\n"), 1);
}

TEST_F(ZipTest, DecodesEveryFieldOfTheDirectory) {
  ZipBuilder builder;
  builder.add("first.bin", Bytes(10, 1), false);
  Member& second = builder.add("second.a26", half_compressible(5000), true);
  second.versionNeeded = 20;
  second.hostSystemNeeded = 0;
  second.extra = Bytes(9, 'e');
  second.comment = Bytes(5, 'c');
  const ZipHandle archive = open_capturing(write_archive(builder.build()));
  ASSERT_NE(archive, nullptr);
  EXPECT_EQ(archive->totalEntries, 2);
  const auto entries = list_entries(*archive);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "first.bin");
  EXPECT_EQ(entries[0].fields.localHeaderOffset, 0u);
  const ZipEntry& fields = entries[1].fields;
  EXPECT_EQ(entries[1].name, "second.a26");
  EXPECT_EQ(fields.signature, 0x02014B50u);
  EXPECT_EQ(fields.versionMadeBy, 20);
  EXPECT_EQ(fields.hostSystem, 3);
  EXPECT_EQ(fields.method, 8);
  EXPECT_EQ(fields.modificationDate, 0x21);
  EXPECT_EQ(fields.crc, crc32_of(half_compressible(5000)));
  EXPECT_EQ(fields.compressedSize, second.payload.size());
  EXPECT_EQ(fields.uncompressedSize, 5000u);
  EXPECT_EQ(fields.nameLength, 10);
  EXPECT_EQ(fields.extraLength, 9);
  EXPECT_EQ(fields.commentLength, 5);
  EXPECT_EQ(fields.localHeaderOffset, 30u + 9 + 10);
  EXPECT_EQ(console, "");
}

TEST_F(ZipTest, AnEntryThatDoesNotFitEndsTheWalkAfterThePreviousOne) {
  const auto walk = [this](ZipBuilder& builder) {
    const ZipHandle archive = open_capturing(write_archive(builder.build()));
    EXPECT_NE(archive, nullptr);
    if (archive == nullptr) return std::size_t{0};
    testing::internal::CaptureStdout();
    const std::size_t count = list_entries(*archive).size();
    const ZipEntry* entry = nullptr;
    EXPECT_TRUE(zip_next_entry(*archive, entry).ok());  // stays ended, reported once
    EXPECT_EQ(entry, nullptr);
    console += testing::internal::GetCapturedStdout();
    return count;
  };
  ZipBuilder long_name;
  long_name.add("one.bin", Bytes(10, 1), false);
  long_name.add("two.bin", Bytes(10, 2), false).nameLength = 8;  // one byte past the end
  EXPECT_EQ(walk(long_name), 1u);

  ZipBuilder cut_header;
  cut_header.add("one.bin", Bytes(10, 1), false);
  cut_header.add("two.bin", Bytes(10, 2), false);
  cut_header.end.directorySize = 46 + 7 + 45;  // the second header lacks a byte
  EXPECT_EQ(walk(cut_header), 1u);
  EXPECT_EQ(count_of(console, CORRUPT), 2);
  EXPECT_EQ(count_of(log_text(), ": Invalid filename length in directory\n"), 2);

  // An extra field running past the end is not checked: the walk just ends.
  ZipBuilder long_extra;
  long_extra.add("one.bin", Bytes(10, 1), false).extra = Bytes(20, 'e');
  long_extra.end.directorySize = 46 + 7 + 10;
  EXPECT_EQ(walk(long_extra), 1u);
  EXPECT_EQ(count_of(console, CORRUPT), 2);
}

}  // namespace
