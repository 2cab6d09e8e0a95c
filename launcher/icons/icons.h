#pragma once
// launcher/icons: the windows' pictures, drawn as XPM text in this folder.
// Uses nothing of the launcher's own.
//
// Every call makes a picture of its own: two calls never give "the same
// picture".

#include <QPixmap>

namespace icons {

QPixmap tank();    // Image1 and the About window's icon
QPixmap grip();    // the main window's resize grip, 4 x 4
QPixmap ghost1();  // the About window's ghost, two frames
QPixmap ghost2();
QPixmap invader1();  // the About window's invader, two frames
QPixmap invader2();
QPixmap scorpion();   // the manual window's design icon
QPixmap scorpion1();  // the manual window's icon, two frames
QPixmap scorpion2();

}  // namespace icons
