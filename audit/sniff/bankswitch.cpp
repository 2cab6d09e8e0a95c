#include "sniff/bankswitch.h"

#include <cstdint>
#include <cstring>
#include <iterator>

namespace {

// The names, in the order of Scheme.
constexpr const char* SCHEME_NAMES[] = {
    "",    "2K",   "4K",  "4KSC", "F8", "F8SC", "F6",  "F6SC",  "F4",  "F4SC", "FE",
    "3F",  "3E",   "3E+", "E0",   "E7", "0840", "CV",  "UA",    "FA",  "FA2",  "FV",
    "EF",  "EFSC", "BF",  "BFSC", "DF", "DFSC", "F0",  "SB",    "DPC", "DPC+", "CDF",
    "BUS", "AR",   "ELF", "ACE",  "WD", "CM",   "X07", "MULTI",
};
static_assert(std::size(SCHEME_NAMES) == SCHEME_COUNT);

constexpr std::size_t KIB = 1024;
constexpr std::size_t BANK = 4 * KIB;
// A Supercharger load: 8K of program and a 256-byte header a load.
constexpr std::size_t SUPERCHARGER_LOAD = 8448;
// The bytes of the RAM an SC cartridge maps at the start of each bank: its
// write port, then its read port, which a dump reads twice alike.
constexpr std::size_t EXTRA_RAM = 128;

// The first bytes of an ARM program in ELF form.
constexpr char ELF_MAGIC[] = "\177ELF";

// The text marks at $FFF8 of the last bank, and their schemes.
struct LastBankMark {
  const char* text;
  Scheme scheme;
};
constexpr LastBankMark LAST_BANK_MARKS[] = {
    {"EFEF", Scheme::EF},   {"EFSC", Scheme::EFSC}, {"BFBF", Scheme::BF},
    {"BFSC", Scheme::BFSC}, {"DFDF", Scheme::DF},   {"DFSC", Scheme::DFSC},
};

// What one pass over an image counts: writes to the bank registers of 3F
// and 3E, absolute accesses (STA, LDA, BIT) to the hotspots at $xFE0-$xFF9
// as the two usual addresses $1Fxx and $FFxx write them, and other write
// signatures and texts.
struct Marks {
  int store3F = 0;       // 85 3F
  int store3E = 0;       // 85 3E
  int segmentSpots = 0;  // $FE0-$FF7, E0's segment hotspots
  int sliceSpots = 0;    // $FE0-$FE6, E7's slice hotspots
  int f8Spots = 0;       // $FF8-$FF9
  int f6Spots = 0;       // $FF6-$FF9
  int cv = 0;            // 9D FF F3 or 99 00 F4
  int ua = 0;            // 8D 40 02 or 2C C0 02
  int s0840 = 0;         // AD 00 08 or AD 40 08
  int dpcPlus = 0;       // "DPC+"
  int cdf = 0;           // "CDF"
  int bus = 0;           // "BUS"
};

void count_hotspot(unsigned char low, unsigned char high, Marks& marks) {
  if ((high != 0x1F && high != 0xFF) || low < 0xE0 || low > 0xF9) return;
  marks.segmentSpots += low <= 0xF7;
  marks.sliceSpots += low <= 0xE6;
  marks.f8Spots += low >= 0xF8;
  marks.f6Spots += low >= 0xF6;
}

bool text_at(const unsigned char* bytes, const char* text, std::size_t length) {
  return std::memcmp(bytes, text, length) == 0;
}

// Counts the marks that start at `at`, which has at least three more bytes
// after it.
void count_at(const unsigned char* at, Marks& marks) {
  switch (at[0]) {
    case 0x85:
      marks.store3F += at[1] == 0x3F;
      marks.store3E += at[1] == 0x3E;
      break;
    case 0x8D:
      count_hotspot(at[1], at[2], marks);
      marks.ua += at[1] == 0x40 && at[2] == 0x02;
      break;
    case 0x2C:
      count_hotspot(at[1], at[2], marks);
      marks.ua += at[1] == 0xC0 && at[2] == 0x02;
      break;
    case 0xAD:
      count_hotspot(at[1], at[2], marks);
      marks.s0840 += (at[1] == 0x00 || at[1] == 0x40) && at[2] == 0x08;
      break;
    case 0x9D:
      marks.cv += at[1] == 0xFF && at[2] == 0xF3;
      break;
    case 0x99:
      marks.cv += at[1] == 0x00 && at[2] == 0xF4;
      break;
    case 'D':
      marks.dpcPlus += text_at(at, "DPC+", 4);
      break;
    case 'C':
      marks.cdf += text_at(at, "CDF", 3);
      break;
    case 'B':
      marks.bus += text_at(at, "BUS", 3);
      break;
    default:
      break;
  }
}

// Sixteen bytes as one value, which the compiler tests with vector
// instructions: the pass below looks at every byte, and most images hold no
// mark in most of their 16-byte stretches.
typedef unsigned char Lanes __attribute__((vector_size(16)));
constexpr std::size_t LANES = sizeof(Lanes);

[[gnu::always_inline]] inline Lanes lanes_at(const unsigned char* at) {
  Lanes lanes;
  std::memcpy(&lanes, at, LANES);
  return lanes;
}

// The marks a pass looks for besides those of bank-switching code: CV's
// only in images of 4K or less, the texts of ARM cartridges only in images
// over 16K.
enum class MarkSet { code, codeAndCv, codeAndTexts };

// Nonzero lanes where a mark of `set` may start at the 16 positions from
// `at` (18 bytes are read): a test of each position's first bytes that lets
// through more than the marks, never less.
template <MarkSet set>
[[gnu::always_inline]] inline Lanes may_start_mark(const unsigned char* at) {
  const Lanes first = lanes_at(at), second = lanes_at(at + 1), third = lanes_at(at + 2);
  auto any = (first == 0x85) & ((second | 1) == 0x3F);
  any |= (((first & 0xDF) == 0x8D) | (first == 0x2C)) &
         ((third == 0x1F) | (third == 0xFF) | (third == 0x02) | (third == 0x08));
  if constexpr (set == MarkSet::codeAndCv)
    any |= ((first == 0x9D) & (third == 0xF3)) | ((first == 0x99) & (third == 0xF4));
  if constexpr (set == MarkSet::codeAndTexts) {
    any |= ((first == 'D') & (second == 'P')) | ((first == 'C') & (second == 'D')) |
           ((first == 'B') & (second == 'U'));
  }
  return reinterpret_cast<Lanes>(any);
}

// One pass over the image, 32 positions at a time. count_at reads four
// bytes; no mark starts in the last three, which hold the vectors.
template <MarkSet set>
Marks count_marks(const unsigned char* bytes, std::size_t size) {
  Marks marks;
  std::size_t offset = 0;
  for (; offset + 2 * LANES + 3 <= size; offset += 2 * LANES) {
    const Lanes any =
        may_start_mark<set>(bytes + offset) | may_start_mark<set>(bytes + offset + LANES);
    std::uint64_t halves[2];
    std::memcpy(halves, &any, sizeof halves);
    if ((halves[0] | halves[1]) == 0) continue;
    for (std::size_t index = 0; index < 2 * LANES; ++index) count_at(bytes + offset + index, marks);
  }
  for (; offset + 4 <= size; ++offset) count_at(bytes + offset, marks);
  return marks;
}

Scheme last_bank_mark(const unsigned char* bytes, std::size_t size) {
  if (size < BANK) return Scheme::unknown;
  for (const LastBankMark& mark : LAST_BANK_MARKS) {
    if (text_at(bytes + size - 8, mark.text, 4)) return mark.scheme;
  }
  return Scheme::unknown;
}

// In every 4K bank the first 128 bytes repeat in the next 128.
bool has_extra_ram(const unsigned char* bytes, std::size_t size) {
  if (size < BANK || size % BANK != 0) return false;
  for (std::size_t bank = 0; bank < size; bank += BANK) {
    if (std::memcmp(bytes + bank, bytes + bank + EXTRA_RAM, EXTRA_RAM) != 0) return false;
  }
  return true;
}

Scheme with_extra_ram_mark(Scheme plain, const unsigned char* bytes, std::size_t size) {
  return has_extra_ram(bytes, size) ? with_extra_ram(plain) : plain;
}

Scheme small_image(Scheme bySize, const Marks& marks, const unsigned char* bytes,
                   std::size_t size) {
  if (marks.cv > 0) return Scheme::CV;
  if (bySize == Scheme::S4K && std::memcmp(bytes, bytes + size / 2, size / 2) == 0)
    return Scheme::S2K;
  return with_extra_ram_mark(bySize, bytes, size);
}

// An image that switches banks by its code: the write signatures first, the
// most particular before the broadest, then the size's own scheme.
Scheme switching_image(Scheme bySize, const Marks& marks, const unsigned char* bytes,
                       std::size_t size) {
  if (marks.store3F >= 2) return marks.store3E > 0 ? Scheme::S3E : Scheme::S3F;
  if (size == 2 * BANK) {
    if (marks.ua > 0) return Scheme::UA;
    if (marks.s0840 >= 2) return Scheme::S0840;
    if (marks.segmentSpots > marks.f8Spots) return Scheme::E0;
  }
  if (size == 4 * BANK && marks.sliceSpots > marks.f6Spots) return Scheme::E7;
  return with_extra_ram_mark(bySize, bytes, size);
}

}  // namespace

