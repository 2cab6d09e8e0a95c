#pragma once
// The texts more than one window shows: the window font, the Courier font and
// the Courier box's tooltip.

#include <QString>

namespace texts {

inline const QString COURIER_FONT = QStringLiteral("Courier New");
inline const QString WINDOW_FONT = QStringLiteral("MS Sans Serif");
inline constexpr double WINDOW_FONT_SIZE = 8.25;

inline QString courier_tooltip(const QString& base, bool courier) {
  return courier ? QStringLiteral("Disable this to view the ") + base +
                       QStringLiteral(" manual in MS Sans Serif")
                 : QStringLiteral("Enable this to view the ") + base +
                       QStringLiteral(" manual in Courier");
}

}  // namespace texts
