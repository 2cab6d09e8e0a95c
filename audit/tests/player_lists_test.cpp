// RetroArch's playlist and ES-DE's game list: hostile names come out valid
// and exact (checked by outside parsers where they are installed), the
// playlist's order, titles, and the merge with a list a user has edited.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/gamelist.h"
#include "export/playlist.h"
#include "export/text_escapes.h"
#include "test_support.h"
#include "zip_test_support.h"

namespace {

// A name as JSON and as XML text; '?' stands for U+FFFD in both.
struct EscapeRow {
  std::string raw, json, xml;
};

const EscapeRow ESCAPE_ROWS[] = {
    {"A \"q\" \\ /", R"("A \"q\" \\ /")", "A &quot;q&quot; \\ /"},
    {"<&'>", R"("<&'>")", "&lt;&amp;&apos;&gt;"},
    {"\x01\t\x7F", "\"\\u0001\\t\x7F\"", "?\t\x7F"},
    {"a\r\nb\rc", R"("a\r\nb\rc")", "a\nb\nc"},
    {"\xC3\xA9 \xF0\x9F\x8E\xAE", "\"\xC3\xA9 \xF0\x9F\x8E\xAE\"", "\xC3\xA9 \xF0\x9F\x8E\xAE"},
    {"\xFF\xC3", "\"??\"", "??"},
    {"\xC0\xAF\xED\xA0\x80", "\"?????\"", "?????"},
    {"\xEF\xBF\xBE", "\"\xEF\xBF\xBE\"", "?"},
};

std::string with_replacements(std::string text) {
  for (std::size_t at; (at = text.find('?')) != std::string::npos;)
    text.replace(at, 1, "\xEF\xBF\xBD");
  return text;
}

TEST(PlayerListsTest, HostileNamesComeOutValidAndExact) {
  std::vector<PlaylistItem> playlist;
  std::vector<GameListItem> games;
  for (const EscapeRow& row : ESCAPE_ROWS) {
    std::string json, xml;
    append_json_string(json, row.raw);
    append_xml_text(xml, row.raw);
    EXPECT_EQ(json, with_replacements(row.json)) << row.raw;
    EXPECT_EQ(xml, with_replacements(row.xml)) << row.raw;
    playlist.push_back({row.raw, row.raw, 0});
    games.push_back({row.raw + ".bin", row.raw, "1982", row.raw});
  }
  const GameListMerge merged = merged_gamelist("", games);
  ASSERT_TRUE(merged.ok());
  TempDir folder;
  write_text(folder / "Atari - 2600.lpl", retroarch_playlist(playlist));
  write_text(folder / "gamelist.xml", merged.text);
  if (ziptest::find_on_path("python3").empty() || ziptest::find_on_path("xmllint").empty())
    GTEST_SKIP() << "no python3 or xmllint to read them";
  const char* read =
      "python3 -c 'import json; json.load(open(\"Atari - 2600.lpl\"))' && "
      "xmllint --noout gamelist.xml";
  const ProgramResult run = run_program("/bin/sh", {"-c", read}, folder.path(), folder.path());
  EXPECT_EQ(run.exitCode, 0) << run.err;
}

TEST(PlayerListsTest, PlaylistIsSortedByLabelWhateverTheCase) {
  const std::string text = retroarch_playlist(
      {{"/c/b.bin", "beta", 0xABCD}, {"/c/a2.bin", "alpha", 1}, {"/c/a1.bin", "Alpha", 2}});
  const std::size_t first = text.find("\"path\": \"/c/a1.bin\",\n      \"label\": \"Alpha\"");
  const std::size_t second = text.find("/c/a2.bin"), third = text.find("/c/b.bin");
  EXPECT_TRUE(first < second && second < third) << text;
  EXPECT_NE(text.find("\"crc32\": \"0000ABCD|crc\",\n      \"db_name\": \"Atari - 2600.lpl\""),
            std::string::npos);
}

TEST(PlayerListsTest, TitlesLoseTheirGroups) {
  const std::pair<const char*, const char*> rows[] = {
      {"River Raid (1982) (Activision) [!]", "River Raid"},
      {"Pitfall ((Jungle) Hunt)  II\t(PAL)", "Pitfall II"},
      {"Stampede (32 in 1 (PAL)", "Stampede (32 in 1"},
      {"(PD) [a]", "(PD) [a]"},
  };
  for (const auto& [name, title] : rows) EXPECT_EQ(game_title(name), title) << name;
}

TEST(PlayerListsTest, MergeKeepsWhatUsersAddedAndOtherFiles) {
  const std::string existing =
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- theirs -->\n"
      "<alternativeEmulator><label>Stella 2014</label></alternativeEmulator>\n"
      "<gameList>\n<folder><path>./Hacks</path></folder>\n"
      "<game id=\"7&#9;&quot;\"><path>River Raid.bin  </path><name>My River Raid</name>"
      "<favorite>true</favorite><publisher>Old</publisher></game>\n"
      "<game><path>./Mine.bin</path><desc>Line 1&#10;&lt;2&gt;</desc></game>\n</gameList>\n";
  const GameListMerge merged = merged_gamelist(
      existing, {{"Zaxxon.bin", "Zaxxon (198?)", "198?", ""},
                 {"River Raid.bin", "River Raid (1982) (Activision)", "1982", "Activision"}});
  ASSERT_TRUE(merged.ok()) << merged.problem;
  EXPECT_EQ(merged.text,
            "<?xml version=\"1.0\"?>\n"
            "<alternativeEmulator>\n\t<label>Stella 2014</label>\n</alternativeEmulator>\n"
            "<gameList>\n\t<folder>\n\t\t<path>./Hacks</path>\n\t</folder>\n"
            "\t<game id=\"7&#9;&quot;\">\n\t\t<path>./River Raid.bin</path>\n\t\t<name>River "
            "Raid</name>\n"
            "\t\t<favorite>true</favorite>\n\t\t<publisher>Activision</publisher>\n"
            "\t\t<releasedate>19820101T000000</releasedate>\n\t</game>\n"
            "\t<game>\n\t\t<path>./Mine.bin</path>\n\t\t<desc>Line 1\n&lt;2&gt;</desc>\n\t</game>\n"
            "\t<game>\n\t\t<path>./Zaxxon.bin</path>\n\t\t<name>Zaxxon</name>\n\t</game>\n"
            "</gameList>\n");
}

TEST(PlayerListsTest, AListThatCannotBeKeptWholeIsLeftAlone) {
  std::string many = "<gameList>";
  for (std::size_t count = 0; count < GAMELIST_ELEMENT_LIMIT; ++count) many += "<a/>";
  const std::pair<std::string, const char*> rows[] = {
      {"<gameList>\n<game>", "line 2: unterminated game element"},
      {"<gameList>\n<name>&bogus;</name></gameList>", "line 2: an unknown entity"},
      {"<gameList/>\n<gameList/>", "more than one gameList"},
      {"<gamelist/>", "no gameList"},
      {"stray<gameList/>", "text outside"},
      {"<gameList><game a='1' a='2'/></gameList>", "given twice: a"},
      {"<gameList><g&me/></gameList>", "cannot be written back as it is: g&me"},
      {many + "</gameList>", "more elements than are kept"},
      {std::string(GAMELIST_FILE_LIMIT + 1, 'x'), "larger than"},
  };
  for (const auto& [text, problem] : rows) {
    const GameListMerge merged = merged_gamelist(text, {{"a.bin", "A", "", ""}});
    EXPECT_NE(merged.problem.find(problem), std::string::npos) << problem << ": " << merged.problem;
    EXPECT_EQ(merged.text, "");
  }
}

}  // namespace
