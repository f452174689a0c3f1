#pragma once
// A scene that exercises what page painting needs of a canvas: a tiled background, text
// runs in the four classic faces with styles, a selection highlight, a justified line, a
// picture drawn through its mask, region borders, a focus rectangle and a stretched image.
#include "platform/canvas.h"

namespace tessival::tools {

constexpr int ReferenceSceneWidth = 320;
constexpr int ReferenceSceneHeight = 200;

void DrawReferenceScene(platform::Canvas& canvas);

}  // namespace tessival::tools
