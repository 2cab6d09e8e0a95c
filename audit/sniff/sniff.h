#pragma once
// A format layer: the test that a file's bytes look like an Atari 2600
// cartridge program. Pure computation; it includes nothing of ours.

#include <cstddef>

// True when `bytes` pass as a 2600 image: one of six known start-up
// signatures, a CLD/SEI/TXS or CLD/LDX/TXS start-up sequence in the first 512
// positions, or five of six common 6502 instructions anywhere.
bool sniff_2600_image(const unsigned char* bytes, std::size_t length);
