#include "reports/csv_format.h"

namespace {

constexpr char LINE_END[] = "\r\n";

// Splits the text one character at a time; the state says where a field
// stands.
class CsvParser {
 public:
  CsvParser(std::size_t fieldLimit, const std::function<bool(const CsvRecord&)>& take)
      : fieldLimit_(fieldLimit), take_(take) {}

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
  CsvRecord record_;
  std::string field_;
  State state_ = State::fieldStart;
};

}  // namespace

std::string csv_field(std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(field);
  std::string quoted = "\"";
  for (const char character : field) {
    if (character == '"') quoted.push_back('"');
    quoted.push_back(character);
  }
  return quoted + '"';
}

std::string csv_record(const CsvRecord& fields) {
  std::string line;
  for (std::size_t index = 0; index < fields.size(); ++index) {
    if (index > 0) line.push_back(',');
    line += csv_field(fields[index]);
  }
  return line + LINE_END;
}

bool parse_csv(std::string_view text, std::size_t fieldLimit,
               const std::function<bool(const CsvRecord&)>& take) {
  CsvParser parser(fieldLimit, take);
  for (const char character : text) {
    if (!parser.take(character)) return false;
  }
  return parser.finish();
}
