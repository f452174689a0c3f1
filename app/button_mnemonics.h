#pragma once
// The toolbar's keyboard letters: every button is reached with Alt and one letter, shown
// underlined in its caption. The letters are unique across the toolbar and the menu bar
// ("Datei" holds D).
#include <string>

namespace tessival::app {

// The caption with "&" before its letter (a literal "&" doubled); unchanged for a
// component that has no letter.
std::string CaptionWithMnemonic(const std::string& component, const std::string& caption);

}  // namespace tessival::app
