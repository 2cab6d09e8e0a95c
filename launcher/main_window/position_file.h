#pragma once
// The list position file vorbel.idx: one line holding the selected index.

#include <QByteArray>
#include <QString>
#include <optional>

// The file's text for `index`: a blank before a number that is not
// negative, the number, a blank, CR LF (" 12 \r\n", "-1 \r\n").
QByteArray position_text(int index);

// The number on the first line of `bytes` (LF or CR LF ends it), blanks
// around it ignored; nothing when there is no line, the line is not a whole
// decimal number, or the number does not fit 16 signed bits.
std::optional<int> parse_position(const QByteArray& bytes);

// The index held by the file at `path`; nothing when it cannot be read or
// holds no usable number (parse_position).
std::optional<int> read_position(const QString& path);

// Rewrites the file at `path` with `index`; false when it cannot.
bool write_position(const QString& path, int index);
