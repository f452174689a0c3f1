#pragma once

namespace tessival::platform {

// Fills the platform's screen-font description from the toolkit: the installed families,
// the screen resolution and a measurer that asks the real font for its metrics. Called once
// by the application after the QApplication exists.
void InstallQtScreenFonts();

}  // namespace tessival::platform
