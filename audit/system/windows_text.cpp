#include "system/windows_text.h"

#include <windows.h>

namespace {

// CreateDirectoryW takes no more than MAX_PATH - 12 characters without the
// prefix, the tightest of the classic limits.
constexpr std::size_t LONGEST_PLAIN_PATH = MAX_PATH - 12;

std::wstring full_path_of(const std::wstring& path) {
  const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return std::wstring();
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return std::wstring();
  full.resize(written);
  return full;
}

}  // namespace

std::wstring wide_of(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string utf8_of(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::wstring system_path(const std::string& path) {
  std::wstring wide = wide_of(path);
  for (wchar_t& character : wide) {
    if (character == L'/') character = L'\\';
  }
  if (wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  // A short relative name can still make a long path with the current
  // directory in front, so the limit applies to the full path.
  const std::wstring full = full_path_of(wide);
  if (full.empty() || full.size() < LONGEST_PLAIN_PATH) return wide;
  if (full.rfind(L"\\\\?\\", 0) == 0) return full;
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}
