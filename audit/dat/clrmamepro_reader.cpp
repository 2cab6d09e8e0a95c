// The clrmamepro text format: words, quoted values and parentheses.

#include <array>
#include <string_view>
#include <vector>

#include "dat/dat_formats.h"
#include "dat/entry_names.h"

namespace {

constexpr std::size_t VALUE_LIMIT = 4096;
constexpr int DEPTH_LIMIT = 64;

std::array<bool, 256> stop_bytes(std::string_view stops) {
  std::array<bool, 256> table{};
  for (const char stop : stops) table[static_cast<unsigned char>(stop)] = true;
  return table;
}

enum class TokenKind { Open, Close, Word, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;
  int line = 0;
};

class Tokenizer {
 public:
  explicit Tokenizer(DatInput& input) : input_(input) {}

  // The next token; End at the end of the input or after an error.
  Token next() {
    Token token;
    next(token);
    return token;
  }

  // The same into `token`, whose text keeps its room for the next one.
  void next(Token& token) {
    token.kind = TokenKind::End;
    token.text.clear();
    input_.skip_blanks();
    token.line = input_.line();
    const int character = input_.peek();
    if (character < 0) return;
    if (character == '(' || character == ')') {
      input_.get();
      token.kind = character == '(' ? TokenKind::Open : TokenKind::Close;
      return;
    }
    token.kind = TokenKind::Word;
    if (character == '"') {
      input_.get();
      read_quoted(token);
    } else {
      read_bare(token);
    }
    if (!input_.error().empty()) token.kind = TokenKind::End;
  }

 private:
  void read_quoted(Token& token) {
    static const std::array<bool, 256> stops = stop_bytes("\"");
    input_.take_run(token.text, stops, VALUE_LIMIT);
    if (too_long(token)) return;
    if (input_.get() != '"') input_.fail_at(token.line, "a quoted value not closed on its line");
  }

  void read_bare(Token& token) {
    static const std::array<bool, 256> stops = stop_bytes(" \t\r()");
    input_.take_run(token.text, stops, VALUE_LIMIT);
    too_long(token);
  }

  bool too_long(const Token& token) {
    if (token.text.size() <= VALUE_LIMIT) return false;
    input_.fail("a value longer than " + std::to_string(VALUE_LIMIT) + " characters");
    return true;
  }

  DatInput& input_;
};

class ClrmameproReader {
 public:
  ClrmameproReader(DatInput& input, RomSink& sink) : input_(input), tokens_(input), sink_(sink) {}

  bool read() {
    bool any = false;
    while (true) {
      const Token name = tokens_.next();
      if (name.kind == TokenKind::End) break;
      const Token open = tokens_.next();
      if (name.kind != TokenKind::Word || open.kind != TokenKind::Open) {
        input_.fail_at(name.line, any ? "expected a block \"name ( ... )\""
                                      : "not a DAT file (neither clrmamepro text nor XML)");
        break;
      }
      any = true;
      if (name.text == "game" || name.text == "machine" || name.text == "resource") {
        read_game(name.line);
      } else {
        skip_block(name.line, 1);
      }
    }
    if (input_.error().empty() && !any) input_.fail("an empty file");
    return input_.error().empty();
  }

 private:
  // Skips to the ')' that closes a block whose '(' is taken.
  void skip_block(int line, int depth) {
    if (depth > DEPTH_LIMIT) {
      input_.fail("blocks nested deeper than " + std::to_string(DEPTH_LIMIT));
      return;
    }
    while (true) {
      const Token token = tokens_.next();
      if (token.kind == TokenKind::End) return input_.fail_at(line, "unterminated block");
      if (token.kind == TokenKind::Close) return;
      if (token.kind == TokenKind::Open) skip_block(token.line, depth + 1);
    }
  }

  // Reads "key value" pairs up to the closing ')', calling `field` for
  // each with the value's text, or with nullptr for a key right before ')'
  // (a flag) and for a block, which is skipped unless `field` took it.
  template <typename Field>
  bool read_fields(int line, const char* what, Field field) {
    Token key;
    Token value;
    while (true) {
      tokens_.next(key);
      if (key.kind == TokenKind::Close) return true;
      if (key.kind == TokenKind::End) break;
      if (key.kind == TokenKind::Open) {
        skip_block(key.line, 2);
        continue;
      }
      tokens_.next(value);
      if (value.kind == TokenKind::End) break;
      if (value.kind == TokenKind::Open) {
        if (!field(key.text, nullptr, true)) skip_block(value.line, 2);
        continue;
      }
      field(key.text, value.kind == TokenKind::Word ? &value.text : nullptr, false);
      if (value.kind == TokenKind::Close) return true;
    }
    input_.fail_at(line, std::string("unterminated ") + what + " block");
    return false;
  }

  // Reads a rom block whose '(' is taken.
  bool read_rom(int line, DatRom& rom) {
    return read_fields(line, "rom", [&](const std::string& key, const std::string* value, bool) {
      if (value == nullptr) {
        if (key == "baddump") rom.badDump = true;
        return false;
      }
      if (key == "name") rom.image = *value;
      if (key == "crc") rom.crc = *value;
      if (key == "size") rom.size = *value;
      if (key == "md5") rom.md5 = *value;
      if (key == "sha1") rom.sha1 = *value;
      if ((key == "flags" || key == "status") && *value == "baddump") rom.badDump = true;
      return false;
    });
  }

  // The game's own fields, kept in the image each of its images copies.
  static void take_game_field(const std::string& key, const std::string& value, DatRom& game) {
    if (key == "name") game.game = value;
    if (key == "cloneof") game.cloneOf = value;
    if (key == "year") game.year = value;
    if (key == "manufacturer") game.publisher = value;
  }

  void read_game(int line) {
    DatRom game;
    std::vector<DatRom> roms;
    const bool closed = read_fields(
        line, "game", [&](const std::string& key, const std::string* value, bool block) {
          if (value != nullptr) take_game_field(key, *value, game);
          if (key != "rom" || !block || !input_.error().empty()) return false;
          if (roms.size() >= DAT_GAME_ROM_LIMIT) {
            input_.fail("a game with more than " + std::to_string(DAT_GAME_ROM_LIMIT) + " roms");
            return true;
          }
          roms.emplace_back();
          read_rom(input_.line(), roms.back());
          return true;
        });
    if (closed && input_.error().empty()) hand_over(game, roms);
  }

  void hand_over(const DatRom& game, std::vector<DatRom>& roms) {
    std::size_t withCrc = 0;
    for (const DatRom& rom : roms) withCrc += rom.crc.empty() ? 0 : 1;
    for (DatRom& rom : roms) {
      rom.name = dat_entry_name(game.game, rom.image, withCrc > 1);
      rom.game = game.game;
      rom.cloneOf = game.cloneOf;
      rom.year = game.year;
      rom.publisher = game.publisher;
      if (!sink_.add(rom)) {
        input_.fail("more than " + std::to_string(DAT_ENTRY_LIMIT) + " entries");
        return;
      }
    }
  }

  DatInput& input_;
  Tokenizer tokens_;
  RomSink& sink_;
};

}  // namespace

bool read_clrmamepro(DatInput& input, RomSink& sink) {
  return ClrmameproReader(input, sink).read();
}
