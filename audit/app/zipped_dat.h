#pragma once
// DATs as DAT sites hand them out: one DAT file alone in a ZIP archive.

#include <string>

#include "dat/dat_loader.h"

// The ZipUnpacker of the run's DATs: the bytes of the one file of the ZIP
// archive at `path`; false, with `error.what` set, when the archive holds
// another number of files or cannot be read (the archive reader has said
// why on the console).
bool unpack_zipped_dat(const std::string& path, std::string& bytes, DatError& error);
