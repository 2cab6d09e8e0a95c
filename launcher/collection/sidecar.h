#pragma once
// The names a list entry's picture and manual are looked for by.

#include <QList>
#include <QString>
#include <QStringList>

// The base names to try, in order: the designed one (base_name(), up to the
// first dot), then, when it differs, the whole name less its extension
// ("E.T. - The Extra-Terrestrial (1982) (Atari).bin" gives "E", then
// "E.T. - The Extra-Terrestrial (1982) (Atari)").
QStringList sidecar_bases(const QString& fileName);

// libretro's thumbnail file name for a title: each of & * / : ` < > ? \ | "
// becomes _.
QString thumbnail_name(const QString& title);

// One place a picture may be: a folder of the list directory and a file in it.
struct PictureCandidate {
  QString folder;
  QString file;
};

// The pictures tried for `base`, in order: Pics/base.jpg (the designed one),
// Pics/base.png, then the thumbnail name with ".png" in Named_Boxarts,
// Named_Snaps and Named_Titles.
QList<PictureCandidate> picture_candidates(const QString& base);

// The kinds of picture a game may have, in the order they are shown: its
// own picture in Pics, then the box art, screenshot and title screen of
// the libretro sets.
enum class PictureKind { Own, BoxArt, Screenshot, TitleScreen };
struct GamePicture {
  PictureKind kind;
  QString path;
};
// The kind of the pictures in `folder`, one of picture_candidates()' folders.
PictureKind picture_kind(const QString& folder);
