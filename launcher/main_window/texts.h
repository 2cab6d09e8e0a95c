#pragma once
// Every fixed text and file name of the main window; the texts it shares
// with the other windows come from common/texts.h.

#include <QString>
#include <QStringList>

#include "collection/names.h"
#include "common/texts.h"

namespace texts {

inline const QString LIST_PATTERN = QStringLiteral("*.bin");
// The list shows these together, as the images the auditor names keep their
// own extension.
inline const QStringList IMAGE_PATTERNS = {LIST_PATTERN, QStringLiteral("*.a26")};
inline const QString FALLBACK_PICTURE = QStringLiteral("Default.jpg");
inline const QString POSITION_FILE = QStringLiteral("vorbel.idx");
inline const QString MANUAL_FOLDER = QStringLiteral("Text");
inline const QString MANUAL_EXTENSION = QStringLiteral(".txt");
inline const QString SETTINGS_FILE = QStringLiteral("vorbel.ini");
inline const QString SETTINGS_PROGRAM = QStringLiteral("Emulator/Program");
inline const QString SETTINGS_ARGUMENTS = QStringLiteral("Emulator/Arguments");
inline const QString SETTINGS_FOLDER = QStringLiteral("List/Folder");
inline const QString SETTINGS_ARCHIVES = QStringLiteral("Emulator/Archives");

// The collector's launcher.
inline const QStringList LIST_VIEWS = {QStringLiteral("All games"), QStringLiteral("Favourites"),
                                       QStringLiteral("Recently played")};
inline const QString VIEW_TOOLTIP =
    QStringLiteral("Show all games, the favourites (Ctrl+D marks one) or the last 20 played");
inline const QString FAVOURITE_KEY = QStringLiteral("Ctrl+D");
// Its private folders for unpacked images are "vorbel-PID-XXXXXX".
inline const QString UNPACK_PREFIX = QStringLiteral("vorbel");
inline QString cannot_unpack(const QString& archive) {
  return QStringLiteral("The image in %1 cannot be unpacked.").arg(archive);
}
inline QString image_too_large(const QString& archive) {
  return QStringLiteral(
             "The image in %1 is larger than 512 KiB, more than any cartridge image, so vorbel "
             "does not unpack it.")
      .arg(archive);
}
// The picture shown where the folder has no Default.jpg, built into vorbel.
inline const QString BUILT_IN_PICTURE = QStringLiteral(":/vorbel/Default.jpg");
// The window's size, place and full-screen state, beside vorbel.idx.
inline const QString WINDOW_FILE = QStringLiteral("vorbel.window");
// The kinds of picture (PictureKind), and the mark under the preview.
inline const QStringList PICTURE_KINDS = {QStringLiteral("Picture"), QStringLiteral("Box art"),
                                          QStringLiteral("Screenshot"),
                                          QStringLiteral("Title screen")};
inline QString picture_mark(int index, int count, int kind) {
  return QStringLiteral("%1/%2 %3").arg(index + 1).arg(count).arg(PICTURE_KINDS.value(kind));
}
inline const QStringList SEARCH_KEYS = {QStringLiteral("/"), QStringLiteral("Ctrl+F")};
inline const QString RANDOM_KEY = QStringLiteral("F5");
inline const QString FULL_SCREEN_KEY = QStringLiteral("F11");
inline const QString SEARCH_TOOLTIP =
    QStringLiteral("Shows the games whose name holds what you type; Enter plays, Escape closes");

inline const QString FIRST_TITLE = QStringLiteral("vorbel");
inline const QString NO_IMAGES = QStringLiteral("No .bin files were found.");
inline const QString NO_FALLBACK_PICTURE = QStringLiteral("Default.jpg was not found.");
inline const QString POSITION_NOT_SET =
    QStringLiteral("vorbel.idx was not found therefore the game position will not be set.");
inline const QString POSITION_INVALID =
    QStringLiteral("vorbel.idx is invalid and will be fixed. Please restart vorbel.");
inline const QString POSITION_NOT_SAVED =
    QStringLiteral("vorbel.idx was not found therefore the game position will not be saved.");
inline const QString MANUAL_TOO_LARGE =
    QStringLiteral("vorbel will not display game manuals larger than 64k.");
inline const QString OFF_TOOLTIP = QStringLiteral("Select this to disable game manual preview");
inline const QString EXIT_TOOLTIP = QStringLiteral("Click this to exit vorbel");
inline const QString DETACH_TOOLTIP =
    QStringLiteral("Click this to detach and resize the game manual window");
inline const QString ABOUT_TOOLTIP = QStringLiteral("Combat!");

inline QString emulator_missing(const QString& emulator) {
  return emulator + QStringLiteral(" was not found.");
}
inline QString cannot_start(const QString& program) {
  return QStringLiteral("Cannot start %1").arg(program);
}
inline QString title(int entries) {
  return QStringLiteral(" vorbel - %1 roms listed").arg(entries);
}
inline QString counter(int index, int entries) {
  return QStringLiteral("%1/%2").arg(index + 1).arg(entries);
}
inline QString play_tooltip(const QString& base) {
  return QStringLiteral("Click this to play ") + base;
}
inline QString on_tooltip(const QString& base) {
  return QStringLiteral("Select this to view the ") + base + QStringLiteral(" game manual");
}
inline QString manual_title(const QString& base) {
  return QStringLiteral(" ") + base + QStringLiteral(" game manual");
}
inline QString manual_not_available(const QString& base) {
  return base + QStringLiteral(" game manual not available");
}

// vorbel.ini and the folder vorbel is started on.
inline QString settings_unreadable(const QString& path) {
  return QStringLiteral("%1 cannot be read, so vorbel goes on without it.").arg(path);
}
inline QString settings_malformed(const QString& path, const QString& badLine) {
  return QStringLiteral(
             "%1 is not an INI file that vorbel can read%2, so vorbel goes on without "
             "it.")
      .arg(path, badLine.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(badLine));
}
inline const QString PROGRAM_EMPTY =
    QStringLiteral("vorbel.ini names no emulator: Program= in [Emulator] is empty.");
inline QString program_is_folder(const QString& path) {
  return QStringLiteral("The emulator that vorbel.ini names, %1, is a folder, not a program.")
      .arg(path);
}
inline QString arguments_unbalanced(const QString& text) {
  return QStringLiteral("The Arguments in vorbel.ini have a quote that is not closed: %1")
      .arg(text);
}
inline QString folder_unusable(const QString& folder) {
  return QStringLiteral("%1 is not a folder that vorbel can open.").arg(folder);
}
inline QString either(const QString& one, const QString& other) {
  return QStringLiteral("%1 or %2").arg(one, other);
}
inline QString no_emulator_set(const QStringList& read, const QString& place) {
  return QStringLiteral(
             "No emulator is set in the vorbel.ini that vorbel read (%1). Name one with Program= "
             "under [Emulator] in %2; a vorbel.ini in the folder of the games is never trusted "
             "to name a program to run.")
      .arg(read.join(QStringLiteral(", ")), place);
}
inline const QString ONE_FOLDER =
    QStringLiteral("vorbel takes one folder to list, or none: vorbel [FOLDER]");

}  // namespace texts
