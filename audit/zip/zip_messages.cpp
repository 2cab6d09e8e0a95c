#include "zip/zip_messages.h"

#include <cstddef>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

#include "system/tool_file_names.h"

namespace {

// Console texts; "%s" is the word for the archive: "zipfile" or "archive".
constexpr char CORRUPT[] = "The %s seems to be corrupt, please check it";
constexpr char UNSUPPORTED[] = "The format of this %s is not supported, please recompress it";
constexpr char FILE_SYSTEM[] = "Your filesystem seems to be corrupt, please check it";
constexpr char ENCRYPTED[] = "The %s is encrypted, please store it without a password";

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
    {ZipError::localCrcMismatch, CORRUPT, "CRC mismatch in"},
    {ZipError::memberTooLarge, CORRUPT, "More data than an image may have in"},
    {ZipError::sizeDiffers, CORRUPT, "Size differs from the directory's in"},
    {ZipError::decoding, CORRUPT, "Decoding failed:"},
    {ZipError::decodingUnsupported, UNSUPPORTED, "Decoding failed:"},
    {ZipError::formatNotBuilt, UNSUPPORTED, "7z archives need libarchive, which this build lacks"},
    {ZipError::tooMuchBefore, UNSUPPORTED, "Too much data to unpack before"},
    {ZipError::tooManyMembers, UNSUPPORTED, "More members than are listed, from"},
};

// The rows follow the order of ZipError, so a problem finds its texts by number.
constexpr bool rows_follow_the_enum() {
  for (std::size_t row = 0; row < std::size(ERROR_TEXTS); ++row) {
    if (static_cast<std::size_t>(ERROR_TEXTS[row].error) != row) return false;
  }
  return std::size(ERROR_TEXTS) == static_cast<std::size_t>(ZipError::tooManyMembers) + 1;
}
static_assert(rows_follow_the_enum(), "one row per ZipError, in enum order");

// Where each of the two CRC-32s of a disagreement comes from.
const char* const CRC_SOURCES[][2] = {{"archive says", "data is"},
                                      {"local header says", "directory says"}};

const char* noun_of(ArchiveFormat format) {
  return format == ArchiveFormat::zip ? "zipfile" : "archive";
}

// `text` with its "%s", if it has one, replaced by `noun`.
std::string with_noun(const char* text, const char* noun) {
  std::string filled = text;
  if (const std::size_t at = filled.find("%s"); at != std::string::npos)
    filled.replace(at, 2, noun);
  return filled;
}

// The log text's cause: the member (with both CRC-32s when they disagree)
// or the decoder's words.
std::string cause_of(const ZipResult& result) {
  if (result.error != ZipError::crcMismatch && result.error != ZipError::localCrcMismatch) {
    return result.cause;
  }
  const auto& sources = CRC_SOURCES[result.error == ZipError::localCrcMismatch ? 1 : 0];
  char crcs[96];
  std::snprintf(crcs, sizeof crcs, " (%s %08lx, %s %08lx)", sources[0],
                static_cast<unsigned long>(result.saidCrc), sources[1],
                static_cast<unsigned long>(result.otherCrc));
  return result.cause + crcs;
}

// The console and log texts of a problem of the disk: the system's reason.
std::pair<std::string, std::string> disk_texts(const ZipResult& result, const char* noun) {
  const std::string reason = result.disk.reason();
  if (result.error == ZipError::openingFile) {
    return {with_noun("The %s cannot be opened: ", noun) + reason,
            "Opening for reading: " + reason};
  }
  return {with_noun("The %s cannot be read: ", noun) + reason, "Reading: " + reason};
}

// One problem: the console lines always, the log line when the log opens.
void say(ZipLog& log, const std::string& heading, const std::string& console,
         const std::string& logText) {
  if (log.collapsing) {
    if (log.lastHeading == heading && log.lastText == logText) {
      ++log.repeats;
      return;
    }
    zip_end_members(log);
    log.collapsing = true;
    log.lastHeading = heading;
    log.lastText = logText;
  }
  std::printf("%s\n%s\n", heading.c_str(), console.c_str());
  if (log.file == nullptr && log.open != nullptr) log.file = log.open(ZIP_LOG_NAME);
  if (log.file == nullptr) return;
  // A log line that cannot be written is lost; the log's close says so.
  (void)print_to(*log.file, "%s: %s\n", heading.c_str(), logText.c_str());
}

}  // namespace

ZipResult zip_failure(ZipError error, std::string cause) {
  ZipResult result;
  result.failed = true;
  result.error = error;
  result.cause = std::move(cause);
  return result;
}

ZipResult zip_disk_failure(ZipError error, const FsResult& disk) {
  ZipResult result = zip_failure(error);
  result.disk = disk;
  return result;
}

ZipResult zip_crc_failure(ZipError error, std::string member, std::uint32_t said,
                          std::uint32_t other) {
  ZipResult result = zip_failure(error, std::move(member));
  result.saidCrc = said;
  result.otherCrc = other;
  return result;
}

void zip_begin_members(ZipLog& log) {
  zip_end_members(log);
  log.collapsing = true;
}

void zip_end_members(ZipLog& log) {
  if (log.repeats > 0) {
    std::printf("%s\nThe same for %d more members\n", log.lastHeading.c_str(), log.repeats);
    if (log.file != nullptr) {
      // As for every log line: a write that fails is said when the log closes.
      (void)print_to(*log.file, "%s: the same for %d more members\n", log.lastHeading.c_str(),
                     log.repeats);
    }
  }
  log.lastHeading.clear();
  log.lastText.clear();
  log.repeats = 0;
  log.collapsing = false;
}

void zip_report(ZipLog& log, ArchiveFormat format, const char* path, const ZipResult& result) {
  const char* noun = noun_of(format);
  if (!result.detail.empty() && log.file != nullptr) {
    (void)write_text(*log.file, result.detail);  // a lost detail line is said at the close
  }
  const std::string heading = std::string("Error in ") + noun + " " + path;
  if (!result.disk.ok()) {
    const auto [console, log_text] = disk_texts(result, noun);
    return say(log, heading, console, log_text);
  }
  const ErrorText& text = ERROR_TEXTS[static_cast<std::size_t>(result.error)];
  const std::string cause = cause_of(result);
  say(log, heading, with_noun(text.console, noun),
      cause.empty() ? text.log : std::string(text.log) + " " + cause);
}
