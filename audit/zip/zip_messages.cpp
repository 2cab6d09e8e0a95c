#include "zip/zip_messages.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <string>
#include "system/tool_file_names.h"

namespace {

constexpr char CORRUPT[] = "The zipfile seems to be corrupt, please check it";
constexpr char UNSUPPORTED[] = "The format of this zipfile is not supported, please recompress it";
constexpr char FILE_SYSTEM[] = "Your filesystem seems to be corrupt, please check it";
constexpr char ENCRYPTED[] = "The zipfile is encrypted, please store it without a password";

struct ErrorText {
  ZipError error;
  const char* console;
  const char* log;
};

constexpr ErrorText ERROR_TEXTS[] = {
    {ZipError::openingFile, FILE_SYSTEM, "Opening for reading"},
    {ZipError::seekingToEnd, FILE_SYSTEM, "Seeking to end"},
    {ZipError::gettingFileSize, FILE_SYSTEM, "Get file size"},
    {ZipError::emptyFile, CORRUPT, "Empty file"},
    {ZipError::readingEndRecord, CORRUPT, "Reading ECD (end of central directory)"},
    {ZipError::spanningDisks, UNSUPPORTED, "Cannot span disks"},
    {ZipError::seekingToDirectory, CORRUPT, "Seeking to central directory"},
    {ZipError::readingDirectory, CORRUPT, "Reading central directory"},
    {ZipError::invalidNameLength, CORRUPT, "Invalid filename length in directory"},
    {ZipError::seekingToHeader, CORRUPT, "Seeking to header"},
    {ZipError::readingHeader, CORRUPT, "Reading header"},
    {ZipError::seekingToData, CORRUPT, "Seeking to compressed data"},
    {ZipError::storedSizeDiffers, CORRUPT, "Wrong uncompressed size in store compression"},
    {ZipError::readingData, CORRUPT, "Reading compressed data"},
    {ZipError::versionTooNew, UNSUPPORTED, "Version too new"},
    {ZipError::systemUnsupported, UNSUPPORTED, "OS not supported"},
    {ZipError::inflating, CORRUPT, "Inflating compressed data"},
    {ZipError::methodUnsupported, UNSUPPORTED, "Compression method unsupported"},
    {ZipError::encrypted, ENCRYPTED, "Encrypted, cannot be read:"},
    {ZipError::crcMismatch, CORRUPT, "CRC mismatch in"},
    {ZipError::memberTooLarge, CORRUPT, "More data than an image may have in"},
    {ZipError::sizeDiffers, CORRUPT, "Size differs from the directory's in"},
    {ZipError::decoding, CORRUPT, "Decoding failed:"},
    {ZipError::decodingUnsupported, UNSUPPORTED, "Decoding failed:"},
    {ZipError::formatNotBuilt, UNSUPPORTED, "7z archives need libarchive, which this build lacks"},
    {ZipError::tooMuchBefore, UNSUPPORTED, "Too much data to unpack before"},
};

// The rows follow the order of ZipError, so a problem finds its texts by number.
constexpr bool rows_follow_the_enum() {
  for (std::size_t row = 0; row < std::size(ERROR_TEXTS); ++row) {
    if (static_cast<std::size_t>(ERROR_TEXTS[row].error) != row) return false;
  }
  return std::size(ERROR_TEXTS) == static_cast<std::size_t>(ZipError::tooMuchBefore) + 1;
}
static_assert(rows_follow_the_enum(), "one row per ZipError, in enum order");

}  // namespace

void zip_begin_members(ZipLog& log) {
  zip_end_members(log);
  log.collapsing = true;
}

void zip_end_members(ZipLog& log) {
  if (log.repeats > 0) {
    std::printf("Error in zipfile %s\nThe same for %d more members\n", log.lastPath.c_str(),
                log.repeats);
    if (log.file != nullptr)  // a failed write is said when the log is closed
      (void)print_to(*log.file, "Error in zipfile %s: the same for %d more members\n",
                     log.lastPath.c_str(), log.repeats);
  }
  log.lastPath.clear();
  log.lastText.clear();
  log.repeats = 0;
  log.collapsing = false;
}

void zip_report_error(ZipLog& log, const char* logText, const char* consoleText, const char* path) {
  if (log.collapsing) {
    if (log.lastPath == path && log.lastText == logText) {
      ++log.repeats;
      return;
    }
    zip_end_members(log);
    log.collapsing = true;
    log.lastPath = path;
    log.lastText = logText;
  }
  std::printf("Error in zipfile %s\n%s\n", path, consoleText);
  if (log.file == nullptr && log.open != nullptr) log.file = log.open(ZIP_LOG_NAME);
  if (log.file != nullptr) (void)print_to(*log.file, "Error in zipfile %s: %s\n", path, logText);
}

void zip_report_read_failure(ZipLog& log, const char* path, const FsResult& failure) {
  const std::string reason = failure.reason();
  const std::string console = "The zipfile cannot be read: " + reason;
  const std::string log_text = "Reading: " + reason;
  zip_report_error(log, log_text.c_str(), console.c_str(), path);
}

void zip_report(ZipLog& log, ZipError error, const char* path) {
  const ErrorText& text = ERROR_TEXTS[static_cast<std::size_t>(error)];
  zip_report_error(log, text.log, text.console, path);
}

void zip_report_cause(ZipLog& log, ZipError error, const char* path, const char* cause) {
  const ErrorText& text = ERROR_TEXTS[static_cast<std::size_t>(error)];
  const std::string log_text = std::string(text.log) + " " + cause;
  zip_report_error(log, log_text.c_str(), text.console, path);
}

namespace {

// crcMismatch for `member`, naming where each of the two CRCs comes from.
void report_two_crcs(ZipLog& log, const char* path, const char* member, const char* firstSource,
                     std::uint32_t first, const char* secondSource, std::uint32_t second) {
  char cause[96];
  std::snprintf(cause, sizeof cause, " (%s %08lx, %s %08lx)", firstSource,
                static_cast<unsigned long>(first), secondSource,
                static_cast<unsigned long>(second));
  zip_report_cause(log, ZipError::crcMismatch, path, (std::string(member) + cause).c_str());
}

}  // namespace

void zip_report_crc_mismatch(ZipLog& log, const char* path, const char* member,
                             std::uint32_t archiveSays, std::uint32_t dataIs) {
  report_two_crcs(log, path, member, "archive says", archiveSays, "data is", dataIs);
}

void zip_report_local_crc_mismatch(ZipLog& log, const char* path, const char* member,
                                   std::uint32_t localSays, std::uint32_t directorySays) {
  report_two_crcs(log, path, member, "local header says", localSays, "directory says",
                  directorySays);
}

void zip_log_detail(ZipLog& log, const char* format, ...) {
  if (log.file == nullptr) return;
  va_list arguments;
  va_start(arguments, format);
  (void)vprint_to(*log.file, format, arguments);  // kept in the log, said when it is closed
  va_end(arguments);
}
