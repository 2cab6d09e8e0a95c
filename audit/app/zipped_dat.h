#pragma once
// DATs as DAT sites hand them out: one DAT file alone in a ZIP archive.

#include <string>

#include "catalogue/dat_loader.h"

// Adds the entries of the DAT at `path` to `builder`, as
// CatalogueBuilder::load_file does; when the file is a ZIP archive, the one
// file inside it is read instead (messages still name `path`). False, with
// `error` set, when the file or the archive cannot be used.
bool load_dat_word(CatalogueBuilder& builder, const std::string& path, DatError& error);
