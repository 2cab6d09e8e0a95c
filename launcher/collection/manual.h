#pragma once
// Game manuals: plain text files named after the image, shown in a box.

#include <QByteArray>
#include <QString>

// Manuals larger than this many bytes are not shown.
inline constexpr qint64 MANUAL_SIZE_LIMIT = 64000;

// The base name of a list entry: its name up to, not including, the first
// "." ("Mr. Do!.bin" gives "Mr").
QString base_name(const QString& fileName);

// The text of a manual's bytes: UTF-8 when they are valid UTF-8, otherwise
// Windows-1252. CR LF, a bare LF and a bare CR each end a line.
QString decode_manual(const QByteArray& bytes);

struct Manual {
  enum class Outcome { Shown, Missing, TooLarge };
  Outcome outcome = Outcome::Missing;
  QString text;  // when shown
};

// Reads the manual at `path` (empty: there is none). A file that cannot be
// read counts as missing; one over MANUAL_SIZE_LIMIT as too large.
Manual read_manual(const QString& path);
