#pragma once
// The viewer's own cursors by number: 1 over a link, 2 over text, 3 to 5 in middle-button
// scrolling (waiting, moving up, moving down). 0 is the ordinary arrow.
#include <QCursor>

namespace tessival::viewer {

enum TViewerCursor : int {
  crArrow = 0,
  crLinkCursor = 1,
  crTextCursor = 2,
  crUpDownCursor = 3,
  crUpOnlyCursor = 4,
  crDownOnlyCursor = 5,
};

QCursor CursorOf(TViewerCursor cursor);

}  // namespace tessival::viewer
