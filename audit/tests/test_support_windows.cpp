// The parts of the test helpers that talk to Windows: temporary folders,
// the environment and starting a program with its output captured.

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "system/windows_text.h"
#include "test_support.h"

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate =
        fs::temp_directory_path() / ("vald-test-" + std::to_string(random() % 1000000000));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      path_ = candidate.string();
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code error;
  // The prefix lets folders deeper than the classic limit go too.
  fs::remove_all(L"\\\\?\\" + wide_of(path_), error);
}

bool file_exists(const std::string& path) {
  return GetFileAttributesW(system_path(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void hide(const std::string& path) {
  const std::wstring wide = system_path(path);
  SetFileAttributesW(wide.c_str(), GetFileAttributesW(wide.c_str()) | FILE_ATTRIBUTE_HIDDEN);
}

void drop_from_cache(const std::string&) {}  // Windows has no call for that

void set_environment(const std::string& name, const std::string& value) {
  _wputenv_s(wide_of(name).c_str(), wide_of(value).c_str());
}

void unset_environment(const std::string& name) {
  _wputenv_s(wide_of(name).c_str(), L"");
}

namespace {

// One argument of a command line as the C runtime splits it again: quoted,
// with backslashes before a quote doubled.
std::wstring quoted(const std::wstring& argument) {
  std::wstring text = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t character : argument) {
    if (character == L'\\') {
      ++backslashes;
      continue;
    }
    text.append(character == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    text += character;
  }
  text.append(backslashes * 2, L'\\');
  return text + L"\"";
}

HANDLE inheritable_output(const std::string& path) {
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), nullptr, TRUE};
  return CreateFileW(system_path(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &attributes,
                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ProgramResult run_program(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& directory, const std::string& home) {
  TempDir capture;
  const std::string out_path = capture / "out";
  const std::string err_path = capture / "err";
  HANDLE out = inheritable_output(out_path);
  HANDLE err = inheritable_output(err_path);
  std::wstring command_line = quoted(wide_of(program));
  for (const auto& argument : arguments) command_line += L" " + quoted(wide_of(argument));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  // The child inherits this process's environment: HOME is set for it alone.
  const char* saved_home = std::getenv("HOME");
  const std::string previous_home = saved_home != nullptr ? saved_home : "";
  set_environment("HOME", home);
  // Under Wine on a loaded machine a start now and then fails before the
  // program runs at all; a start that never happened changed nothing, so it
  // is tried again a few times.
  bool started = false;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt > 0) Sleep(250);
    started = CreateProcessW(wide_of(program).c_str(), command_line.data(), nullptr, nullptr, TRUE,
                             0, nullptr, wide_of(directory).c_str(), &startup, &process);
  }
  set_environment("HOME", previous_home);
  CloseHandle(out);
  CloseHandle(err);
  ProgramResult result;
  if (started) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) result.exitCode = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  result.out = read_text(out_path);
  result.err = read_text(err_path);
  if (!started) result.err += "the test could not start " + program + "\n";
  return result;
}
