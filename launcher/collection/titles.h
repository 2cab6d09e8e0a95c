#pragma once
// What a catalogue-style name says ("River Raid (1982) (Activision).bin"):
// the game's title, and the line of title, year and publisher under the
// preview; and the libretro pictures found by title alone.

#include <QHash>
#include <QString>

// A list name's title: its file part without the extension, up to its
// first " (" ("Activision/River Raid (1982) (Activision).bin" gives
// "River Raid").
QString game_title(const QString& name);

// "River Raid · 1982 · Activision" for a name whose title is followed by a
// year group and a publisher group; empty for any other name.
QString title_line(const QString& name);

// The picture of a libretro set's folder whose title (its name up to the
// first " (") is a given one, preferring "(USA)", then "(World)", then the
// first in name order. Each folder is listed once, at its first look-up.
class TitleArt {
 public:
  // The full path of the picture in `folder` for the title `title` (with
  // the set's character replacements already made); empty when none.
  QString find(const QString& folder, const QString& title);

 private:
  QHash<QString, QHash<QString, QString>> folders_;  // folder: title: best file name
};
