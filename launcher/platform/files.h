#pragma once
// The launcher's view of the file system: its two directories, and look-ups
// that find a file without regard to the letter case of its name (folder
// names included), as users of a collection copied from other systems expect.

#include <QString>
#include <QStringList>

// The directory that holds the running executable.
QString program_directory();

// The process's current directory.
QString working_directory();

// `directory`, one separator and `name`, joined as they stand: a directory
// that already ends in a separator gives two in a row, which the file system
// reads as one. The separator is "/" everywhere, which Qt takes on Windows too.
QString join_path(const QString& directory, const QString& name);

// The names of the normal files of `directory` that match `pattern` ("*"
// stands for any run of characters) without regard to case; hidden files
// (a leading ".", and on Windows the hidden attribute) are left out. Sorted without regard to case,
// ties broken by the exact names, so the order never depends on the directory listing. Empty when
// the directory cannot be read.
QStringList list_files(const QString& directory, const QString& pattern);

// The first of list_files(directory, pattern), or an empty string. A pattern
// without "*" is a plain name: a file of exactly that name wins over one
// that differs only in case.
QString first_match(const QString& directory, const QString& pattern);

// The full path of the normal file `relative` ("Pics/Mr.jpg") below
// `directory`, every part of it matched as first_match() matches a plain
// name; empty when there is no such file.
QString find_file(const QString& directory, const QString& relative);
