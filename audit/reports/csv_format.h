#pragma once
// Comma-separated values as RFC 4180 has them: a field is quoted when it
// holds a comma, a quote or a line end, a quote inside one is doubled, and
// records end in CR LF. The reader takes what the writer gives, and LF line
// ends as well.
//
// For spreadsheets, fields may be written defused: a field that would start
// a formula (its first character after any leading "'" is "=", "+", "-",
// "@", a tab or a carriage return) is written with one more "'" in front,
// inside quotes ("'=1+1" as "\"'=1+1\""); read defused, such a field loses
// that first "'". Every other field is left as it is, so a field read
// defused from a file written without it is the same but for names that
// begin with "'" and a formula's first character.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

using CsvRecord = std::vector<std::string>;

// Whether fields are written and read as they are, or defused (see above).
enum class CsvFormulas { asWritten, defused };

// `field` as it stands in a record: quoted when it must be, and defused
// when asked.
std::string csv_field(std::string_view field, CsvFormulas formulas = CsvFormulas::asWritten);

// The fields joined by commas, ended with CR LF.
std::string csv_record(const CsvRecord& fields, CsvFormulas formulas = CsvFormulas::asWritten);

// Hands each record of `text` to `take`, which returns false to stop there.
// False when `take` stopped, when a record has more than `fieldLimit`
// fields, or when the text is no CSV: a quote inside an unquoted field,
// anything but a comma or a line end after a closing quote, or a quoted
// field still open at the end. One pass, and at most one record held, so
// any input ends within memory of its own size. Defused, each field loses
// the "'" the writer put in front of it.
bool parse_csv(std::string_view text, std::size_t fieldLimit,
               const std::function<bool(const CsvRecord&)>& take,
               CsvFormulas formulas = CsvFormulas::asWritten);
