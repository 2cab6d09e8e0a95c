#include "platform/archive.h"

#include <archive.h>
#include <archive_entry.h>

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <memory>

namespace {

struct ArchiveCloser {
  void operator()(archive* handle) const { archive_read_free(handle); }
};
using ArchiveHandle = std::unique_ptr<archive, ArchiveCloser>;

constexpr size_t BLOCK_SIZE = 64 * 1024;

// The archive at `path`, opened for reading, or null.
ArchiveHandle open_archive(const QString& path) {
  ArchiveHandle handle(archive_read_new());
  if (!handle) return nullptr;
  archive_read_support_format_zip(handle.get());
  archive_read_support_format_7zip(handle.get());
  const QByteArray local = QFile::encodeName(path);
  if (archive_read_open_filename(handle.get(), local.constData(), BLOCK_SIZE) != ARCHIVE_OK)
    return nullptr;
  return handle;
}

QString entry_name(archive_entry* entry) {
  if (const char* utf8 = archive_entry_pathname_utf8(entry)) return QString::fromUtf8(utf8);
  const char* raw = archive_entry_pathname(entry);
  return raw ? QFile::decodeName(raw) : QString();
}

// Copies the entry's data, at most `limit` bytes of it.
Extraction copy_data(archive* handle, QSaveFile& out, qint64 limit) {
  char buffer[16 * 1024];
  for (qint64 total = 0;;) {
    // One byte past the limit is enough to know the member is too large.
    const qint64 wanted = std::min<qint64>(sizeof buffer, limit + 1 - total);
    const la_ssize_t got = archive_read_data(handle, buffer, static_cast<size_t>(wanted));
    if (got == 0) return Extraction::Done;
    if (got < 0) return Extraction::Failed;
    total += got;
    if (total > limit) return Extraction::TooLarge;
    if (out.write(buffer, got) != got) return Extraction::Failed;
  }
}

bool stated_too_large(archive_entry* entry, qint64 limit) {
  return archive_entry_size_is_set(entry) && archive_entry_size(entry) > limit;
}

}  // namespace

std::optional<QStringList> archive_members(const QString& path) {
  const ArchiveHandle handle = open_archive(path);
  if (!handle) return std::nullopt;
  QStringList names;
  archive_entry* entry = nullptr;
  int status;
  while ((status = archive_read_next_header(handle.get(), &entry)) == ARCHIVE_OK) {
    if (archive_entry_filetype(entry) == AE_IFREG) names.append(entry_name(entry));
  }
  if (status != ARCHIVE_EOF) return std::nullopt;
  return names;
}

Extraction extract_member(const QString& path, const QString& member, const QString& target,
                          qint64 limit) {
  const ArchiveHandle handle = open_archive(path);
  if (!handle) return Extraction::Failed;
  archive_entry* entry = nullptr;
  while (archive_read_next_header(handle.get(), &entry) == ARCHIVE_OK) {
    if (archive_entry_filetype(entry) != AE_IFREG || entry_name(entry) != member) continue;
    if (stated_too_large(entry, limit)) return Extraction::TooLarge;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) return Extraction::Failed;
    const Extraction copied = copy_data(handle.get(), out, limit);
    if (copied != Extraction::Done) return copied;  // the unfinished file is dropped
    return out.commit() ? Extraction::Done : Extraction::Failed;
  }
  return Extraction::Failed;
}
