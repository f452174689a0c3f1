#include "platform/canvas.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/display_depth.h"
#include "platform/program_palette.h"

namespace tessival::platform {
namespace {

constexpr char kBreakChar = ' ';
constexpr std::size_t kFontCacheSize = 64;
constexpr int kMaxPenWidth = 1000;

std::string RectText(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// Clips a blit to both the source bitmap and the destination device; false when nothing
// is left. dest is in device coordinates.
bool ClipBlit(Rect& dest, Point& source, const Rect& device, const TBitmap& bitmap) {
  // Where source column and row 0 land on the device.
  const long long origin_x = static_cast<long long>(dest.left) - source.x;
  const long long origin_y = static_cast<long long>(dest.top) - source.y;
  const long long dx0 = std::max(
      {static_cast<long long>(dest.left), static_cast<long long>(device.left), origin_x});
  const long long dy0 = std::max(
      {static_cast<long long>(dest.top), static_cast<long long>(device.top), origin_y});
  const long long dx1 = std::min({static_cast<long long>(dest.right),
                                  static_cast<long long>(device.right), origin_x + bitmap.Width()});
  const long long dy1 = std::min({static_cast<long long>(dest.bottom),
                                  static_cast<long long>(device.bottom), origin_y + bitmap.Height()});
  if (dx1 <= dx0 || dy1 <= dy0) return false;
  source = {static_cast<int>(dx0 - origin_x), static_cast<int>(dy0 - origin_y)};
  dest = {static_cast<int>(dx0), static_cast<int>(dy0), static_cast<int>(dx1), static_cast<int>(dy1)};
  return true;
}

// Rounds a / b to the nearest integer, halves up (b > 0).
long long RoundedQuotient(__int128 a, long long b) {
  const __int128 twice = 2 * a + b;
  const __int128 q = twice / (2 * b);
  return static_cast<long long>(twice % (2 * b) < 0 ? q - 1 : q);
}

}  // namespace

TBrush TBrush::Pattern8x8(const std::uint8_t (&rows)[8]) {
  TBrush brush;
  brush.style = Style::Pattern;
  std::copy(std::begin(rows), std::end(rows), brush.pattern);
  return brush;
}

TBrush TBrush::Checkered() {
  static constexpr std::uint8_t kRows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  return Pattern8x8(kRows);
}

TColor TBrush::ColorAt(int x, int y, Point origin) const {
  if (style != Style::Pattern) return color;
  const int px = static_cast<int>(((static_cast<long long>(x) - origin.x) % 8 + 8) % 8);
  const int py = static_cast<int>(((static_cast<long long>(y) - origin.y) % 8 + 8) % 8);
  return (pattern[py] >> (7 - px)) & 1 ? set_color : clear_color;
}

void Canvas::InitialiseFont() { font_ = Realise(LogFont{}); }

std::shared_ptr<const RealisedFont> Canvas::RealiseFont(const LogFont& font) const {
  auto cached = std::find_if(font_cache_.begin(), font_cache_.end(),
                             [&](const auto& f) { return f->font == font; });
  if (cached != font_cache_.end()) return *cached;
  auto realised = Realise(font);
  if (font_cache_.size() >= kFontCacheSize) font_cache_.erase(font_cache_.begin());
  font_cache_.push_back(realised);
  return realised;
}

LogFont Canvas::SelectFont(const LogFont& font) {
  LogFont previous = font_->font;
  text_color_ = font.color;
  if (font == previous) return previous;
  font_ = RealiseFont(font);
  if (Recording()) Record("SelectFont " + font.name + " " + std::to_string(font.height));
  return previous;
}

int Canvas::BreakExtra(int break_index) const {
  if (break_index >= justify_breaks_) return 0;
  const int share = justify_extra_ / justify_breaks_;
  const int rest = justify_extra_ % justify_breaks_;
  if (break_index < std::abs(rest)) return share + (rest < 0 ? -1 : 1);
  return share;
}

void Canvas::SetTextJustification(int extra, int break_count) {
  // Clamped to what a line can use, so sums of shares stay far from overflowing.
  justify_extra_ = break_count > 0 ? std::clamp(extra, -CoordinateLimit, CoordinateLimit) : 0;
  justify_breaks_ = break_count > 0 ? break_count : 0;
  justify_used_ = 0;
  if (Recording())
    Record("SetTextJustification " + std::to_string(extra) + "," + std::to_string(break_count));
}

Size Canvas::GetTextExtentPoint32(std::string_view text) const {
  const auto& advance = font_->advance;
  const int* known = advance.Known();
  long long width = 0;
  int breaks = 0;
  for (char c : text) {
    width += advance.At(known, static_cast<unsigned char>(c));
    breaks += c == kBreakChar;
  }
  if (justify_breaks_ > 0) {
    const int last = std::min(justify_breaks_, justify_used_ + breaks);
    for (int k = justify_used_; k < last; ++k) width += BreakExtra(k);
  }
  return {ClampCoordinate(width), font_->metrics.tmHeight};
}

TextExtentEx Canvas::GetTextExtentExPoint(std::string_view text, int max_extent,
                                          std::span<int> partial) const {
  const auto& advance = font_->advance;
  const int* known = advance.Known();
  TextExtentEx result;
  long long width = 0;
  int break_index = justify_used_;
  bool fitting = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    width += advance.At(known, static_cast<unsigned char>(c));
    if (c == kBreakChar && break_index < justify_breaks_) width += BreakExtra(break_index++);
    if (i < partial.size()) partial[i] = ClampCoordinate(width);
    if (fitting && width <= max_extent) {
      result.fit = static_cast<int>(i) + 1;
      result.fit_width = static_cast<int>(width);
    } else {
      fitting = false;
    }
  }
  result.size = {ClampCoordinate(width), font_->metrics.tmHeight};
  return result;
}

TextExtentEx Canvas::FitText(std::string_view text, int max_extent) const {
  const auto& advance = font_->advance;
  const int* known = advance.Known();
  TextExtentEx result;
  long long width = 0;
  int break_index = justify_used_;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    width += advance.At(known, static_cast<unsigned char>(c));
    if (c == kBreakChar && break_index < justify_breaks_) width += BreakExtra(break_index++);
    if (width > max_extent) break;
    result.fit = static_cast<int>(i) + 1;
    result.fit_width = static_cast<int>(width);
  }
  result.size = {result.fit_width, font_->metrics.tmHeight};
  return result;
}

