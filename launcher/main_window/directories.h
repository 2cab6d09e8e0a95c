#pragma once
// The directories of a run.

#include <QString>
#include <utility>

// The program directory holds the start-up checks' files and vorbel.idx, the
// list directory the images, their pictures and manuals; the emulator is
// started in the list directory. Started on a folder (vorbel FOLDER, or the
// folder vorbel.ini names), the start-up checks look for the images and
// Default.jpg in that folder, and vorbel.idx may lie beside vorbel.ini.
struct LauncherDirectories {
  LauncherDirectories(QString program = {}, QString list = {}, QString startup = {},
                      QString position = {})
      : program(std::move(program)),
        list(std::move(list)),
        startup(std::move(startup)),
        position(std::move(position)) {}

  QString program;
  QString list;
  QString startup;   // where the start-up checks look; empty: the program directory
  QString position;  // the folder of vorbel.idx; empty: the program directory

  QString startup_folder() const { return startup.isEmpty() ? program : startup; }
  QString position_folder() const { return position.isEmpty() ? program : position; }
};
