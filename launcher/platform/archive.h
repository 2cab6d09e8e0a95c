#pragma once
// Reading ZIP and 7z archives through libarchive: what they hold, and one
// member written out as a file of its own.

#include <QString>
#include <QStringList>
#include <optional>

// The names of the normal files `path` holds, as the archive spells them;
// nothing when it is not a ZIP or 7z archive that can be read.
std::optional<QStringList> archive_members(const QString& path);

// Writes the member `member` of the archive `path` to the new file `target`
// (an existing file is replaced). False when the member cannot be read or
// the file cannot be written; no partial file is left then.
bool extract_member(const QString& path, const QString& member, const QString& target);
