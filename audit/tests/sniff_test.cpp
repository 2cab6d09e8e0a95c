#include "sniff/sniff.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
using Patch = std::vector<std::pair<std::size_t, unsigned char>>;

// 1,024 zero bytes with `patch` applied.
Bytes image_with(const Patch& patch, std::size_t size = 1024) {
  Bytes bytes(size, 0);
  for (const auto& [offset, value] : patch) bytes[offset] = value;
  return bytes;
}

bool passes(const Bytes& bytes) {
  return sniff_2600_image(bytes.data(), bytes.size());
}

struct RuleCase {
  const char* what;
  Patch patch;
};

TEST(SniffTest, EachRuleAlonePasses) {
  const RuleCase cases[] = {
      {"signature A5 81 85 / 02", {{0, 0xA5}, {1, 0x81}, {2, 0x85}, {16, 0x02}}},
      {"signature 4C 0C D4 / 8E", {{0, 0x4C}, {1, 0x0C}, {2, 0xD4}, {16, 0x8E}}},
      {"signature at 258..263", {{258, 0x8D}, {261, 0x08}, {262, 0x8D}, {263, 0xED}}},
      {"signature DF A7 07 / 57", {{0, 0xDF}, {1, 0xA7}, {2, 0x07}, {16, 0x57}}},
      {"signature at 48/64/80/96", {{48, 0x29}, {64, 0xA2}, {80, 0x0F}, {96, 0x06}}},
      {"signature A2 20 A2 / F6", {{0, 0xA2}, {1, 0x20}, {2, 0xA2}, {16, 0xF6}}},
      {"CLD SEI .. .. TXS", {{300, 0xD8}, {301, 0x78}, {304, 0x9A}}},
      {"CLD LDX .. TXS", {{7, 0xD8}, {8, 0xA2}, {10, 0x9A}}},
      {"five of six opcodes", {{900, 0x78}, {901, 0xA9}, {902, 0xA5}, {903, 0x60}, {1023, 0x4C}}},
  };
  for (const RuleCase& rule : cases) {
    EXPECT_TRUE(passes(image_with(rule.patch))) << rule.what;
    // Any one byte of a fixed rule missing, and the rule no longer holds.
    if (rule.patch.size() <= 4) {
      for (std::size_t skip = 0; skip < rule.patch.size(); ++skip) {
        Patch partial = rule.patch;
        partial.erase(partial.begin() + static_cast<long>(skip));
        EXPECT_FALSE(passes(image_with(partial))) << rule.what << " without byte " << skip;
      }
    }
  }
}

TEST(SniffTest, ZeroBytesFail) {
  EXPECT_FALSE(passes(image_with({})));
}

TEST(SniffTest, StartupSequenceMayBeginAtOffset511ButNot512) {
  const Bytes sequence = {0xD8, 0x78, 0xA2, 0xFF, 0x9A};
  for (const std::size_t start : {511u, 512u}) {
    Patch patch;
    for (std::size_t index = 0; index < sequence.size(); ++index)
      patch.push_back({start + index, sequence[index]});
    EXPECT_EQ(passes(image_with(patch)), start == 511) << start;
  }
  // The CLD LDX TXS form has the same limit.
  EXPECT_TRUE(passes(image_with({{511, 0xD8}, {512, 0xA2}, {514, 0x9A}})));
  EXPECT_FALSE(passes(image_with({{512, 0xD8}, {513, 0xA2}, {515, 0x9A}})));
}

TEST(SniffTest, FourOfTheSixCommonOpcodesAreNotEnough) {
  const unsigned char opcodes[] = {0x78, 0xA9, 0xA5, 0x60, 0x4C, 0x8D};
  for (int left_out_a = 0; left_out_a < 6; ++left_out_a) {
    for (int left_out_b = left_out_a + 1; left_out_b < 6; ++left_out_b) {
      Patch four;
      Patch five;
      for (int index = 0; index < 6; ++index) {
        if (index != left_out_a && index != left_out_b)
          four.push_back({200u + index * 100u, opcodes[index]});
        if (index != left_out_a) five.push_back({200u + index * 100u, opcodes[index]});
      }
      EXPECT_FALSE(passes(image_with(four))) << left_out_a << "," << left_out_b;
      EXPECT_TRUE(passes(image_with(five))) << left_out_a;
    }
  }
}

TEST(SniffTest, OpcodesCountAnywhereInLargeImages) {
  Bytes bytes = image_with({}, 132096);
  const unsigned char opcodes[] = {0x78, 0xA9, 0xA5, 0x60, 0x4C};
  for (int index = 0; index < 5; ++index) bytes[132091 + index] = opcodes[index];
  EXPECT_TRUE(passes(bytes));
}

TEST(SniffTest, PlainTextFails) {
  std::string text;
  while (text.size() < 4096) text += "Lorem ipsum dolor sit amet, `quoted` text with x and L.\r\n";
  const Bytes bytes(text.begin(), text.begin() + 4096);
  EXPECT_FALSE(passes(bytes));
}

TEST(SniffTest, ShortBuffersAreReadSafely) {
  // The caller guarantees 1,024 bytes; shorter input must still not be read past.
  const Bytes tiny = {0xA5, 0x81, 0x85};
  EXPECT_FALSE(sniff_2600_image(tiny.data(), tiny.size()));
  EXPECT_FALSE(sniff_2600_image(nullptr, 0));
  const Bytes startup = {0xD8, 0x78, 0xA2, 0xFF, 0x9A};
  EXPECT_TRUE(sniff_2600_image(startup.data(), startup.size()));
}

}  // namespace
