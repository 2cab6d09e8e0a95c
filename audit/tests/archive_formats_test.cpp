// Archives as collectors meet them: made by Info-ZIP, Python and 7-Zip, and
// damaged byte by byte. Each is identified under the CRC-32 its data have,
// or refused with a message; none is ever counted under a CRC it lacks.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "archive/archive_reader.h"
#include "sample_images.h"
#include "test_support.h"
#include "zip_test_support.h"

namespace {

using ziptest::Bytes;

// 7-Zip's command: `7z` from p7zip, `7zz` from Debian's 7zip package.
std::string seven_zip() {
  const std::string old_name = ziptest::find_on_path("7z");
  return old_name.empty() ? ziptest::find_on_path("7zz") : old_name;
}

std::string hex(std::uint32_t crc) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", crc);
  return text;
}

class ArchiveFormatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ON_WINDOWS) GTEST_SKIP() << "the archives are made by Linux programs (zip, python3, 7z)";
    write_bytes(source / "game.bin", image);
    write_bytes(source / "other.a26", make_sample_image(0x00c0ffee, 4096, 2));
    write_text(source / "manual.txt", "Press fire to start.\n");
  }

  // Runs `command` in the source folder, where game.bin (the catalogued
  // image), other.a26 and manual.txt lie; %7z stands for 7-Zip's command.
  void make(std::string command) {
    const std::size_t at = command.find("%7z");
    if (at != std::string::npos) command.replace(at, 3, seven_zip());
    ziptest::shell(source.path(), command);
  }
  void move_to_work(const std::string& name) {
    ASSERT_EQ(std::rename((source / name).c_str(), sandbox.work(name).c_str()), 0) << name;
  }
  bool needs_seven_zip() const {
    if (!libarchive_available()) std::printf("skipped: this build has no libarchive\n");
    if (seven_zip().empty()) std::printf("skipped: no 7z or 7zz command on PATH\n");
    return !libarchive_available() || seven_zip().empty();
  }
  // The scan record of `archive`, under its name without extension.
  std::string record(const std::string& archive) const {
    return "\"" + hex(crc) + " " + archive.substr(0, archive.rfind('.')) + "\",\n";
  }
  std::string zip_log() const { return read_text(sandbox.work("Vald_ZIP.txt")); }

  ValdSandbox sandbox;
  TempDir source;
  const int title = catalogue_index_of("3-D Tic-Tac-Toe (1978) (Atari) (PAL)");
  const std::uint32_t crc = catalogue_crc(title);
  const Bytes image = make_sample_image(crc, 4096, 1);
};

struct MadeArchive {
  const char* name;
  bool libarchive;  // read through libarchive, or made by 7-Zip
  const char* command;
};

const MadeArchive MADE_ARCHIVES[] = {
    {"fz.zip", false, "zip -q -fz fz.zip manual.txt game.bin"},
    {"py64.zip", false,
     "python3 -c \"import zipfile as z; a = z.ZipFile('py64.zip', 'w', z.ZIP_DEFLATED); "
     "a.open('game.bin', 'w', force_zip64=True).write(open('game.bin', 'rb').read()); a.close()\""},
    {"pybz.zip", true,
     "python3 -c \"import zipfile as z; z.ZipFile('pybz.zip', 'w', z.ZIP_BZIP2)"
     ".write('game.bin')\""},
    {"pylz.zip", true,
     "python3 -c \"import zipfile as z; z.ZipFile('pylz.zip', 'w', z.ZIP_LZMA)"
     ".write('game.bin')\""},
    {"lzma.7z", true, "%7z a -bso0 -m0=LZMA lzma.7z game.bin manual.txt"},
    {"lzma2.7z", true, "%7z a -bso0 -m0=LZMA2 lzma2.7z manual.txt game.bin"},
    {"ppmd.7z", true, "%7z a -bso0 -m0=PPMd ppmd.7z game.bin"},
    {"bzip2.zip", true, "%7z a -bso0 -tzip -mm=BZip2 bzip2.zip game.bin"},
};

