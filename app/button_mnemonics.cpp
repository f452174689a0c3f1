#include "app/button_mnemonics.h"

#include <cctype>
#include <string_view>

namespace tessival::app {
namespace {

// Each button's letter, chosen from its caption so it reads as a hint: the first letter
// where it is free, else one that names the service (F for French, N for "EN>", E for
// "News"), the digit for the three question engines.
struct Mnemonic {
  std::string_view component;
  char letter;
};
constexpr Mnemonic kMnemonics[] = {
    {"Button1", 'W'},  {"Button2", 'F'},  {"Button13", 'T'}, {"Button14", 'N'}, {"Button3", 'A'},
    {"Button4", 'K'},  {"Button6", 'S'},  {"Button16", '1'}, {"Button17", '2'}, {"Button18", '3'},
    {"Button7", 'O'},  {"Button8", 'I'},  {"Button9", 'R'},  {"Button11", 'P'}, {"Button12", 'E'},
    {"Button10", 'B'}, {"Button15", 'L'}, {"Button5", 'C'},
};

char LetterOf(std::string_view component) {
  for (const Mnemonic& mnemonic : kMnemonics) {
    if (mnemonic.component == component) return mnemonic.letter;
  }
  return 0;
}

bool SameLetter(char a, char b) {
  return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
}

}  // namespace

std::string CaptionWithMnemonic(const std::string& component, const std::string& caption) {
  const char letter = LetterOf(component);
  std::string out;
  bool marked = letter == 0;
  for (const char c : caption) {
    if (!marked && SameLetter(c, letter)) {
      out += '&';
      marked = true;
    }
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

}  // namespace tessival::app
