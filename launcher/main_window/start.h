#pragma once
// What vorbel does before its window is made: it reads vorbel.ini, changes
// into the folder it is started on and settles the directories of the run.

#include <QString>
#include <QStringList>

#include "main_window/directories.h"
#include "main_window/emulator.h"

class IniFile;

struct LauncherStart {
  bool goOn = true;  // false: a message has said why vorbel does not start
  LauncherDirectories directories;
  Emulator emulator;  // the designed orv unless vorbel.ini names one
  // True with a readable vorbel.ini: the collector's launcher (Form1).
  bool collector = false;
};

// The vorbel.ini to read: the program directory's, else the configuration
// folder's (names without regard to case); empty when neither has one.
QString find_settings(const QString& programDirectory, const QString& configDirectory);

// The emulator that a readable vorbel.ini names: none (the designed orv)
// without [Emulator] Program; with one, its problem when Program is empty
// or Arguments cannot be split into words.
Emulator emulator_from(const IniFile& settings);

// The folder of vorbel.idx: the program directory, or the folder of
// vorbel.ini (when there is one) if the program directory cannot be written.
QString position_folder(const QString& programDirectory, const QString& settingsFolder,
                        bool programWritable);

// The whole start: `arguments` are the command line's words after the
// program's name. A folder given there, or else [List] Folder= of
// vorbel.ini (relative to the file's folder), becomes the current directory
// and so the list directory. Shows a message for a vorbel.ini it cannot
// read (and goes on without it) and for a folder it cannot open (and then
// does not go on).
LauncherStart prepare_start(const QString& programDirectory, const QString& configDirectory,
                            const QStringList& arguments);
