#pragma once
// The emulator Play starts: the designed orv with the list name as its one
// argument, or the program and argument template that vorbel.ini names.

#include <QString>
#include <QStringList>
#include <optional>

struct Emulator {
  // False: the designed orv. True: `program` with `arguments`, from vorbel.ini.
  bool configured = false;
  QString program;        // as the user wrote it; messages name it so
  QStringList arguments;  // the template's words, before %f, %p and %% are filled in
  QString problem;        // not empty: why the configured emulator cannot be used
  QStringList archives;   // archive kinds it takes as they are ("zip", "7z")
  // With a vorbel.ini that names none: which were read and where one goes,
  // said after the designed "orv was not found.".
  QString unsetNote;
};

// The archive kinds of an Archives= value: its comma-separated words, in
// lower case, blanks and empty words left out ("ZIP, 7z" gives zip and 7z).
QStringList archive_kinds(const QString& value);

// The default template: the list name alone.
inline const QString DEFAULT_ARGUMENTS = QStringLiteral("%f");

// Splits an argument template into words as a POSIX shell splits a command
// line, without running one and without expanding anything: blanks, tabs
// and line ends separate words; '...' keeps everything literally; "..."
// keeps everything but a backslash before " \ $ ` (which stands for that
// character); outside quotes a backslash keeps the next character; "" and ''
// give an empty word. Nothing when a quote is not closed.
std::optional<QStringList> split_template(const QString& text);

// Each word with %f replaced by `name` (the list name), %p by `path` (its
// full path) and %% by one %; any other % stays as it is. A name is never
// split: it lands inside the word that held the code.
QStringList fill_template(const QStringList& words, const QString& name, const QString& path);