unsigned Canvas::SetTextAlign(unsigned flags) {
  const unsigned previous = text_align_;
  text_align_ = flags;
  return previous;
}

Point Canvas::MoveToEx(int x, int y) {
  const Point previous = current_;
  current_ = {x, y};
  return previous;
}

BkMode Canvas::SetBkMode(BkMode mode) {
  const BkMode previous = bk_mode_;
  bk_mode_ = mode;
  return previous;
}

TColor Canvas::SetBkColor(TColor color) {
  const TColor previous = bk_color_;
  bk_color_ = color;
  return previous;
}

TColor Canvas::SetTextColor(TColor color) {
  const TColor previous = text_color_;
  text_color_ = color;
  return previous;
}

void Canvas::ExtTextOut(int x, int y, unsigned options, const Rect* rect, std::string_view text) {
  const bool update_cp = (text_align_ & TA_UPDATECP) != 0;
  const Point start = update_cp ? current_ : Point{x, y};
  const TextMetrics& m = font_->metrics;
  long long baseline = static_cast<long long>(start.y) + m.tmAscent;
  if ((text_align_ & TA_BASELINE) == TA_BASELINE) {
    baseline = start.y;
  } else if (text_align_ & TA_BOTTOM) {
    baseline = static_cast<long long>(start.y) - m.tmDescent;
  }
  if (Recording()) {
    Record((options ? "ExtTextOut " : "TextOut ") + std::to_string(start.x) + "," +
           std::to_string(start.y) + " \"" + std::string(text) + "\"");
  }
  // Character positions, using up justification spaces as the text goes.
  std::vector<int> xs(text.size());
  const Point origin = window_origin_;
  const int left = ClampCoordinate(static_cast<long long>(start.x) - origin.x);
  long long pen_x = left;
  const int* known = font_->advance.Known();
  for (std::size_t i = 0; i < text.size(); ++i) {
    xs[i] = ClampCoordinate(pen_x);
    pen_x += font_->advance.At(known, static_cast<unsigned char>(text[i]));
    if (text[i] == kBreakChar && justify_used_ < justify_breaks_) pen_x += BreakExtra(justify_used_++);
  }
  const int width = ClampCoordinate(pen_x - left);
  const int device_baseline = ClampCoordinate(baseline - origin.y);
  Rect clip_rect;
  const Rect* clip = nullptr;
  if (rect) clip_rect = ToDevice(*rect);
  if (rect && (options & ETO_CLIPPED)) clip = &clip_rect;
  auto fill = [&](Rect r, TColor color) {
    if (color == NoColor) return;
    if (clip) r = IntersectRect(r, *clip);
    r = IntersectRect(r, DeviceBounds());
    if (!r.IsEmpty()) DeviceFill(r, ResolveColor(color));
  };
  if (rect && (options & ETO_OPAQUE)) {
    fill(clip_rect, bk_color_);
  } else if (bk_mode_ == BkMode::OPAQUE) {
    fill(Rect::FromSize(left, device_baseline - m.tmAscent, width, m.tmHeight), bk_color_);
  }
  if (!text.empty() && text_color_ != NoColor) {
    DeviceDrawGlyphs({text, xs.data(), device_baseline, ResolveColor(text_color_), clip, font_.get()});
  }
  const LogFont& f = font_->font;
  const int thickness = std::max(1, f.PixelHeight() / 16);
  if (f.Underline()) fill(Rect::FromSize(left, device_baseline + 1, width, thickness), text_color_);
  if (f.StrikeOut())
    fill(Rect::FromSize(left, device_baseline - m.tmAscent / 3, width, thickness), text_color_);
  if (update_cp) current_.x = ClampCoordinate(static_cast<long long>(current_.x) + width);
}

