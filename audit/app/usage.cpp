#include "app/usage.h"

#include <cstdio>

#include "system/tool_file_names.h"

void print_banner() {
  std::fprintf(stderr, "%s: cartridge image auditor for the Atari 2600, V %s\n", TOOL_NAME,
               TOOL_VERSION);
  std::fprintf(stderr, "Checks, names and counts your ROM collection against its catalogue.\n");
}

namespace {

// The words added since the usage text was made, after it, one line each in
// its style: the text itself stays as it was made, leaving out on purpose
// the words it never showed (audit3, convert, mess_crcs).
void print_added_words() {
  static const char* const added_lines[] = {
      "copy       = copy ROMs out of folders and packs into 2600Ren\n",
      "undo       = take back the last rename/move/copy run\n",
      "plan       = show what rename/move/copy/undo would do, change nothing\n",
      "verify     = also check size and SHA-1/MD5 of ROMs found by CRC\n",
      "csv        = also write 2600Report.csv (list/rename/move/copy)\n",
      "dat=FILE   = use the DAT file FILE as the catalogue (may repeat)\n",
      "fixdat     = also write 2600Miss.dat, the ROMs missing as a DAT\n",
      "to=TARGET  = copy laid out for harmony, unocart, pluscart, bin, mame,\n"
      "             retroarch or esde\n",
      "out=FOLDER = copy into FOLDER (a card) instead of 2600Ren\n",
      "1g1r       = one ROM per game (copy/list/csv); tv=ntsc or tv=pal picks\n",
  };
  std::fprintf(stderr, "more option words:\n\n");
  for (const char* line : added_lines) std::fputs(line, stderr);
  std::fprintf(stderr, "\n");
}

}  // namespace

void print_usage() {
  static const char* const option_lines[] = {
      "rename     = rename ROMs\n",
      "move       = move ROMs\n",
      "scan       = generate listing of all ROMs [w/dirs]\n",
      "scannew    = generate listing of unknown ROMs [w/dirs]\n",
      "list       = lists ROMs you have/need [w/dirs]\n",
      "audit      = prints names not matching any line in Valdinfo.cfg\n",
      "changes    = log rename/move operations (- reverses)\n",
      "changesnew = log rename/move operations that change a filename\n",
      "dirs       = move to dirs using Valdinfo.cfg info\n",
      "quiet      = suppress most non-error messages\n",
      "sepX       = replaces space in filenames with char X\n",
      "deep       = adds more detail to scanfiles where appliciable\n",
  };
  print_banner();
  std::fprintf(stderr,
               "Usage: %s [rename|move|scan[d]|scannew[d]|list[d]|audit[2]\n"
               "       [changes[-]] [changesnew[-]] [quiet] [dirs] [deep] [sep_]\n\n",
               TOOL_NAME);
  for (const char* line : option_lines) std::fputs(line, stderr);
  std::fprintf(stderr, "\nseveral output files are created depending on option selected:\n\n");
  std::fprintf(stderr, "%-13s= database of scanned ROMs\n", HAVE_DATABASE_NAME);
  std::fprintf(stderr, "%-13s= ROMs missing (if in rename/move/list mode)\n", MISS_REPORT_NAME);
  std::fprintf(stderr, "%-13s= ROMS present (if in rename/move/list mode)\n", HAVE_REPORT_NAME);
  std::fprintf(stderr, "%-13s= log of 'scan' and 'scannew'\n", SCAN_LOG_NAME);
  std::fprintf(stderr, "%-13s= log of 'changes' and 'changesnew'\n", CHANGE_LOG_NAME);
  std::fprintf(stderr, "%-13s= log of ZIP errors\n", ZIP_LOG_NAME);
  std::fprintf(stderr, "\n");
  print_added_words();
}
