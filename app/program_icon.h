#pragma once
#include <QIcon>

namespace tessival::app {

// The program's icon, drawn rather than loaded so the program needs no files beside it.
QIcon ProgramIcon();

}  // namespace tessival::app
