#pragma once
// Starting the emulator as a program of its own.

#include <QString>
#include <QStringList>

// The emulator's file name on this platform ("orv", or "orv.exe" on Windows).
QString emulator_file_name();

// Where the program `name` is found: in `programDirectory`, then in
// `workingDirectory` (both without regard to case), then on the PATH. When
// it is nowhere, the path it would have in the program directory. The path
// uses the platform's own separator, as messages show it.
QString resolve_program(const QString& name, const QString& programDirectory,
                        const QString& workingDirectory);

// Where a program named by the user (vorbel.ini) is, and whether it is one.
struct ProgramLookup {
  enum class Kind { Found, Folder, Missing };
  Kind kind = Kind::Missing;
  QString path;  // Found, Folder: the full path, with the platform's separator
};

// Looks for `program`: one holding a separator is a path (a relative one
// taken from `workingDirectory`); a plain name is looked for on the PATH,
// then in `programDirectory` and in `workingDirectory` (there without regard
// to case; on Windows also with ".exe"). Folder when what it names is a
// folder and no program of that name is found.
ProgramLookup find_program(const QString& program, const QString& programDirectory,
                           const QString& workingDirectory);

// Starts `program` detached, in `workingDirectory`, with `argument` as its
// one and only argument (on Windows the command line `program "argument"`),
// and does not wait for it. Returns its process id, or 0 when it could not
// be started.
qint64 start_program(const QString& program, const QString& argument,
                     const QString& workingDirectory);

// The same with `arguments`, each reaching the program as one argument,
// unchanged; no shell is involved (on Windows Qt quotes them by the rules
// of the C runtime's command-line parser).
qint64 start_program(const QString& program, const QStringList& arguments,
                     const QString& workingDirectory);

// Brings the window of process `processId` to the front where the platform
// lets a program do that. On X11 and Wayland the window manager decides
// (a newly mapped window normally gets the focus), and Windows lets a
// program started by the program in front come to the front itself, so this
// does nothing today; a process without a window is not an error.
void activate_application(qint64 processId);