const char* scheme_name(Scheme scheme) {
  const auto index = static_cast<std::size_t>(scheme);
  return index < SCHEME_COUNT ? SCHEME_NAMES[index] : "";
}

Scheme scheme_named(std::string_view name) {
  if (name.empty()) return Scheme::unknown;
  for (std::size_t index = 1; index < SCHEME_COUNT; ++index) {
    const std::string_view known = SCHEME_NAMES[index];
    if (known.size() != name.size()) continue;
    bool same = true;
    for (std::size_t at = 0; at < name.size() && same; ++at) {
      const char letter = name[at] >= 'a' && name[at] <= 'z' ? name[at] - 'a' + 'A' : name[at];
      same = letter == known[at];
    }
    if (same) return static_cast<Scheme>(index);
  }
  return Scheme::unknown;
}

Scheme with_extra_ram(Scheme plain) {
  switch (plain) {
    case Scheme::S4K:
      return Scheme::S4KSC;
    case Scheme::F8:
      return Scheme::F8SC;
    case Scheme::F6:
      return Scheme::F6SC;
    case Scheme::F4:
      return Scheme::F4SC;
    default:
      return plain;
  }
}

Scheme scheme_of_size(std::uint64_t size) {
  if (size == 6 * KIB || (size > 0 && size % SUPERCHARGER_LOAD == 0)) return Scheme::AR;
  if (size >= 10 * KIB && size <= 10 * KIB + 256) return Scheme::DPC;
  if (size > 0 && size <= 2 * KIB) return Scheme::S2K;
  switch (size) {
    case 4 * KIB:
      return Scheme::S4K;
    case 8 * KIB:
      return Scheme::F8;
    case 12 * KIB:
      return Scheme::FA;
    case 16 * KIB:
      return Scheme::F6;
    case 29 * KIB:
      return Scheme::DPCPlus;
    case 32 * KIB:
      return Scheme::F4;
    case 64 * KIB:
      return Scheme::F0;
    case 128 * KIB:
      return Scheme::SB;
    case 256 * KIB:
      return Scheme::BF;
    default:
      return Scheme::unknown;
  }
}

