#include "catalogue/entry_verification.h"

#include <gtest/gtest.h>

#include <vector>

#include "catalogue/rom_database.h"
#include "run/run_state.h"
#include "sample_images.h"
#include "system/image_hashes.h"

namespace {

// libgcrypt gives the FIPS 180 and RFC 1321 digests of "abc".
TEST(EntryVerificationTest, KnownDigests) {
  EXPECT_EQ(sha1_of("abc", 3),
            (Sha1Digest{0xa9, 0x99, 0x3e, 0x36, 0x47, 0x06, 0x81, 0x6a, 0xba, 0x3e,
                        0x25, 0x71, 0x78, 0x50, 0xc2, 0x6c, 0x9c, 0xd0, 0xd8, 0x9d}));
  EXPECT_EQ(md5_of("abc", 3), (Md5Digest{0x90, 0x01, 0x50, 0x98, 0x3c, 0xd2, 0x4f, 0xb0, 0xd6, 0x96,
                                         0x3f, 0x7d, 0x28, 0xe1, 0x7f, 0x72}));
}

// One image against entries that hold SHA-1 and MD5, MD5 only, nothing
// beyond the size: the genuine image, one forged to the same CRC-32, one
// of another size.
TEST(EntryVerificationTest, StrongestHashDecides) {
  reset_run_state();
  const std::vector<unsigned char> genuine = make_sample_image(0x12345678, 4096, 1);
  const std::vector<unsigned char> forged = make_sample_image(0x12345678, 4096, 2);
  std::vector<CatalogueEntry> entries(3);
  for (CatalogueEntry& entry : entries) entry.size = 4096;
  entries[0].sha1 = sha1_of(genuine.data(), genuine.size());
  entries[0].hasSha1 = entries[0].hasMd5 = true;  // the MD5 (zeros) is not looked at
  entries[1].md5 = md5_of(genuine.data(), genuine.size());
  entries[1].hasMd5 = true;
  for (std::size_t index = 0; index < entries.size(); ++index)
    entries[index].name = "Entry " + std::to_string(index);
  db_use_loaded_catalogue(entries);
  struct Row {
    int entry;
    const std::vector<unsigned char>* image;
    std::size_t size;
    VerifyFailure failed;
    VerifiedBy by;
  } rows[] = {
      {0, &genuine, 4096, VerifyFailure::none, VerifiedBy::sha1},
      {0, &forged, 4096, VerifyFailure::sha1, VerifiedBy::sha1},
      {1, &genuine, 4096, VerifyFailure::none, VerifiedBy::md5},
      {1, &forged, 4096, VerifyFailure::md5, VerifiedBy::md5},
      {2, &forged, 4096, VerifyFailure::none, VerifiedBy::crcOnly},
      {0, &genuine, 2048, VerifyFailure::size, VerifiedBy::crcOnly},
  };
  VerifyCounts counts;
  for (const Row& row : rows) {
    const Verification outcome = verify_entry(row.entry, row.image->data(), row.size);
    EXPECT_EQ(outcome.failed, row.failed) << row.entry;
    EXPECT_EQ(outcome.by, row.by) << row.entry;
    count_verification(counts, outcome);
  }
  EXPECT_EQ(verify_summary_line(counts),
            "Verified: 1 by SHA-1, 1 by MD5, 1 by CRC-32 only (3 refused)");
  EXPECT_EQ(verify_refusal_line("a.bin", db_name(0), VerifyFailure::sha1),
            "a.bin: not Entry 0: SHA-1 differs");
}

}  // namespace
