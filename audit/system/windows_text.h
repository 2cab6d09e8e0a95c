#pragma once
// Text conversions at the Windows system calls: the tool keeps UTF-8, the
// calls take UTF-16.

#include <string>

// UTF-16 from UTF-8; a byte that is not UTF-8 becomes U+FFFD.
std::wstring wide_of(const std::string& text);

// UTF-8 from UTF-16; an unpaired surrogate becomes U+FFFD.
std::string utf8_of(const std::wstring& text);

// `path` for a wide system call: UTF-16 with backslashes, and a path that is
// too long for the classic limit made absolute and given the "\\?\" prefix
// (or "\\?\UNC\" for a share). A path the system cannot make absolute is
// returned as it was converted.
std::wstring system_path(const std::string& path);