void Canvas::FillDevice(const Rect& device_rect, const TBrush& brush) {
  // NoColor means "no colour given": nothing is drawn with it.
  if (brush.style == TBrush::Style::Hollow ||
      (brush.style == TBrush::Style::Solid && brush.color == NoColor))
    return;
  const Rect r = IntersectRect(device_rect, DeviceBounds());
  if (r.IsEmpty()) return;
  if (brush.style == TBrush::Style::Solid) {
    DeviceFill(r, ResolveColor(brush.color));
    return;
  }
  TBrush resolved = brush;
  resolved.set_color = ResolveColor(brush.set_color);
  resolved.clear_color = ResolveColor(brush.clear_color);
  DevicePatBlt(r, RasterOp::PATCOPY, resolved, brush_origin_);
}

void Canvas::FillRect(const Rect& rect, TColor color) { FillRect(rect, TBrush::Solid(color)); }

void Canvas::FillRect(const Rect& rect, const TBrush& brush) {
  if (Recording()) Record("FillRect " + RectText(rect) + " " + ColorText(brush.color));
  FillDevice(ToDevice(rect), brush);
}

TPen Canvas::SelectPen(const TPen& pen) {
  const TPen previous = pen_;
  pen_ = pen;
  return previous;
}

TBrush Canvas::SelectBrush(const TBrush& brush) {
  const TBrush previous = brush_;
  brush_ = brush;
  return previous;
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
  if (Recording()) Record("Rectangle " + RectText({left, top, right, bottom}));
  const Rect box = ToDevice({left, top, right, bottom});
  if (box.IsEmpty()) return;
  const bool has_pen = pen_.color != NoColor && pen_.width > 0;
  const int w = has_pen ? std::min({pen_.width, box.Width(), box.Height(), kMaxPenWidth}) : 0;
  FillDevice({box.left + w, box.top + w, box.right - w, box.bottom - w}, brush_);
  if (!has_pen) return;
  const TBrush pen = TBrush::Solid(pen_.color);
  FillDevice({box.left, box.top, box.right, box.top + w}, pen);
  FillDevice({box.left, box.bottom - w, box.right, box.bottom}, pen);
  FillDevice({box.left, box.top + w, box.left + w, box.bottom - w}, pen);
  FillDevice({box.right - w, box.top + w, box.right, box.bottom - w}, pen);
}

