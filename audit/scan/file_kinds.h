#pragma once
// What a file is by its name: an image, an archive to look into, or an
// emulator's program riding along in an archive.

inline constexpr char EXTENSIONS_2600[] = ".bin.a26";
inline constexpr char EXTENSIONS_ARCHIVE[] = ".zip";
inline constexpr char EXTENSIONS_SEVEN_ZIP[] = ".7z";
inline constexpr char EXTENSIONS_EXECUTABLE[] = ".exe";

// True when `name` ends in one of the extensions of `extension_list`
// (".bin.a26"), compared without regard to case.
bool name_has_extension(const char* extension_list, const char* name);

// True when `name` is a ZIP or 7z archive's by its extension.
bool is_archive_name(const char* name);
