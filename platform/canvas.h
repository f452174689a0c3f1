#pragma once
// Canvas: the drawing context layout and painting talk to, shaped after the handful of
// GDI operations they use (and named after them, so the painting code reads like the
// algorithms it implements).
//
// The state machine (selected font, text colours and alignment, current position,
// justification, pen, brush, palette, window origin) and all geometry live here, once:
// measuring is a sum over the realised font's advance table, and lines, rectangles, focus
// rectangles and regions are cut into device rectangles before they reach an
// implementation. An implementation supplies only the device primitives at the end of the
// class (fill, pattern blit, bitmap blit, glyph drawing, font realisation). So the Qt
// canvas and the deterministic test canvas agree by construction on everything but the
// glyph shapes.
//
// Coordinates are logical; device = logical - window origin (SetWindowOrgEx). Every device
// primitive is clipped to the device first, so nothing draws outside its target.
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/colors.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/raster_op.h"
#include "platform/region.h"

namespace tessival::platform {

// SetTextAlign flags (combinable): horizontal is always left.
constexpr unsigned TA_NOUPDATECP = 0;
constexpr unsigned TA_UPDATECP = 1;
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;

// ExtTextOut options.
constexpr unsigned ETO_OPAQUE = 2;
constexpr unsigned ETO_CLIPPED = 4;

enum class BkMode { TRANSPARENT = 1, OPAQUE = 2 };
// Every mode stretches by dropping or repeating pixels (colour-on-colour); HALFTONE is
// accepted and treated the same way.
enum class StretchMode { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };
enum class DeviceCap { BITSPIXEL, PLANES, NUMCOLORS, LOGPIXELSX, LOGPIXELSY, HORZRES, VERTRES };

struct TPen {
  TColor color = 0;  // NoColor: no pen (PS_NULL)
  int width = 1;
};

struct TBrush {
  enum class Style { Solid, Hollow, Pattern };
  Style style = Style::Solid;
  TColor color = RGB(0xFF, 0xFF, 0xFF);
  // Pattern brushes: 8 rows of 8 pixels, the leftmost pixel in the top bit; 1 bits take
  // set_color, 0 bits clear_color. The pattern is anchored at the brush origin.
  std::uint8_t pattern[8] = {};
  TColor set_color = RGB(0xFF, 0xFF, 0xFF);
  TColor clear_color = 0;

  static TBrush Solid(TColor color) { return TBrush{Style::Solid, color}; }
  static TBrush Hollow() { return TBrush{Style::Hollow, NoColor}; }
  static TBrush Pattern8x8(const std::uint8_t (&rows)[8]);
  // The 8 x 8 checkerboard of alternating pixels (rows 0x55 and 0xAA).
  static TBrush Checkered();
  // The colour of the pattern pixel at a device point for the given brush origin.
  TColor ColorAt(int x, int y, Point origin) const;
};

struct TextExtentEx {
  int fit = 0;        // characters whose cumulative extent is within the limit
  int fit_width = 0;  // extent of those characters
  Size size;          // extent of the whole text
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // --- Fonts and metrics -------------------------------------------------------------
  // Selects a font and sets the text colour to its colour; returns the previous font.
  LogFont SelectFont(const LogFont& font);
  const LogFont& Font() const { return font_->font; }
  // A font as this canvas realises it, without selecting it (from the same cache that
  // SelectFont uses): layout measures runs of many fonts and needs only their advances and
  // metrics, not a change of the drawing state for each.
  std::shared_ptr<const RealisedFont> RealiseFont(const LogFont& font) const;
  const TextMetrics& GetTextMetrics() const { return font_->metrics; }

  // --- Measuring (honours SetTextJustification) ---------------------------------------
  Size GetTextExtentPoint32(std::string_view text) const;
  // How many characters fit in max_extent, and the cumulative extent after each
  // character in partial (as far as partial reaches).
  TextExtentEx GetTextExtentExPoint(std::string_view text, int max_extent,
                                    std::span<int> partial = {}) const;
  // The characters of a run that fit in max_extent and their extent, as
  // GetTextExtentExPoint reports them, but it stops at the first character that does not
  // fit: line breaking asks this of the rest of a long paragraph for every line.
  TextExtentEx FitText(std::string_view text, int max_extent) const;
  // Spreads extra pixels over the next break_count spaces that are measured or drawn:
  // each gets extra / break_count, and the first (extra mod break_count) one more. Text
  // output uses up spaces (the next run continues where the last one stopped); measuring
  // starts at the next unused space and uses none up. (0, 0) switches it off.
  void SetTextJustification(int extra, int break_count);

  // --- Text output --------------------------------------------------------------------
  unsigned SetTextAlign(unsigned flags);
  unsigned GetTextAlign() const { return text_align_; }
  Point MoveToEx(int x, int y);
  Point GetCurrentPositionEx() const { return current_; }
  BkMode SetBkMode(BkMode mode);
  TColor SetBkColor(TColor color);
  TColor SetTextColor(TColor color);
  TColor GetTextColor() const { return text_color_; }
  TColor GetBkColor() const { return bk_color_; }
  void TextOut(int x, int y, std::string_view text) { ExtTextOut(x, y, 0, nullptr, text); }
  // With ETO_OPAQUE the rectangle is filled with the background colour first; with
  // ETO_CLIPPED the text is clipped to it. With TA_UPDATECP x and y are ignored and the
  // text starts at the current position, which then moves past it.
  void ExtTextOut(int x, int y, unsigned options, const Rect* rect, std::string_view text);

