#include "dat/software_slots.h"

#include "sniff/bankswitch.h"

namespace {

struct Slot {
  std::string_view name;
  Scheme scheme;
};

// The slots of the software list and the schemes they name. The list's
// "harmony" cartridges are the Harmony's ARM games, DPC+; its "dc" board is
// the Dynacom MegaBoy's, F0; "ss" is the Supercharger; the three multicart
// boards are one multicart value; "f8sw" is F8 with its banks in the other
// order; "fv" keeps the list's own name.
constexpr Slot SLOTS[] = {
    {"a26_2k", Scheme::S2K},          {"a26_4k", Scheme::S4K},     {"a26_f8", Scheme::F8},
    {"a26_f8sw", Scheme::F8},         {"a26_f6", Scheme::F6},      {"a26_f4", Scheme::F4},
    {"a26_fa", Scheme::FA},           {"a26_fe", Scheme::FE},      {"a26_e0", Scheme::E0},
    {"a26_e7", Scheme::E7},           {"a26_3f", Scheme::S3F},     {"a26_3e", Scheme::S3E},
    {"a26_ua", Scheme::UA},           {"a26_cv", Scheme::CV},      {"a26_dpc", Scheme::DPC},
    {"a26_harmony", Scheme::DPCPlus}, {"a26_ss", Scheme::AR},      {"a26_cm", Scheme::CM},
    {"a26_x07", Scheme::X07},         {"a26_dc", Scheme::F0},      {"a26_fv", Scheme::FV},
    {"a26_4in1", Scheme::MULTI},      {"a26_8in1", Scheme::MULTI}, {"a26_32in1", Scheme::MULTI},
};

}  // namespace

const char* software_list_scheme(std::string_view slot, bool extraRam, std::uint64_t size) {
  Scheme scheme = scheme_of_size(size);
  for (const Slot& known : SLOTS) {
    if (known.name == slot) scheme = known.scheme;
  }
  return scheme_name(extraRam ? with_extra_ram(scheme) : scheme);
}