void Canvas::LineTo(int x, int y) {
  if (Recording()) {
    Record("LineTo " + std::to_string(current_.x) + "," + std::to_string(current_.y) + "," +
           std::to_string(x) + "," + std::to_string(y));
  }
  const Point from{ClampCoordinate(static_cast<long long>(current_.x) - window_origin_.x),
                   ClampCoordinate(static_cast<long long>(current_.y) - window_origin_.y)};
  const Point to{ClampCoordinate(static_cast<long long>(x) - window_origin_.x),
                 ClampCoordinate(static_cast<long long>(y) - window_origin_.y)};
  current_ = {x, y};
  if (pen_.color == NoColor || pen_.width <= 0) return;
  const TBrush pen = TBrush::Solid(pen_.color);
  const int w = std::min(pen_.width, kMaxPenWidth);
  if (from.y == to.y) {  // horizontal: the pen's width grows downwards
    FillDevice({std::min(from.x, to.x + 1), from.y, std::max(from.x + 1, to.x), from.y + w}, pen);
    return;
  }
  if (from.x == to.x) {
    FillDevice({from.x, std::min(from.y, to.y + 1), from.x + w, std::max(from.y + 1, to.y)}, pen);
    return;
  }
  // Slanted: one pixel per step of the longer axis, k = 0 .. steps - 1 (the end point is
  // left out); the other axis is the exact position rounded, halves up. Only the steps
  // that can reach the device are walked, so a line of any length costs the device's size.
  const long long dx = static_cast<long long>(to.x) - from.x, dy = static_cast<long long>(to.y) - from.y;
  const bool along_x = std::llabs(dx) >= std::llabs(dy);
  const long long steps = along_x ? std::llabs(dx) : std::llabs(dy);
  const long long major_from = along_x ? from.x : from.y;
  const int direction = (along_x ? dx : dy) > 0 ? 1 : -1;
  const Rect b = DeviceBounds();
  const long long low = (along_x ? b.left : b.top) - w, high = along_x ? b.right : b.bottom;
  long long k0 = 0, k1 = steps;  // walk [k0, k1)
  if (direction > 0) {
    k0 = std::max(k0, low - major_from);
    k1 = std::min(k1, high - major_from + 1);
  } else {
    k0 = std::max(k0, major_from - high);
    k1 = std::min(k1, major_from - low + 1);
  }
  for (long long k = k0; k < k1; ++k) {
    const long long major = major_from + direction * k;
    const long long minor = (along_x ? from.y : from.x) +
                            RoundedQuotient(static_cast<__int128>(k) * (along_x ? dy : dx), steps);
    const long long px = along_x ? major : minor, py = along_x ? minor : major;
    FillDevice(Rect::FromSize(ClampCoordinate(px), ClampCoordinate(py), w, w), pen);
  }
}

void Canvas::InvertDevicePixel(int x, int y) {
  const Rect r = IntersectRect({x, y, x + 1, y + 1}, DeviceBounds());
  if (!r.IsEmpty()) DevicePatBlt(r, RasterOp::DSTINVERT, brush_, brush_origin_);
}

void Canvas::DrawFocusRect(const Rect& rect) {
  if (Recording()) Record("DrawFocusRect " + RectText(rect));
  const Rect r = ToDevice(rect);
  if (r.IsEmpty()) return;
  auto dotted = [&](int x, int y) {
    if (((x + y) & 1) == 0) InvertDevicePixel(x, y);
  };
  // Only the part of the frame on the device is walked.
  const Rect b = DeviceBounds();
  for (int x = std::max(r.left, b.left); x < std::min(r.right, b.right); ++x) {
    dotted(x, r.top);
    if (r.bottom - 1 > r.top) dotted(x, r.bottom - 1);
  }
  for (int y = std::max(r.top + 1, b.top); y < std::min(r.bottom - 1, b.bottom); ++y) {
    dotted(r.left, y);
    if (r.right - 1 > r.left) dotted(r.right - 1, y);
  }
}

void Canvas::InvertRect(const Rect& rect) {
  if (Recording()) Record("InvertRect " + RectText(rect));
  const Rect r = IntersectRect(ToDevice(rect), DeviceBounds());
  if (!r.IsEmpty()) DevicePatBlt(r, RasterOp::DSTINVERT, brush_, brush_origin_);
}

void Canvas::PatBlt(int x, int y, int width, int height, RasterOp op) {
  const Rect area = Rect::FromSize(x, y, width, height);
  if (Recording()) Record(std::string("PatBlt ") + RectText(area) + " " + RasterOpName(op));
  if (UsesSource(op)) return;
  const Rect r = IntersectRect(ToDevice(area), DeviceBounds());
  if (r.IsEmpty()) return;
  TBrush resolved = brush_;
  if (resolved.style == TBrush::Style::Hollow) resolved = TBrush::Solid(0);
  resolved.color = ResolveColor(resolved.color);
  resolved.set_color = ResolveColor(resolved.set_color);
  resolved.clear_color = ResolveColor(resolved.clear_color);
  DevicePatBlt(r, op, resolved, brush_origin_);
}

Point Canvas::SetBrushOrgEx(int x, int y) {
  const Point previous = brush_origin_;
  brush_origin_ = {x, y};
  return previous;
}

void Canvas::FillRgn(const TRegion& region, const TBrush& brush) {
  if (Recording()) Record("FillRgn " + RectText(region.Bounds()) + " " + ColorText(brush.color));
  for (const Rect& r : region.Rects()) FillDevice(ToDevice(r), brush);
}

