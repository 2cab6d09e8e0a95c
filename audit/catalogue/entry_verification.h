#pragma once
// The `verify` check: whether an image whose CRC-32 a catalogue entry has is
// that entry, by its size and the strongest hash the catalogue gives for it
// (SHA-1, else MD5). Hashing happens here only, so images whose CRC-32 no
// entry has cost nothing. The outcome is a value the identification, the
// reports and the copy mode read alike.

#include <cstddef>
#include <string>

// Which check an image failed; none when it is the entry.
enum class VerifyFailure { none, size, sha1, md5 };

// What the entry was verified by when the image passed.
enum class VerifiedBy { sha1, md5, crcOnly };

struct Verification {
  VerifyFailure failed = VerifyFailure::none;
  VerifiedBy by = VerifiedBy::crcOnly;
  int entry = -1;  // the entry the image is; when it failed, the one it failed as
  bool passed() const { return failed == VerifyFailure::none; }
};

// Checks the `size` bytes at `data` against entry `first` (its CRC-32 is
// taken as matched) and each later entry of that CRC-32, in catalogue order:
// the size first, then the SHA-1 when the entry has one, else its MD5. The
// image is the first entry it passes; when it passes none, the outcome is
// that of `first`. Each hash is computed once.
Verification verify_image(int first, const unsigned char* data, std::size_t size);

// The images a verify run counted, by what verified them, and those refused.
struct VerifyCounts {
  int bySha1 = 0;
  int byMd5 = 0;
  int byCrcOnly = 0;
  int refused = 0;
};

// Adds `outcome` to `counts`.
void count_verification(VerifyCounts& counts, const Verification& outcome);

// "SHA-1 differs": what refused an image, as the CSV report notes it.
std::string verify_failure_note(VerifyFailure failed);
