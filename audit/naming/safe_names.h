#pragma once
// Names from the catalogue, a DAT or ValdInfo.cfg made safe to use as file
// and folder names on every platform: Windows cannot open a name that is a
// device (CON, NUL, COM1, ...) or that ends in a dot or a space, and such a
// file on a shared drive is a trap for everyone.

#include <string>

// Where a name must be usable: on every platform the tool runs on, or also
// on a FAT card, whose names hold none of "*/:<>?\| and no control bytes.
enum class NameTarget { anyPlatform, fat };

// `name` (one path level, no separator) unchanged when it is safe. Trailing
// dots and spaces are removed ("_" when nothing is left); a name whose part
// before the first dot, without trailing spaces, is a device name in any
// case gets "_" after that part: "CON.bin" -> "CON_.bin", "nul" -> "nul_".
// For FAT, each character FAT refuses becomes "_" first.
std::string safe_name(const std::string& name, NameTarget target = NameTarget::anyPlatform);

// `path` with every level between separators made safe by safe_name; empty
// levels stay empty.
std::string safe_path(const std::string& path, char separator);
