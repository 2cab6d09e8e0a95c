#pragma once
// The bankswitch scheme of a cartridge of a software list, from what the
// list says of its board.

#include <cstdint>
#include <string_view>

// The name of the scheme (static text) of a cartridge whose part has the
// slot feature `slot` ("a26_f8"; empty when it has none) and, when
// `extraRam`, a RAM data area: the slot's scheme, the SC variant of F8, F6
// and F4 with RAM, and for a cartridge without a slot (or with one this
// list does not know) the scheme its size gives. "" when none fits.
const char* software_list_scheme(std::string_view slot, bool extraRam, std::uint64_t size);