// One scan over every kind of archive: one record each, under the image's CRC.
TEST_F(ArchiveFormatsTest, ArchivesOfCommonToolsAreIdentified) {
  const bool without_libarchive = needs_seven_zip();
  std::vector<const MadeArchive*> made;
  for (const MadeArchive& archive : MADE_ARCHIVES) {
    if (archive.libarchive && without_libarchive) continue;
    make(archive.command);
    move_to_work(archive.name);
    made.push_back(&archive);
  }
  const ProgramResult result = sandbox.run({"scan"});
  const std::string scan_log = read_text(sandbox.work("2600Scan.txt"));
  for (const MadeArchive* archive : made) {
    EXPECT_NE(scan_log.find(record(archive->name)), std::string::npos) << archive->name << "\n"
                                                                       << result.out;
  }
  EXPECT_EQ(count_of(scan_log, "\n"), static_cast<int>(made.size())) << scan_log;
  EXPECT_EQ(result.out.find("Error"), std::string::npos) << result.out;
}

TEST_F(ArchiveFormatsTest, SevenZipArchiveIsRenamedKeepingItsExtension) {
  if (needs_seven_zip()) GTEST_SKIP() << "needs libarchive and 7-Zip";
  make("%7z a -bso0 river.7z manual.txt game.bin");
  move_to_work("river.7z");
  const ProgramResult result = sandbox.run({"rename"});
  EXPECT_TRUE(file_exists(sandbox.work("2600Ren/" + catalogue_name(title) + ".7z"))) << result.out;
}

// A damaged or unreadable archive: what the console and the log say.
struct Refusal {
  const char* name;
  bool sevenZip;
  const char* command;  // makes `name` in the source folder
  const char* logged;   // in "Vald_ZIP.txt", after "Error in zipfile NAME: " (7z: archive)
  const char* console;  // on the console
};

const Refusal REFUSALS[] = {
    {"locked.zip", false, "zip -q -e -P fire locked.zip game.bin",
     "Encrypted, cannot be read: game.bin", "encrypted"},
    {"locked.7z", true, "%7z a -bso0 -pfire locked.7z game.bin",
     "Encrypted, cannot be read: game.bin", "encrypted"},
    {"hidden.7z", true, "%7z a -bso0 -pfire -mhe=on hidden.7z game.bin",
     "Encrypted, cannot be read:", "encrypted"},
    {"deep.7z", true,
     "head -c 70000000 /dev/zero > big.txt && %7z a -bso0 deep.7z big.txt game.bin && rm big.txt",
     "Too much data to unpack before game.bin", "Error reading deep.7z ... skipping"},
    {"two.7z", true, "%7z a -bso0 two.7z game.bin other.a26", nullptr,
     "Multiple ROMS found in two.7z ... skipping"},
    {"text.7z", true, "%7z a -bso0 text.7z manual.txt", nullptr,
     "NO Atari 2600 ROMS found in text.7z"},
    {"cut.7z", true, "%7z a -bso0 cut.7z game.bin && head -c 300 cut.7z > c && mv c cut.7z",
     "Decoding failed", "Error in archive cut.7z\nThe archive seems to be corrupt"},
    // The last byte of the packed data, which holds image bytes in every method.
    {"flipped.7z", true,
     "%7z a -bso0 -m0=Copy flipped.7z game.bin && printf '\\001' | dd of=flipped.7z bs=1 "
     "seek=100 conv=notrunc status=none",
     "Decoding failed", "Error reading flipped.7z ... skipping"},
};

TEST_F(ArchiveFormatsTest, RefusedArchivesAreReportedAndNeverCounted) {
  const bool without_seven_zip = needs_seven_zip();
  std::vector<const Refusal*> made;
  for (const Refusal& refusal : REFUSALS) {
    if (refusal.sevenZip && without_seven_zip) continue;
    make(refusal.command);
    move_to_work(refusal.name);
    made.push_back(&refusal);
  }
  const ProgramResult result = sandbox.run({"scan"});
  EXPECT_FALSE(file_exists(sandbox.work("2600Scan.txt")));
  for (const Refusal* refusal : made) {
    EXPECT_NE(result.out.find(refusal->console), std::string::npos) << refusal->name << "\n"
                                                                    << result.out;
    if (refusal->logged == nullptr) continue;
    const std::string line =
        std::string(refusal->sevenZip ? "Error in archive " : "Error in zipfile ") + refusal->name +
        ": ";
    EXPECT_NE(zip_log().find(line + refusal->logged), std::string::npos) << zip_log();
  }
}

