#pragma once
// A collector's folder as vorbel.ini's launcher lists it: the images of the
// folder and of its group folders, and single-image archives beside them.

#include <QString>
#include <QStringList>

// The largest cartridge image there is, in bytes: more is not unpacked.
inline constexpr qint64 LARGEST_IMAGE = 512 * 1024;

// The list names of `directory`: every .bin and .a26 image and every .zip
// and .7z archive that holds exactly one of them, in the folder and in its
// folders at any depth, each named by its path from `directory` with "/"
// ("Activision/River Raid (1982) (Activision).bin"). Hidden files and
// folders and links to folders are left out. Sorted without regard to case.
QStringList list_collection(const QString& directory);

// The archive kind of a list name, "zip" or "7z" in lower case; empty for
// an image.
QString archive_kind(const QString& name);

// The one image an archive holds, as the archive names it; empty when it
// holds none or more than one, or cannot be read.
QString archive_image(const QString& path);

// The file part of a list name: what follows its last "/".
QString entry_file(const QString& name);

// A file name less its extension (from the last "."); a name without one,
// or with only a leading ".", as it is.
QString without_extension(const QString& file);
