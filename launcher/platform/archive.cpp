#include "platform/archive.h"

#include <archive.h>
#include <archive_entry.h>

#include <QFile>
#include <QSaveFile>
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

bool copy_data(archive* handle, QSaveFile& out) {
  char buffer[16 * 1024];
  for (;;) {
    const la_ssize_t got = archive_read_data(handle, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0 || out.write(buffer, got) != got) return false;
  }
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

bool extract_member(const QString& path, const QString& member, const QString& target) {
  const ArchiveHandle handle = open_archive(path);
  if (!handle) return false;
  archive_entry* entry = nullptr;
  while (archive_read_next_header(handle.get(), &entry) == ARCHIVE_OK) {
    if (archive_entry_filetype(entry) != AE_IFREG || entry_name(entry) != member) continue;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || !copy_data(handle.get(), out)) return false;
    return out.commit();
  }
  return false;
}
