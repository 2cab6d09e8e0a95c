#include "reports/csv_format.h"

namespace {

constexpr char LINE_END[] = "\r\n";

// The characters a spreadsheet may take as the start of a formula.
constexpr char FORMULA_STARTS[] = "=+-@\t\r";

// Whether `field` would start a formula once a spreadsheet drops the "'"s
// in front of it; a field the writer defused has at least one of them.
bool starts_a_formula(std::string_view field) {
  const std::size_t first = field.find_first_not_of('\'');
  if (first == std::string_view::npos) return false;
  return std::string_view(FORMULA_STARTS).find(field[first]) != std::string_view::npos;
}

// Splits the text one character at a time; the state says where a field
// stands.
class CsvParser {
 public:
  CsvParser(std::size_t fieldLimit, const std::function<bool(const CsvRecord&)>& take,
            CsvFormulas formulas)
      : fieldLimit_(fieldLimit), take_(take), formulas_(formulas) {}

  bool take(char character) {
    switch (state_) {
      case State::fieldStart:
        if (character == '"') {
          state_ = State::quoted;
          return true;
        }
        return unquoted(character);
      case State::unquoted:
        return unquoted(character);
      case State::quoted:
        if (character == '"') {
          state_ = State::quoteInQuoted;
        } else {
          field_.push_back(character);
        }
        return true;
      case State::quoteInQuoted:
        if (character == '"') {
          field_.push_back('"');
          state_ = State::quoted;
          return true;
        }
        return separator(character);
      case State::carriageReturn:
        return character == '\n' && end_record();
    }
    return false;
  }

  // The last record needs no line end; an open quote is an error.
  bool finish() {
    if (state_ == State::quoted || state_ == State::carriageReturn) return false;
    return (state_ == State::fieldStart && record_.empty()) || end_record();
  }

 private:
  enum class State { fieldStart, unquoted, quoted, quoteInQuoted, carriageReturn };

  bool unquoted(char character) {
    if (character == ',' || character == '\n' || character == '\r') return separator(character);
    if (character == '"') return false;
    field_.push_back(character);
    state_ = State::unquoted;
    return true;
  }

  // Handles a comma or a line end after a field; false for anything else.
  bool separator(char character) {
    if (character == ',') return end_field();
    if (character == '\n') return end_record();
    if (character != '\r') return false;
    state_ = State::carriageReturn;
    return true;
  }

  bool end_field() {
    if (record_.size() >= fieldLimit_) return false;
    if (formulas_ == CsvFormulas::defused && field_.starts_with('\'') && starts_a_formula(field_)) {
      field_.erase(0, 1);
    }
    record_.push_back(std::move(field_));
    field_.clear();
    state_ = State::fieldStart;
    return true;
  }

  bool end_record() {
    if (!end_field() || !take_(record_)) return false;
    record_.clear();
    return true;
  }

  std::size_t fieldLimit_;
  const std::function<bool(const CsvRecord&)>& take_;
  CsvFormulas formulas_;
  CsvRecord record_;
  std::string field_;
  State state_ = State::fieldStart;
};

}  // namespace

std::string csv_field(std::string_view field, CsvFormulas formulas) {
  const bool defuse = formulas == CsvFormulas::defused && starts_a_formula(field);
  if (!defuse && field.find_first_of(",\"\r\n") == std::string_view::npos) {
    return std::string(field);
  }
  std::string quoted = defuse ? "\"'" : "\"";
  for (const char character : field) {
    if (character == '"') quoted.push_back('"');
    quoted.push_back(character);
  }
  return quoted + '"';
}

std::string csv_record(const CsvRecord& fields, CsvFormulas formulas) {
  std::string line;
  for (std::size_t index = 0; index < fields.size(); ++index) {
    if (index > 0) line.push_back(',');
    line += csv_field(fields[index], formulas);
  }
  return line + LINE_END;
}

bool parse_csv(std::string_view text, std::size_t fieldLimit,
               const std::function<bool(const CsvRecord&)>& take, CsvFormulas formulas) {
  CsvParser parser(fieldLimit, take, formulas);
  for (const char character : text) {
    if (!parser.take(character)) return false;
  }
  return parser.finish();
}
