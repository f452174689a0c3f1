#pragma once
// Where the main window opens: at its designed place and size when the screen has room for
// them, else moved (and, on a small or strongly scaled screen, shrunk) into the screen's
// available area, so no part of it opens out of reach.
#include <QRect>

namespace tessival::app {

QRect PlaceInside(const QRect& wanted, const QRect& available);

}  // namespace tessival::app