  // --- Shapes ---------------------------------------------------------------------------
  void FillRect(const Rect& rect, TColor color);
  void FillRect(const Rect& rect, const TBrush& brush);
  TPen SelectPen(const TPen& pen);
  TBrush SelectBrush(const TBrush& brush);
  // Outline with the pen (inside the rectangle), inside filled with the brush.
  void Rectangle(int left, int top, int right, int bottom);
  // A pen line from the current position to (x, y), the end point excluded.
  void LineTo(int x, int y);
  // Inverts every other pixel of the rectangle's 1-pixel frame (those with x + y even in
  // device coordinates); drawing it twice restores the pixels.
  void DrawFocusRect(const Rect& rect);
  void InvertRect(const Rect& rect);
  // Brush and destination operations: PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS.
  void PatBlt(int x, int y, int width, int height, RasterOp op);
  Point SetBrushOrgEx(int x, int y);
  Point GetBrushOrgEx() const { return brush_origin_; }

  // --- Regions --------------------------------------------------------------------------
  void FillRgn(const TRegion& region, const TBrush& brush);
  void FillRgn(const TRegion& region, TColor color) { FillRgn(region, TBrush::Solid(color)); }

  // --- Bitmaps --------------------------------------------------------------------------
  // A 1-bit source draws its palette colours (black and white unless it has its own).
  void BitBlt(int x, int y, int width, int height, const TBitmap& source, int source_x, int source_y,
              RasterOp op);
  // Destination pixel i takes source pixel source_x + (i x source_width) div width (the
  // same along y): rows and columns are dropped or repeated, never blended.
  void StretchBlt(int x, int y, int width, int height, const TBitmap& source, int source_x, int source_y,
                  int source_width, int source_height, RasterOp op);
  StretchMode SetStretchBltMode(StretchMode mode);
  StretchMode GetStretchBltMode() const { return stretch_mode_; }
  // A bitmap in this canvas's device format: 32 bits, or 8 bits with the program palette
  // (the system palette on class 4) when the device has 8 or fewer bits.
  TBitmap CreateCompatibleBitmap(int width, int height) const;
  // A memory canvas of the same implementation drawing into the bitmap (which must
  // outlive it).
  virtual std::unique_ptr<Canvas> CreateCompatibleCanvas(TBitmap& target) const = 0;

  // --- Palette and device ---------------------------------------------------------------
  // Selects a palette (nullptr: none); returns the previous one. The palette must stay
  // alive while selected.
  const TPalette* SelectPalette(const TPalette* palette);
  // Maps palette-relative colours through the selected palette from now on (on devices
  // of 8 or fewer bits); returns the number of entries.
  int RealizePalette();
  int GetDeviceCaps(DeviceCap cap) const;
  Point SetWindowOrgEx(int x, int y);
  Point GetWindowOrgEx() const { return window_origin_; }
  // Pushes pending drawing to the target (memory canvases on indexed bitmaps).
  virtual void Flush() {}

  // A colour as this device shows it (system colours resolved, palette mapping applied).
  TColor ResolveColor(TColor color) const;

 protected:
  Canvas() = default;
  // Must be called by the implementation's constructor (realisation is virtual).
  void InitialiseFont();

  struct GlyphRun {
    std::string_view text;
    const int* x = nullptr;      // device x of each character
    int baseline = 0;            // device y
    TColor color = 0;            // plain
    const Rect* clip = nullptr;  // device clip, or none
    const RealisedFont* font = nullptr;
  };

  // Device primitives: rectangles are clipped to DeviceBounds and not empty; colours are
  // plain; the source rectangle of a blit lies inside the source.
  virtual Rect DeviceBounds() const = 0;
  virtual int DeviceBitsPerPixel() const = 0;
  virtual void DeviceFill(const Rect& rect, TColor color) = 0;
  virtual void DevicePatBlt(const Rect& rect, RasterOp op, const TBrush& brush, Point origin) = 0;
  virtual void DeviceBlit(Point to, const TBitmap& source, const Rect& from, RasterOp op) = 0;
  virtual void DeviceDrawGlyphs(const GlyphRun& run) = 0;
  virtual std::shared_ptr<const RealisedFont> Realise(const LogFont& font) const = 0;

  // Recording hook for the test canvas; Recording() keeps the formatting cost away from
  // the others.
  virtual bool Recording() const { return false; }
  // A sink: the recording canvas moves the text into its list.
  virtual void Record(std::string entry) { (void)entry; }  // NOLINT(performance-unnecessary-value-param)

 private:
  Rect ToDevice(const Rect& r) const {
    return r.Offset(-static_cast<long long>(window_origin_.x),
                    -static_cast<long long>(window_origin_.y));
  }
  void FillDevice(const Rect& device_rect, const TBrush& brush);
  void InvertDevicePixel(int x, int y);
  int BreakExtra(int break_index) const;
  std::string ColorText(TColor color) const;

  std::shared_ptr<const RealisedFont> font_;
  mutable std::vector<std::shared_ptr<const RealisedFont>> font_cache_;
  TColor text_color_ = 0;
  TColor bk_color_ = RGB(0xFF, 0xFF, 0xFF);
  BkMode bk_mode_ = BkMode::OPAQUE;
  unsigned text_align_ = TA_TOP;
  Point current_;
  int justify_extra_ = 0;
  int justify_breaks_ = 0;
  int justify_used_ = 0;
  TPen pen_;
  TBrush brush_;
  Point brush_origin_;
  StretchMode stretch_mode_ = StretchMode::BLACKONWHITE;
  const TPalette* palette_ = nullptr;
  bool palette_realised_ = false;
  Point window_origin_;
};

}  // namespace tessival::platform
