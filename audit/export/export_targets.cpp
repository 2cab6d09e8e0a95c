#include "export/export_targets.h"

#include <array>

namespace {

// The flash carts' extensions: each scheme's, and whether only the PlusCart
// reads it.
struct SchemeExtension {
  Scheme scheme;
  const char* extension;
  bool plusOnly;
};

constexpr std::array<SchemeExtension, 35> SCHEME_EXTENSIONS = {{
    {Scheme::S2K, "2K", false},    {Scheme::S4K, "4K", false},      {Scheme::F8, "F8", false},
    {Scheme::F6, "F6", false},     {Scheme::F4, "F4", false},       {Scheme::F8SC, "F8S", false},
    {Scheme::F6SC, "F6S", false},  {Scheme::F4SC, "F4S", false},    {Scheme::FE, "FE", false},
    {Scheme::S3F, "3F", false},    {Scheme::S3E, "3E", false},      {Scheme::E0, "E0", false},
    {Scheme::S0840, "084", false}, {Scheme::CV, "CV", false},       {Scheme::EF, "EF", false},
    {Scheme::EFSC, "EFS", false},  {Scheme::F0, "F0", false},       {Scheme::FA, "FA", false},
    {Scheme::E7, "E7", false},     {Scheme::DPC, "DPC", false},     {Scheme::AR, "AR", false},
    {Scheme::S4KSC, "4KS", true},  {Scheme::FA2, "FA2", true},      {Scheme::BF, "BF", true},
    {Scheme::BFSC, "BFS", true},   {Scheme::ACE, "ACE", true},      {Scheme::WD, "WD", true},
    {Scheme::DF, "DF", true},      {Scheme::DFSC, "DFS", true},     {Scheme::S3EPlus, "3EP", true},
    {Scheme::DPCPlus, "DPCP", true}, {Scheme::SB, "SB", true},      {Scheme::UA, "UA", true},
    {Scheme::ELF, "ELF", true},    {Scheme::unknown, "", true},
}};

constexpr std::array<ExportTarget, 7> TARGETS = {{
    {"harmony", ExportKind::images, true, false, 24, 0},
    {"unocart", ExportKind::images, true, false, 31, 80},
    {"pluscart", ExportKind::images, true, true, 32, 1024},
    {"bin", ExportKind::images, false, false, 0, 0},
    {"mame", ExportKind::mame, false, false, 0, 0},
    {"retroarch", ExportKind::retroarch, false, false, 0, 0},
    {"esde", ExportKind::esde, false, false, 0, 0},
}};

bool same_word(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (std::size_t at = 0; at < left.size(); ++at) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(left[at]) != lower(right[at])) return false;
  }
  return true;
}

}  // namespace

const ExportTarget* export_target_named(std::string_view word) {
  for (const ExportTarget& target : TARGETS) {
    if (same_word(word, target.word)) return &target;
  }
  return nullptr;
}

std::string export_target_words() {
  std::string words;
  for (const ExportTarget& target : TARGETS) {
    if (!words.empty()) words += ", ";
    words += target.word;
  }
  return words;
}

std::string export_extension(const ExportTarget& target, Scheme scheme) {
  if (!target.schemeExtensions || scheme == Scheme::unknown) return "bin";
  for (const SchemeExtension& known : SCHEME_EXTENSIONS) {
    if (known.scheme == scheme && (!known.plusOnly || target.plusSchemes)) return known.extension;
  }
  return "bin";
}
