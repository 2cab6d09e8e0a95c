#pragma once
// The two files that carry what a collection has from run to run: the have
// database Vald2600.db ("VALD", the system type 00 00 00 01, then the
// big-endian CRC-32 of every title had) and the have list 2600Have.txt (a
// headline, then one catalogue name a line). Both are read and written here
// alone.

#include <string>

#include "files/tool_files.h"
#include "system/file_system.h"

// What reading a have file gave. unreadable: it is there but could not be
// read whole (`failure` says why); what was read of it is marked all the same.
// tooLarge: larger than the file can be for the largest catalogue; it is not
// read at all.
struct HaveFileRead {
  enum class Outcome { seeded, missing, notOurs, unreadable, tooLarge } outcome = Outcome::missing;
  FsResult failure;
};

// Marks the entries the have database in `directories` lists as had before
// (`hadBefore`); the CRCs it holds that the catalogue does not know are kept
// in `foreignHave`. notOurs, marking nothing: it is no database or belongs
// to another system.
HaveFileRead db_seed_from_database(const ToolDirectories& directories);

// Marks the entries the have list in `directories` names as had before, if any.
HaveFileRead db_seed_from_have_list(const ToolDirectories& directories);

// Writes the have database: the CRC of every entry had, in catalogue order,
// then the had CRCs this catalogue does not know, as the previous database
// held them. It is written beside the old one and renamed over it, so the
// old one stays whole when anything fails, and the failure is the step's
// that failed.
FsResult write_have_database(const ToolDirectories& directories);

// Writes the name of every entry had, one a line, after the headline the
// caller wrote to `list`; with `shown`, only of the entries it marks.
void write_have_names(FileStream& list, const std::vector<bool>* shown = nullptr);
