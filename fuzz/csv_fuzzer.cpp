// Fuzz target for the CSV report: reads the input as an earlier report,
// and writes it, cut into fields at each 0x1f byte, as a record that must
// read back as the same fields, as written and defused; defused, no field
// a spreadsheet reads may start a formula.

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
  for (const CsvFormulas formulas : {CsvFormulas::asWritten, CsvFormulas::defused}) {
    const std::string line = csv_record(fields, formulas);
    int records = 0;
    check(parse_csv(
        line, fields.size(),
        [&](const CsvRecord& record) {
          check(record == fields && ++records == 1);
          return true;
        },
        formulas));
    check(records == 1);
    if (formulas == CsvFormulas::asWritten) continue;
    check(parse_csv(line, fields.size(), [](const CsvRecord& record) {
      for (const std::string& field : record) {
        check(field.empty() ||
              std::string_view("=+-@\t\r").find(field[0]) == std::string_view::npos);
      }
      return true;
    }));
  }
  return 0;
}
