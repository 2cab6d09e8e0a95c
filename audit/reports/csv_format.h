#pragma once
// Comma-separated values as RFC 4180 has them: a field is quoted when it
// holds a comma, a quote or a line end, a quote inside one is doubled, and
// records end in CR LF. The reader takes what the writer gives, and LF line
// ends as well.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

using CsvRecord = std::vector<std::string>;

// `field` as it stands in a record: quoted when it must be.
std::string csv_field(std::string_view field);

// The fields joined by commas, ended with CR LF.
std::string csv_record(const CsvRecord& fields);

// Hands each record of `text` to `take`, which returns false to stop there.
// False when `take` stopped, when a record has more than `fieldLimit`
// fields, or when the text is no CSV: a quote inside an unquoted field,
// anything but a comma or a line end after a closing quote, or a quoted
// field still open at the end. One pass, and at most one record held, so
// any input ends within memory of its own size.
bool parse_csv(std::string_view text, std::size_t fieldLimit,
               const std::function<bool(const CsvRecord&)>& take);
