#include "dat/dat_loader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "rom_table_source.h"
#include "test_support.h"

namespace {

struct Loaded {
  bool ok = false;
  std::vector<CatalogueEntry> entries;
  DatLoadSummary summary;
  std::string refusal;
};

Loaded load(const std::string& bytes) {
  CatalogueBuilder builder;
  DatError error;
  Loaded loaded;
  loaded.ok = builder.load_bytes(bytes, "t.dat", error);
  loaded.refusal = loaded.ok ? "" : dat_refusal_line(error);
  loaded.summary = builder.summaries().back();
  loaded.entries = builder.finish();
  return loaded;
}

// "crc name" of every entry, in catalogue order, "[b]" marking bad dumps.
std::vector<std::string> texts(const Loaded& loaded) {
  std::vector<std::string> result;
  for (const CatalogueEntry& entry : loaded.entries) {
    char crc[10];
    std::snprintf(crc, sizeof crc, "%08x ", static_cast<unsigned>(entry.crc));
    result.push_back(crc + entry.name + (entry.badDump ? " {bad}" : ""));
  }
  return result;
}

TEST(EntryNamesTest, CleaningMakesFileNames) {
  const std::pair<const char*, const char*> rows[] = {
      {"Spy vs. Spy: Part 1/2", "Spy vs. Spy - Part 1-2"},
      {" A / B:C|D\\E \"F\" ", "A - B-C-D-E 'F'"},
      {"Why? <Not> *Now*", "Why Not Now"},
      {"tab\tand\n\x01 control", "tab and control"},
  };
  for (const auto& [raw, clean] : rows) EXPECT_EQ(clean_name_text(raw), clean) << raw;
}

TEST(EntryNamesTest, SoftwareListNames) {
  EXPECT_EQ(software_entry_name({"Pac-Man (PAL, alt)", "1982", "Atari", false}),
            "Pac-Man (1982) (Atari) (PAL) [a]");
  EXPECT_EQ(software_entry_name({"Demo (Hack) (x)", "198?", "<unknown>", true}),
            "Demo (198x) (Hack) (x) [b]");
  EXPECT_EQ(software_entry_name({"Odd (", "19", "A: B", false}), "Odd ( (A - B)");
  EXPECT_EQ(software_entry_name({"River Raid (PAL) (Galaga Games)", "1984", "Galaga Games", false}),
            "River Raid (1984) (Galaga Games) (PAL)");
}

// One row per quirk: each DAT gives the listed entries and left-out counts.
struct FormatRow {
  const char* what;
  const char* dat;
  std::vector<std::string> entries;
  int leftOutSize;
  int leftOutRepeated;
};

TEST(DatLoaderTest, EachFormatAndItsQuirks) {
  const FormatRow rows[] = {
      {"clrmamepro: upper-case hex, extra fields, no final newline",
       "clrmamepro ( name \"x\" )\ngame ( name \"Alpha (USA)\" region USA\n"
       "  rom ( name \"Alpha.a26\" size 4096 crc ABCDEF01 md5 00 serial \"X-1\" ) )",
       {"abcdef01 Alpha (USA)"},
       0,
       0},
      {"clrmamepro: repeated name, repeated CRC, sizes, bad dump, ':' and '/'",
       "game ( name Same rom ( name a size 1024 crc 1 ) )\n"
       "game ( name Same rom ( name b size 132096 crc 2 flags baddump ) )\n"
       "game ( name \"A: B/C\" rom ( name c size 4096 crc 1 ) )\n"
       "game ( name Small rom ( name d size 1023 crc 5 ) )\n"
       "game ( name Large rom ( name e size 132097 crc 6 ) )\n",
       {"00000001 Same [a1]", "00000002 Same [a2] {bad}"},
       2,
       1},
      {"clrmamepro: a game of two images names each",
       "game ( name Pair rom ( name left.bin size 2048 crc 10 ) rom ( name right size 2048 crc 11 "
       ") )\n",
       {"00000010 Pair - left", "00000011 Pair - right"},
       0,
       0},
      {"clrmamepro: a bare rom flag is no rom block",
       "game ( name A rom ) game ( name B rom ( name b size 1024 crc 12 ) )",
       {"00000012 B"},
       0,
       0},
      {"Logiqx: machine, entities, status, several roms",
       "<?xml version=\"1.0\"?>\n<!DOCTYPE datafile>\n<datafile><header><name>h</name></header>\n"
       "<game name=\"Tom &amp; Jerry&#x3A; Go\"><rom name=\"t.a26\" size=\"2048\" "
       "crc=\"0000AA01\"/>"
       "</game>\n<machine name=\"M\"><rom name=\"m1.bin\" size=\"4096\" crc=\"2\" "
       "status=\"baddump\"/><rom name=\"m2.bin\" size=\"4096\" crc=\"3\"/></machine>\n"
       "<game name=\"Big\"><rom name=\"b\" size=\"200000\" crc=\"4\"/></game></datafile>",
       {"00000002 M - m1 {bad}", "00000003 M - m2", "0000aa01 Tom & Jerry - Go"},
       1,
       0},
      {"XML: comments, CDATA, single quotes, references, blanks in values",
       "\xEF\xBB\xBF<?xml version='1.0'?><!-- <game name='no'> --><datafile><game name='A\n&#66;'>"
       "<description><![CDATA[<ignored>]]></description><rom name='a' size='1024' crc='7'/>"
       "</game></datafile>",
       {"00000007 A B"},
       0,
       0},
      {"software list: named as the compiled-in table",
       "<softwarelist name=\"a2600\"><software name=\"s\"><description>Zap (PAL)</description>"
       "<year>1983</year><publisher>Acme</publisher><part><dataarea><rom name=\"z\" "
       "size=\"0x1000\" crc=\"00ff00ff\"/></dataarea></part></software></softwarelist>",
       {"00ff00ff Zap (1983) (Acme) (PAL)"},
       0,
       0},
  };
  for (const FormatRow& row : rows) {
    const Loaded loaded = load(row.dat);
    ASSERT_TRUE(loaded.ok) << row.what << ": " << loaded.refusal;
    EXPECT_EQ(texts(loaded), row.entries) << row.what;
    EXPECT_EQ(loaded.summary.leftOutSize, row.leftOutSize) << row.what;
    EXPECT_EQ(loaded.summary.leftOutRepeated, row.leftOutRepeated) << row.what;
  }
}

TEST(DatLoaderTest, HashesAreKeptWhereGiven) {
  const Loaded loaded = load(
      "game ( name A rom ( name a size 1024 crc 1 md5 0123456789ABCDEF0123456789abcdef sha1 "
      "0123456789abcdef0123456789abcdef01234567 ) )\ngame ( name B rom ( name b size 1024 crc 2 "
      "md5 short ) )");
  ASSERT_EQ(loaded.entries.size(), 2u);
  EXPECT_TRUE(loaded.entries[0].hasMd5 && loaded.entries[0].hasSha1);
  EXPECT_EQ(loaded.entries[0].md5[15], 0xEF);
  EXPECT_EQ(loaded.entries[0].sha1[19], 0x67);
  EXPECT_FALSE(loaded.entries[1].hasMd5 || loaded.entries[1].hasSha1);
}

// "name|game|scheme|tv|parent's name|year|publisher" of every entry.
std::vector<std::string> facts(const std::vector<CatalogueEntry>& entries) {
  std::vector<std::string> result;
  for (const CatalogueEntry& entry : entries) {
    const std::string parent = entry.parent < 0 ? "-" : entries[entry.parent].name;
    result.push_back(entry.name + "|" + entry.software + "|" + entry.scheme + "|" +
                     tv_system_name(entry.tv) + "|" + parent + "|" + entry.year + "|" +
                     entry.publisher);
  }
  return result;
}

// What each format says of a game reaches its entries: a software list's
// slot, RAM and size give the scheme, its compatibility (else the name) the
// TV system; cloneof names the parent in all three formats.
TEST(DatLoaderTest, WhatEachFormatSaysOfAGame) {
  const std::string part = "<part name=\"cart\" interface=\"a2600_cart\">";
  const std::pair<std::string, std::vector<std::string>> rows[] = {
      {"<softwarelist name=\"a2600\"><software name=\"p\"><description>Pa (Alt)</description>"
       "<year>1983</year><publisher>A &amp; B</publisher><sharedfeat name=\"compatibility\" "
       "value=\"PAL\"/>" +
           part +
           "<feature name=\"slot\" value=\"a26_f8\"/><dataarea "
           "name=\"rom\" size=\"8192\"><rom name=\"p.bin\" size=\"8192\" crc=\"1\"/></dataarea>"
           "<dataarea name=\"ram\" size=\"128\"></dataarea></part></software>"
           "<software name=\"c\" cloneof=\"p\"><description>Cl (SECAM)</description><year>19??"
           "</year>" +
           part +
           "<dataarea name=\"rom\" size=\"4096\"><rom name=\"c.bin\" "
           "size=\"4096\" crc=\"2\"/></dataarea></part></software></softwarelist>",
       {"Cl (19xx) (SECAM)|c|4K|SECAM|Pa (1983) (A & B) [a]|19??|",
        "Pa (1983) (A & B) [a]|p|F8SC|PAL|-|1983|A & B"}},
      {"<datafile><game name=\"Q (PAL)\" cloneof=\"R\"><year>1990</year><manufacturer>M"
       "</manufacturer><rom name=\"q\" size=\"4096\" crc=\"3\"/></game><game name=\"R\">"
       "<rom name=\"r\" size=\"4096\" crc=\"4\"/></game></datafile>",
       {"Q (PAL)|Q (PAL)||PAL|R|1990|M", "R|R||NTSC|-||"}},
      {"game ( name S cloneof T year 1999 manufacturer N rom ( name s size 2048 crc 5 ) )\n"
       "game ( name T rom ( name t size 2048 crc 6 ) )",
       {"S|S||NTSC|T|1999|N", "T|T||NTSC|-||"}},
  };
  for (const auto& [dat, expected] : rows) {
    const Loaded loaded = load(dat);
    ASSERT_TRUE(loaded.ok) << loaded.refusal;
    EXPECT_EQ(facts(loaded.entries), expected);
  }
}

// For verify, entries of one CRC-32 are kept while a size or hash tells
// them apart; hashes that are not 40 or 32 hex digits are counted, by the
// hash they lose.
TEST(DatLoaderTest, EntriesOfOneCrcAndMalformedHashes) {
  const std::string sha1A(40, 'a'), sha1B(40, 'b'), md5(32, 'c');
  const std::string dat = "game ( name A rom ( name a size 1024 crc 1 sha1 " + sha1A + " ) )\n" +
                          "game ( name B rom ( name b size 1024 crc 1 sha1 " + sha1B + " ) )\n" +
                          "game ( name C rom ( name c size 1024 crc 1 sha1 " + sha1A + " ) )\n" +
                          "game ( name D rom ( name d size 2048 crc 1 ) )\n" +
                          "game ( name E rom ( name e size 1024 crc 2 sha1 xyz md5 " + md5 +
                          " ) )\n" + "game ( name F rom ( name f size 1024 crc 3 md5 short ) )\n" +
                          "game ( name G rom ( name g size 1024 crc 4 sha1 " + sha1A + " md5 x ) )";
  for (const bool keepTwins : {false, true}) {
    CatalogueBuilder builder(keepTwins);
    DatError error;
    ASSERT_TRUE(builder.load_bytes(dat, "t.dat", error)) << dat_refusal_line(error);
    const DatLoadSummary summary = builder.summaries().back();
    std::vector<std::string> names;
    for (const CatalogueEntry& entry : builder.finish()) names.push_back(entry.name);
    const std::vector<std::string> kept = {"A", "B", "D", "E", "F", "G"};
    EXPECT_EQ(names, keepTwins ? kept : std::vector<std::string>({"A", "E", "F", "G"}));
    EXPECT_EQ(dat_weaker_check_line(summary),
              "Catalogue: 2 entries from \"t.dat\" fall back to a weaker check (malformed: 1 "
              "SHA-1, 1 MD5)");
  }
}

TEST(DatLoaderTest, SummaryLine) {
  DatLoadSummary summary{"Atari - 2600.dat", 904, 1};
  EXPECT_EQ(dat_summary_line(summary),
            "Catalogue: 904 entries from \"Atari - 2600.dat\" (1 left out: size)");
  summary.leftOutRepeated = 2;
  EXPECT_EQ(dat_summary_line(summary),
            "Catalogue: 904 entries from \"Atari - 2600.dat\" (3 left out: 1 size, 2 duplicate)");
  EXPECT_EQ(dat_summary_line(DatLoadSummary{"a", 5}), "Catalogue: 5 entries from \"a\"");
}

// Several DATs make one catalogue: a later file's line counts its new
// entries, every reason for leaving an image out is counted, and only DATs
// that give no entry at all are refused, naming the reason that left out most.
TEST(DatLoaderTest, LinesOfSeveralFilesAndTheRefusalOfNoEntryAtAll) {
  const std::string good = "game ( name A rom ( name a size 4096 crc 1 ) )\n";
  const std::string faulty =
      "game ( name B rom ( name b size 4096 crc XYZ ) rom ( name c size 4096 crc 0x12345678f ) "
      "rom ( name d size 4096 ) rom ( name e size 12 crc 5 ) )\n";
  struct Row {
    std::vector<std::pair<std::string, std::string>> files;  // label, content
    std::vector<std::string> lines;                          // the summaries, or the refusal
  };
  const Row rows[] = {
      {{{"a.dat", good}, {"a.dat", good}},
       {"Catalogue: 1 entries from \"a.dat\"",
        "Catalogue: 0 new entries from \"a.dat\" (1 left out: duplicate)"}},
      {{{"a.dat", good + faulty}},
       {"Catalogue: 1 entries from \"a.dat\" (4 left out: 1 size, 2 bad CRC, 1 no CRC)"}},
      {{{"f.dat", faulty}},
       {"Cannot use DAT \"f.dat\": no usable entry, most for bad CRC (4 left out: 1 size, 2 bad "
        "CRC, 1 no CRC)"}},
      {{{"f.dat", faulty}, {"e.dat", "game ( name E )"}, {"f.dat", faulty}},
       {"Cannot use DAT \"f.dat\", \"e.dat\": no usable entry, most for bad CRC (8 left out: 2 "
        "size, 4 bad CRC, 2 no CRC)"}},
      {{{"s.dat", "game ( name S rom ( name s size 99 crc 1 ) )"}},
       {"Cannot use DAT \"s.dat\": no usable entry (1 left out: size)"}},
      {{{"e.dat", "game ( name E )"}}, {"Cannot use DAT \"e.dat\": no usable entry"}},
  };
  for (const Row& row : rows) {
    CatalogueBuilder builder;
    DatError error;
    for (const auto& [label, content] : row.files)
      ASSERT_TRUE(builder.load_bytes(content, label, error)) << dat_refusal_line(error);
    std::vector<std::string> lines;
    if (builder.has_entries(error)) {
      for (const DatLoadSummary& summary : builder.summaries())
        lines.push_back(dat_summary_line(summary));
    } else {
      lines.push_back(dat_refusal_line(error));
    }
    EXPECT_EQ(lines, row.lines);
  }
}

// Broken and hostile input: one refusal line naming the fault and its line.
TEST(DatLoaderTest, RefusesBrokenAndHostileInput) {
  const std::string longName(100000, 'x');
  std::string deep = "<datafile>";
  for (int level = 0; level < 100; ++level) deep += "<a>";
  const std::string laughs =
      "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY lol \"lol\"><!ENTITY lol2 "
      "\"&lol;&lol;&lol;\">]><datafile><game name=\"&lol2;\"><rom size=\"1024\" crc=\"1\"/>"
      "</game></datafile>";
  const std::pair<std::string, std::string> rows[] = {
      {"hello world", "line 1: not a DAT file (neither clrmamepro text nor XML)"},
      {"", "line 1: an empty file"},
      {"game ( name a\n rom ( name a size 1024 crc 1 )\n", "line 1: unterminated game block"},
      {"game ( name a rom ( name b size 1024 crc 1 ) )\ngame ( name \"b )",
       "line 2: a quoted value not closed on its line"},
      {"game ( name a rom ( size 1024 crc 1 ) ) ) (", "line 1: expected a block"},
      {std::string("game ( name a\0 rom ( size 1024 crc 1 ) )", 40), "line 1: NUL byte"},
      {"game ( name \"" + longName + "\" )", "line 1: a value longer than 4096 characters"},
      {"<datafile>\n<game name=\"a\">\n<rom size=\"1024\" crc=\"1\"/>\n",
       "line 2: unterminated game element"},
      {"<datafile><game name=\"a\"></datafile>", "line 1: </datafile> closes no open element"},
      {laughs, "line 1: an unknown entity &lol2;"},
      {deep, "line 1: elements nested deeper than 64"},
      {"<datafile><game name=\"" + longName + "\"/></datafile>",
       "line 1: a name or text longer than 4096 characters"},
      {"<datafile><game name=\"a\"><description>" + std::string(3000, 'x') + "<!---->" +
           std::string(3000, 'x') + "</description></game></datafile>",
       "line 1: a name or text longer than 4096 characters"},
      {"<mame><machine/></mame>", "line 1: the XML is neither a datafile nor a software list"},
  };
  for (const auto& [dat, expected] : rows) {
    const Loaded loaded = load(dat);
    EXPECT_FALSE(loaded.ok) << dat.substr(0, 80);
    EXPECT_EQ(loaded.refusal.find("Cannot use DAT \"t.dat\": " + expected), 0u)
        << loaded.refusal << " for " << dat.substr(0, 80);
  }
}

TEST(DatLoaderTest, FilesThatCannotBeRead) {
  CatalogueBuilder builder;
  DatError error;
  EXPECT_FALSE(builder.load_file("/nonexistent/x.dat", error));
  EXPECT_EQ(
      dat_refusal_line(error),
      "Cannot use DAT \"/nonexistent/x.dat\": cannot open the file (" + error_text(ENOENT) + ")");
  EXPECT_FALSE(builder.load_file(std::filesystem::temp_directory_path().string(), error));
  // A folder is no file to open.
  EXPECT_EQ(error.what.find("cannot open the file ("), 0u) << error.what;
  // A 1 GiB file (sparse, so the test writes nothing) is refused unread.
  const TempDir folder;
  const std::string huge = folder / "huge.dat";
  std::FILE* file = std::fopen(huge.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("game (", file);
  std::fclose(file);
  std::filesystem::resize_file(huge, std::uintmax_t{1} << 30);
  EXPECT_FALSE(builder.load_file(huge, error));
  EXPECT_EQ(error.what, "file larger than 256 MiB");
}

// The converter's output for the software list the table was made from is
// the committed table, byte for byte.
TEST(RomTableSourceTest, ConverterReproducesTheCommittedTable) {
  const std::filesystem::path root =
      std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
  std::filesystem::path list;
  for (const auto& folder : {std::filesystem::path("/work/shared/catalogue"),
                             root.parent_path() / "shared" / "catalogue"}) {
    if (std::filesystem::exists(folder / "a2600-software-list.xml"))
      list = folder / "a2600-software-list.xml";
  }
  if (list.empty())
    GTEST_SKIP() << "no software list in /work/shared/catalogue or ../shared/catalogue";
  CatalogueBuilder builder;
  DatError error;
  ASSERT_TRUE(builder.load_file(list.string(), error)) << dat_refusal_line(error);
  std::FILE* file = std::fopen((root / "audit/catalogue/rom_table.cpp").string().c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::string committed;
  char block[65536];
  std::size_t count = 0;
  while ((count = std::fread(block, 1, sizeof block, file)) > 0) committed.append(block, count);
  std::fclose(file);
  const std::vector<UnheldRom> unheld = builder.unheld();
  EXPECT_TRUE(rom_table_source(builder.finish(), unheld) == committed);
}

}  // namespace
