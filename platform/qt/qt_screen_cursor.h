#pragma once

namespace tessival::platform {

// Shows the program's screen cursor as Qt's application-wide override cursor.
void InstallQtScreenCursor();

}  // namespace tessival::platform
