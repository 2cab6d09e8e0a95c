#pragma once
// Every fixed text and file name of the main window; the texts it shares
// with the other windows come from common/texts.h.

#include <QString>

#include "common/texts.h"

namespace texts {

inline const QString LIST_PATTERN = QStringLiteral("*.bin");
inline const QString FALLBACK_PICTURE = QStringLiteral("Default.jpg");
inline const QString POSITION_FILE = QStringLiteral("vorbel.idx");
inline const QString PICTURE_FOLDER = QStringLiteral("Pics");
inline const QString MANUAL_FOLDER = QStringLiteral("Text");
inline const QString PICTURE_EXTENSION = QStringLiteral(".jpg");
inline const QString MANUAL_EXTENSION = QStringLiteral(".txt");

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

}  // namespace texts
