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

// A wheel notch, in the eighths of a degree wheel events count in.
constexpr int kWheelNotch = 120;

// How far one wheel event moves the page: `eighths` of a degree at `lines_per_notch` lines
// of `line_step` pixels a notch, in pixels towards the end of the page (a turn away from
// the user, positive eighths, moves back). A high-resolution wheel sends fractions of a
// notch; what falls below a pixel is carried to the next event, so slow turns add up.
struct WheelStep {
  int pixels = 0;
  int carry = 0;  // hand back with the next event of the same direction of scrolling
};
WheelStep WheelScrollStep(int eighths, int carry, int lines_per_notch, int line_step);

// A top position kept inside the document: never below 0, never past its last page.
int ClampScrollY(int y, int doc_height, int panel_height);

// The next top while a selection is dragged past the panel's edge at mouse y: a line per
// step, eight lines when the mouse is more than 15 pixels past the edge.
int DragScrollTarget(int position, int mouse_y, int panel_height, int small_change);

// The next top in middle-button mode, d being the mouse's distance from where it was
// pressed: nothing within the dead zone, then 8 and, past 60 pixels, 32 a step.
int MiddleScrollTarget(int position, int distance);

}  // namespace tessival::viewer
