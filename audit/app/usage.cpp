#include "app/usage.h"

#include "system/tool_file_names.h"

#include <cstdio>

void print_banner() {
  std::fprintf(stderr, "%s: cartridge image auditor for the Atari 2600, V %s\n", TOOL_NAME,
               TOOL_VERSION);
  std::fprintf(stderr, "Checks, names and counts your ROM collection against its catalogue.\n");
}

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
}
