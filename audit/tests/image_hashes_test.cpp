#include "system/image_hashes.h"

#include <gtest/gtest.h>

namespace {

// The FIPS 180 and RFC 1321 test vectors for "abc".
TEST(ImageHashesTest, KnownVectors) {
  const Sha1Digest sha1 = sha1_of("abc", 3);
  EXPECT_EQ(sha1[0], 0xA9);
  EXPECT_EQ(sha1[19], 0x9D);
  const Md5Digest md5 = md5_of("abc", 3);
  EXPECT_EQ(md5[0], 0x90);
  EXPECT_EQ(md5[15], 0x72);
}

}  // namespace