Scheme detect_scheme(const unsigned char* bytes, std::size_t size) {
  if (size >= 4 && text_at(bytes, ELF_MAGIC, 4)) return Scheme::ELF;
  if (const Scheme marked = last_bank_mark(bytes, size); marked != Scheme::unknown) return marked;
  const Scheme bySize = scheme_of_size(size);
  if (bySize == Scheme::AR || bySize == Scheme::DPC || bySize == Scheme::FA) return bySize;
  if (size <= BANK) {
    if (bySize == Scheme::unknown) return bySize;
    return small_image(bySize, count_marks<MarkSet::codeAndCv>(bytes, size), bytes, size);
  }
  const bool large = size > 4 * BANK;
  const Marks marks = large ? count_marks<MarkSet::codeAndTexts>(bytes, size)
                            : count_marks<MarkSet::code>(bytes, size);
  if (large && marks.dpcPlus >= 2) return Scheme::DPCPlus;
  if (large && marks.cdf >= 3) return Scheme::CDF;
  if (large && marks.bus >= 2) return Scheme::BUS;
  if (bySize == Scheme::DPCPlus) return bySize;
  if (size % (2 * KIB) != 0) return Scheme::unknown;
  return switching_image(bySize, marks, bytes, size);
}

Scheme image_scheme(std::string_view catalogued, const unsigned char* bytes, std::size_t size) {
  const Scheme known = scheme_named(catalogued);
  return known != Scheme::unknown ? known : detect_scheme(bytes, size);
}
