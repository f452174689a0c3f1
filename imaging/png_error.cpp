#include "imaging/png_error.h"

namespace tessival::imaging {

namespace {
std::string Frame(const std::string& text) {
  // "Portable Network Graphics format handler error%s%s" with a blank line and the text.
  return "Portable Network Graphics format handler error\r\n\r\n" + text;
}
}  // namespace

EPNGImageException::EPNGImageException(const std::string& text)
    : std::runtime_error(Frame(text)), text_(text) {}

}  // namespace tessival::imaging
