#pragma once
// Reading ZIP and 7z archives through libarchive: what they hold, and one
// member written out as a file of its own.

#include <QString>
#include <QStringList>
#include <optional>

// The names of the normal files `path` holds, as the archive spells them;
// nothing when it is not a ZIP or 7z archive that can be read.
std::optional<QStringList> archive_members(const QString& path);

enum class Extraction {
  Done,      // the member was written whole
  TooLarge,  // its stated or its real size is over the limit; nothing is kept
  Failed,    // it cannot be read or the file cannot be written; nothing is kept
};

// Writes the member `member` of the archive `path` to the new file `target`
// (an existing file is replaced), when neither the size the archive states
// for it nor the bytes it really gives are more than `limit`: reading stops
// one byte past the limit, whatever the archive claims. No partial file is
// left when it is not Done.
Extraction extract_member(const QString& path, const QString& member, const QString& target,
                          qint64 limit);