// Raw deflate data of `image` with one bit flipped such that it still
// inflates to as many bytes, only different ones.
Bytes deflated_with_a_harmless_looking_flip(const Bytes& image) {
  const Bytes packed = ziptest::raw_deflate(image);
  for (std::size_t bit = 8 * packed.size() / 2; bit < 8 * packed.size(); ++bit) {
    Bytes flipped = packed;
    flipped[bit / 8] ^= static_cast<unsigned char>(1u << (bit % 8));
    Bytes out(image.size());
    z_stream stream{};
    inflateInit2(&stream, -MAX_WBITS);
    stream.next_in = flipped.data();
    stream.avail_in = static_cast<uInt>(flipped.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    if (result == Z_STREAM_END && stream.avail_out == 0 && stream.avail_in == 0 && out != image) {
      return flipped;
    }
  }
  return {};
}

struct Damage {
  const char* name;
  bool deflated;
  void (*spoil)(ziptest::Member& member, const Bytes& image);
  const char* logged;
};

const Damage DAMAGES[] = {
    {"byte.zip", false, [](ziptest::Member& m, const Bytes&) { m.payload[1000] ^= 0x40; },
     "CRC mismatch in game.bin (archive says "},
    {"flip.zip", true,
     [](ziptest::Member& m, const Bytes& image) {
       m.payload = deflated_with_a_harmless_looking_flip(image);
       m.compressedSize = static_cast<std::uint32_t>(m.payload.size());
     },
     "CRC mismatch in game.bin (archive says "},
    {"local.zip", false, [](ziptest::Member& m, const Bytes&) { m.localCrc = m.crc ^ 1; },
     "CRC mismatch in game.bin (local header says "},
    {"aes.zip", true, [](ziptest::Member& m, const Bytes&) { m.method = 99; },
     "Encrypted, cannot be read: game.bin"},
};

// The user's case: a catalogued CRC in the directory over data that do not
// have it. Nothing moves, nothing counts, nothing is recorded.
TEST_F(ArchiveFormatsTest, DamagedMembersAreNeitherMovedCountedNorRecorded) {
  for (const Damage& damage : DAMAGES) {
    ziptest::ZipBuilder builder;
    damage.spoil(builder.add("game.bin", image, damage.deflated), image);
    write_bytes(sandbox.work(damage.name), builder.build());
  }
  const ProgramResult renaming = sandbox.run({"rename"});
  EXPECT_FALSE(file_exists(sandbox.work("2600Ren")));
  const ProgramResult listing = sandbox.run({"list"});
  EXPECT_NE(listing.out.find("You are missing 1544 of"), std::string::npos) << listing.out;
  sandbox.run({"scan"});
  EXPECT_FALSE(file_exists(sandbox.work("2600Scan.txt")));
  for (const Damage& damage : DAMAGES) {
    const std::string line = "Error in zipfile " + std::string(damage.name) + ": ";
    EXPECT_EQ(count_of(zip_log(), line + damage.logged), 3) << zip_log();
    EXPECT_NE(renaming.out.find("Error in zipfile " + std::string(damage.name)), std::string::npos);
  }
}

// A reader never writes past its limit, whatever the archive says.
TEST_F(ArchiveFormatsTest, MemberLargerThanTheLimitIsRefused) {
  ziptest::ZipBuilder builder;
  builder.add("game.bin", image, true);
  write_bytes(sandbox.work("own.zip"), builder.build());
  std::vector<std::pair<std::string, ArchiveFormat>> archives = {{"own.zip", ArchiveFormat::zip}};
  if (!needs_seven_zip()) {
    make("%7z a -bso0 big.7z game.bin");
    move_to_work("big.7z");
    archives.push_back({"big.7z", ArchiveFormat::sevenZip});
  }
  for (const auto& [name, format] : archives) {
    std::unique_ptr<ArchiveReader> reader;
    ASSERT_TRUE(open_archive(sandbox.work(name).c_str(), format, reader).ok());
    ASSERT_FALSE(reader->members().empty());
    Bytes room(image.size() - 1);
    std::size_t size = 0;
    std::uint32_t data_crc = 0;
    const ZipResult read = reader->read_member(0, room.data(), room.size(), size, data_crc);
    EXPECT_EQ(read.error, ZipError::memberTooLarge) << name;
    EXPECT_FALSE(read.ok()) << name;
  }
}

}  // namespace
