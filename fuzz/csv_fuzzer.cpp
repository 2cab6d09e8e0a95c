// Fuzz target for the CSV report: reads the input as an earlier report,
// and writes it, cut into fields at each 0x1f byte, as a record that must
// read back as the same fields.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "reports/csv_format.h"
#include "reports/csv_report.h"

namespace {

void check(bool promise) {
  if (!promise) std::abort();
}

CsvRecord fields_of(std::string_view bytes) {
  CsvRecord fields(1);
  for (const char byte : bytes) {
    if (byte == '\x1f') fields.emplace_back();
    if (byte != '\x1f') fields.back().push_back(byte);
  }
  return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const EarlierReport report = earlier_report_from_text(bytes);
  for (const auto& [crc, file] : report.found) check(crc.size() == 8);
  const CsvRecord fields = fields_of(bytes);
  int records = 0;
  check(parse_csv(csv_record(fields), fields.size(), [&](const CsvRecord& record) {
    check(record == fields && ++records == 1);
    return true;
  }));
  check(records == 1);
  return 0;
}