void Canvas::BitBlt(int x, int y, int width, int height, const TBitmap& source, int source_x,
                    int source_y, RasterOp op) {
  const Rect area = Rect::FromSize(x, y, width, height);
  if (Recording()) {
    Record(std::string("BitBlt ") + RectText(area) + " from " + std::to_string(source_x) + "," +
           std::to_string(source_y) + " " + RasterOpName(op));
  }
  if (!UsesSource(op)) {
    PatBlt(x, y, width, height, op);
    return;
  }
  Rect dest = ToDevice(area);
  Point from{source_x, source_y};
  if (dest.IsEmpty() || !ClipBlit(dest, from, DeviceBounds(), source)) return;
  DeviceBlit({dest.left, dest.top}, source,
             {from.x, from.y, from.x + dest.Width(), from.y + dest.Height()}, op);
}

void Canvas::StretchBlt(int x, int y, int width, int height, const TBitmap& source, int source_x,
                        int source_y, int source_width, int source_height, RasterOp op) {
  if (width == source_width && height == source_height) {
    BitBlt(x, y, width, height, source, source_x, source_y, op);
    return;
  }
  const Rect area = Rect::FromSize(x, y, width, height);
  if (Recording()) {
    Record(std::string("StretchBlt ") + RectText(area) + " from " +
           RectText(Rect::FromSize(source_x, source_y, source_width, source_height)) + " " +
           RasterOpName(op));
  }
  if (width <= 0 || height <= 0 || source_width <= 0 || source_height <= 0) return;
  // Only the visible part is scaled, so a huge destination costs no more than the device.
  const Rect device = ToDevice(area);
  const Rect visible = IntersectRect(device, DeviceBounds());
  if (visible.IsEmpty()) return;
  TBitmap scaled(visible.Width(), visible.Height(),
                 source.IsIndexed() ? PixelFormat::pf32bit : source.Format());
  for (int row = 0; row < scaled.Height(); ++row) {
    const long long i = static_cast<long long>(row) + visible.top - device.top;
    const int sy = ClampCoordinate(source_y + i * source_height / height);
    for (int col = 0; col < scaled.Width(); ++col) {
      const long long j = static_cast<long long>(col) + visible.left - device.left;
      const int sx = ClampCoordinate(source_x + j * source_width / width);
      scaled.SetRaw(col, row, source.GetPixel(sx, sy));
    }
  }
  DeviceBlit({visible.left, visible.top}, scaled, {0, 0, scaled.Width(), scaled.Height()}, op);
}

StretchMode Canvas::SetStretchBltMode(StretchMode mode) {
  const StretchMode previous = stretch_mode_;
  stretch_mode_ = mode;
  return previous;
}

TBitmap Canvas::CreateCompatibleBitmap(int width, int height) const {
  if (DeviceBitsPerPixel() > 8) return TBitmap(width, height, PixelFormat::pf32bit);
  TBitmap bitmap(width, height, PixelFormat::pf8bit);
  const TPalette* program = ProgramPalette();
  bitmap.SetPalette(program ? *program : SystemPalette());
  return bitmap;
}

const TPalette* Canvas::SelectPalette(const TPalette* palette) {
  const TPalette* previous = palette_;
  palette_ = palette;
  palette_realised_ = false;
  if (Recording()) Record("SelectPalette " + std::to_string(palette ? palette->Count() : 0));
  return previous;
}

int Canvas::RealizePalette() {
  palette_realised_ = palette_ != nullptr;
  if (Recording()) Record("RealizePalette");
  return palette_ ? palette_->Count() : 0;
}

int Canvas::GetDeviceCaps(DeviceCap cap) const {
  switch (cap) {
    case DeviceCap::BITSPIXEL: return DeviceBitsPerPixel();
    case DeviceCap::PLANES: return 1;
    case DeviceCap::NUMCOLORS: return DeviceBitsPerPixel() <= 8 ? SystemPalette().Count() : -1;
    case DeviceCap::LOGPIXELSX:
    case DeviceCap::LOGPIXELSY: return ScreenPixelsPerInch;
    case DeviceCap::HORZRES: return DeviceBounds().Width();
    case DeviceCap::VERTRES: return DeviceBounds().Height();
  }
  return 0;
}

Point Canvas::SetWindowOrgEx(int x, int y) {
  const Point previous = window_origin_;
  window_origin_ = {x, y};
  return previous;
}

TColor Canvas::ResolveColor(TColor color) const {
  const TColor plain = PlainColor(color);
  if (DeviceBitsPerPixel() > 8 || !IsPaletteRelative(color) || !palette_realised_) return plain;
  return palette_->ColorAt(palette_->NearestIndex(plain));
}

std::string Canvas::ColorText(TColor color) const {
  if (color == NoColor) return "none";
  char text[8];
  const TColor c = ResolveColor(color);
  std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

}  // namespace tessival::platform
