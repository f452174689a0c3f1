#pragma once
// Font descriptions and what a canvas reports about a realised font.
//
// A LogFont describes a font the way the style layer knows it: face name, pixel height,
// style bits, colour and character set. It is a plain value; a canvas realises it when it
// is selected (SelectFont) and keeps the realised font in a cache, so selecting the same
// description again is cheap.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/colors.h"

namespace tessival::platform {

// Style bits, as the style layer stores them.
using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

// Character sets (the classic numbers the engine passes around).
constexpr std::uint8_t ANSI_CHARSET = 0;
constexpr std::uint8_t DEFAULT_CHARSET = 1;
constexpr std::uint8_t SYMBOL_CHARSET = 2;

// Screen resolution the engine assumes (points to pixels: px = pt x 96 / 72).
constexpr int ScreenPixelsPerInch = 96;
constexpr int PointsToPixels(int points) { return (points * ScreenPixelsPerInch + 36) / 72; }

constexpr int MaxFontHeight = 1000;

struct LogFont {
  std::string name = "Arial";
  // Pixel size of the font (its em height). A negative height means the same as its
  // magnitude (the habit of passing character heights negated), 0 the default 16, and
  // sizes are capped at MaxFontHeight.
  int height = 16;
  TFontStyles style = 0;
  TColor color = 0;  // the text colour a selection of this font sets
  std::uint8_t charset = DEFAULT_CHARSET;

  bool Bold() const { return (style & fsBold) != 0; }
  bool Italic() const { return (style & fsItalic) != 0; }
  bool Underline() const { return (style & fsUnderline) != 0; }
  bool StrikeOut() const { return (style & fsStrikeOut) != 0; }
  int PixelHeight() const;
  friend bool operator==(const LogFont&, const LogFont&) = default;
};

inline int LogFont::PixelHeight() const {
  if (height == 0) return 16;
  const long long magnitude = height < 0 ? -static_cast<long long>(height) : height;
  return static_cast<int>(std::min<long long>(magnitude, MaxFontHeight));
}

struct TextMetrics {
  int tmHeight = 0;  // ascent + descent: the height of a line of the font
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  std::uint8_t tmCharSet = DEFAULT_CHARSET;
  friend bool operator==(const TextMetrics&, const TextMetrics&) = default;
};

// The advance of every byte of the single-byte code page. A page uses a few dozen of the
// 256 and asking a real font costs far more than the lookup, so a measured table asks for
// each byte when it is first used and keeps the answer. Copies share one table: a font
// realised again in another colour measures nothing again.
class AdvanceTable {
 public:
  using Measure = std::function<int(unsigned char)>;
  // Every byte the same advance.
  explicit AdvanceTable(int every = 0);
  // Each byte measured by `measure` on first use.
  explicit AdvanceTable(Measure measure);

  int operator[](unsigned char byte) const { return At(Known(), byte); }
  // For loops over many characters: the table itself, read through At, stays in a
  // register however often a byte is measured.
  const int* Known() const { return shared_->advance.data(); }
  int At(const int* known, unsigned char byte) const {
    const int advance = known[byte];
    return advance >= 0 ? advance : MeasureByte(byte);
  }

 private:
  struct Shared {
    std::array<int, 256> advance{};  // negative: not measured yet
    Measure measure;
  };
  int MeasureByte(unsigned char byte) const;

  std::shared_ptr<Shared> shared_;
};

// A font as one canvas implementation realised it: its metrics and the advance of every
// byte. Text extents are sums of these advances (no kerning), so measuring a run in pieces
// gives the same total as measuring it whole.
struct RealisedFont {
  virtual ~RealisedFont() = default;
  LogFont font;
  TextMetrics metrics;
  AdvanceTable advance;
};

// Measuring with a realised font directly, as a canvas measures without justification:
// the extent of a run, and how many of its characters fit in max_extent (stopping at the
// first that does not) with their extent.
inline int TextWidthOf(const RealisedFont& font, std::string_view text) {
  const int* known = font.advance.Known();
  long long width = 0;
  for (char c : text) width += font.advance.At(known, static_cast<unsigned char>(c));
  return static_cast<int>(std::min<long long>(width, 1 << 30));
}
inline int FitCountOf(const RealisedFont& font, std::string_view text, int max_extent, int& fit_width) {
  const int* known = font.advance.Known();
  long long width = 0;
  int fit = 0;
  for (char c : text) {
    const long long next = width + font.advance.At(known, static_cast<unsigned char>(c));
    if (next > max_extent) break;
    width = next;
    ++fit;
  }
  fit_width = static_cast<int>(width);
  return fit;
}

}  // namespace tessival::platform
