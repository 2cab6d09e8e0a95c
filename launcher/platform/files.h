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

// Sorts `names` as list_files() sorts them: without regard to case, ties
// broken by the exact names.
void sort_names(QStringList& names);

// list_files() for several patterns at once: the names that match any of
// them, from one listing, sorted together as list_files() sorts.
QStringList list_files(const QString& directory, const QStringList& patterns);

// The names of the normal files and of the folders of `directory`, from
// one listing, unsorted. Hidden ones are left out, as list_files() leaves
// them out, and so are links to folders, so that a walk through folders ends.
struct FolderListing {
  QStringList files;
  QStringList folders;
};
FolderListing list_folder(const QString& directory);

// The first of list_files(directory, pattern), or an empty string. A pattern
// without "*" is a plain name: a file of exactly that name wins over one
// that differs only in case.
QString first_match(const QString& directory, const QString& pattern);

// The full path of the folder `name` in `directory`, matched as first_match()
// matches a plain name; empty when there is no such folder.
QString find_folder(const QString& directory, const QString& name);

// The full path of the normal file `relative` ("Pics/Mr.jpg") below
// `directory`, every part of it matched as first_match() matches a plain
// name; empty when there is no such file.
QString find_file(const QString& directory, const QString& relative);

// True when `path` names a folder.
bool is_folder(const QString& path);

// True when files can be created in the folder `directory`.
bool is_writable_folder(const QString& directory);

// Makes `directory` the process's current directory; false when it cannot.
bool change_directory(const QString& directory);

// The user's configuration folder for the launcher (Qt's
// AppConfigLocation, ~/.config/vorbel on Linux); it need not exist.
QString config_directory();

// `path` with a leading "~" (alone or before a "/") replaced by the user's
// home folder.
QString expand_home(const QString& path);
