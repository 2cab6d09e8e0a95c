#include "catalogue/entry_verification.h"

#include <iterator>
#include <optional>

#include "catalogue/rom_database.h"
#include "system/image_hashes.h"

namespace {

// The texts of the failures, in the order of VerifyFailure.
constexpr const char* FAILURE_NAMES[] = {"nothing", "size", "SHA-1", "MD5"};
static_assert(std::size(FAILURE_NAMES) == static_cast<std::size_t>(VerifyFailure::md5) + 1);

}  // namespace

Verification verify_image(int first, const unsigned char* data, std::size_t size) {
  std::optional<Sha1Digest> sha1;
  std::optional<Md5Digest> md5;
  Verification firstOutcome;
  for (int index = first; index >= 0; index = db_next_same_crc(index)) {
    const CatalogueEntry record = db_entry_record(index);
    Verification outcome;
    outcome.entry = index;
    if (record.size != 0 && record.size != size) {
      outcome.failed = VerifyFailure::size;
    } else if (record.hasSha1) {
      outcome.by = VerifiedBy::sha1;
      if (!sha1) sha1 = sha1_of(data, size);
      if (*sha1 != record.sha1) outcome.failed = VerifyFailure::sha1;
    } else if (record.hasMd5) {
      outcome.by = VerifiedBy::md5;
      if (!md5) md5 = md5_of(data, size);
      if (*md5 != record.md5) outcome.failed = VerifyFailure::md5;
    }
    if (outcome.passed()) return outcome;
    if (index == first) firstOutcome = outcome;
  }
  return firstOutcome;
}

void count_verification(VerifyCounts& counts, const Verification& outcome) {
  if (!outcome.passed()) {
    ++counts.refused;
    return;
  }
  switch (outcome.by) {
    case VerifiedBy::sha1:
      ++counts.bySha1;
      break;
    case VerifiedBy::md5:
      ++counts.byMd5;
      break;
    case VerifiedBy::crcOnly:
      ++counts.byCrcOnly;
      break;
  }
}

std::string verify_failure_note(VerifyFailure failed) {
  return std::string(FAILURE_NAMES[static_cast<int>(failed)]) + " differs";
}
