#pragma once
// The collection room: what vorbel knows of a collection of images apart
// from its windows (the images and archives of a folder, the favourites and
// the recently played, the titles, the pictures and manuals beside each
// image, the search, the pictures kept fitted, and vorbel.ini). It may use
// the platform layer.
//
// The names of the files and folders a collection holds beside its images.

#include <QString>
#include <QStringList>

namespace texts {

// The archive kinds a collection may hold.
inline const QStringList ARCHIVE_KINDS = {QStringLiteral("zip"), QStringLiteral("7z")};
inline const QString FAVOURITES_FILE = QStringLiteral("vorbel.favourites");
inline const QString RECENT_FILE = QStringLiteral("vorbel.recent");
inline const QString PICTURE_FOLDER = QStringLiteral("Pics");
inline const QString PICTURE_EXTENSION = QStringLiteral(".jpg");
inline const QString PNG_EXTENSION = QStringLiteral(".png");
// The folders of the libretro thumbnail sets, in the order they are tried.
inline const QStringList THUMBNAIL_FOLDERS = {
    QStringLiteral("Named_Boxarts"), QStringLiteral("Named_Snaps"), QStringLiteral("Named_Titles")};

}  // namespace texts
