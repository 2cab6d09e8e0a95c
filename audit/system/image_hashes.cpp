#include "system/image_hashes.h"

#include <gcrypt.h>

namespace {

// libgcrypt wants its version checked before first use; the hashes need no
// secure memory, so none is set up.
void start_libgcrypt() {
  static const bool started = [] {
    gcry_check_version(nullptr);
    gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    return true;
  }();
  (void)started;
}

}  // namespace

Sha1Digest sha1_of(const void* bytes, std::size_t size) {
  start_libgcrypt();
  Sha1Digest digest{};
  gcry_md_hash_buffer(GCRY_MD_SHA1, digest.data(), bytes, size);
  return digest;
}

Md5Digest md5_of(const void* bytes, std::size_t size) {
  start_libgcrypt();
  Md5Digest digest{};
  gcry_md_hash_buffer(GCRY_MD_MD5, digest.data(), bytes, size);
  return digest;
}
