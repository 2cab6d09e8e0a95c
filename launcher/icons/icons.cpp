#include "icons/icons.h"

#include <QImage>

namespace icons {
namespace {

// Made from an image rather than QPixmap(path), which may hand out a cached
// copy: each picture here must be an object of its own.
QPixmap picture(const char* name) {
  return QPixmap::fromImage(QImage(QStringLiteral(":/icons/%1.xpm").arg(QLatin1String(name))));
}

}  // namespace

QPixmap tank() {
  return picture("tank");
}
QPixmap grip() {
  return picture("grip");
}
QPixmap ghost1() {
  return picture("ghost1");
}
QPixmap ghost2() {
  return picture("ghost2");
}
QPixmap invader1() {
  return picture("invader1");
}
QPixmap invader2() {
  return picture("invader2");
}
QPixmap scorpion() {
  return picture("scorpion");
}
QPixmap scorpion1() {
  return picture("scorpion1");
}
QPixmap scorpion2() {
  return picture("scorpion2");
}

}  // namespace icons
