#include "naming/safe_names.h"

#include <gtest/gtest.h>

TEST(SafeNames, NamesWindowsCannotOpenAreMadeSafe) {
  const struct {
    const char* name;
    const char* safe;
  } rows[] = {
      {"River Raid (1982) (Activision).bin", "River Raid (1982) (Activision).bin"},
      {"Game..bin", "Game..bin"},      // dots inside a name are fine
      {"CONTACT.bin", "CONTACT.bin"},  // a device name only as the whole stem
      {"COM10.bin", "COM10.bin"},
      {"con", "con_"},
      {"CON.bin", "CON_.bin"},
      {"Nul.tar.gz", "Nul_.tar.gz"},  // the stem ends at the first dot
      {"aux .a26", "aux _.a26"},      // spaces before the dot do not hide it
      {"com7.zip", "com7_.zip"},
      {"LPT\xc2\xb9.bin", "LPT\xc2\xb9_.bin"},
      {"CONOUT$", "CONOUT$_"},
      {"Proto.", "Proto"},
      {"Proto . .", "Proto"},
      {"prn. ", "prn_"},  // stripped first, then a device
      {"..", "_"},
      {"", ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(safe_name(row.name), row.safe) << row.name;
  }
}

TEST(SafeNames, EveryLevelOfAPathIsMadeSafe) {
  EXPECT_EQ(safe_path("Activision/CON/Proto./", '/'), "Activision/CON_/Proto/");
  EXPECT_EQ(safe_path("a\\\\nul\\", '\\'), "a\\\\nul_\\");
}
