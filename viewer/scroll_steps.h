#pragma once
// The arithmetic of the viewer's scrolling, apart from the widgets so that the rates can be
// checked without a window.
namespace tessival::viewer {

// The vertical line step of the viewer (arrow keys, the bar's arrows, dragging a selection
// past the edge) and the horizontal one.
constexpr int kVerticalSmallChange = 16;
constexpr int kHorizontalSmallChange = 15;
// The widest a document may scroll sideways.
constexpr int kMaxDocWidth = 6000;
// Automatic scrolling takes at most one step per this many milliseconds.
constexpr int kAutoScrollIntervalMs = 100;
// The middle button scrolls once the mouse is this far from where it was pressed.
constexpr int kMiddleScrollDeadZone = 20;

// A top position kept inside the document: never below 0, never past its last page.
int ClampScrollY(int y, int doc_height, int panel_height);

// The next top while a selection is dragged past the panel's edge at mouse y: a line per
// step, eight lines when the mouse is more than 15 pixels past the edge.
int DragScrollTarget(int position, int mouse_y, int panel_height, int small_change);

// The next top in middle-button mode, d being the mouse's distance from where it was
// pressed: nothing within the dead zone, then 8 and, past 60 pixels, 32 a step.
int MiddleScrollTarget(int position, int distance);

}  // namespace tessival::viewer
