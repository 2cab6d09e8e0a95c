#pragma once
// The strong hashes of an image, SHA-1 and MD5, from libgcrypt: the one place
// that knows the library. Used only for images whose CRC-32 a catalogue knows.

#include <array>
#include <cstddef>

using Sha1Digest = std::array<unsigned char, 20>;
using Md5Digest = std::array<unsigned char, 16>;

// The SHA-1 of `size` bytes at `bytes`.
Sha1Digest sha1_of(const void* bytes, std::size_t size);

// The MD5 of `size` bytes at `bytes`.
Md5Digest md5_of(const void* bytes, std::size_t size);
