#pragma once
// How form controls draw themselves where there are no windows (a printer): white boxes
// with a two-pixel 3D frame (one black pixel on a monochrome printer), text, marks.
#include <string>

#include "platform/canvas.h"

namespace tessival::layout {

enum class FrameLook { kSunken, kRaised };

// A white box with its frame; `mono` draws the thin black frame.
void PrintBox(platform::Canvas& canvas, const platform::Rect& box, FrameLook look, bool mono);
// Text in `font` starting `inset` pixels in, centred vertically in the box.
void PrintText(platform::Canvas& canvas, const platform::Rect& box, const platform::LogFont& font,
               const std::string& text, int inset);
// A check box's mark and a radio button's dot and circle.
void PrintCheckMark(platform::Canvas& canvas, int x, int middle);
void PrintRadio(platform::Canvas& canvas, int x, int y, bool checked);

}  // namespace tessival::layout
