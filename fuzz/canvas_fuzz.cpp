// Drives the deterministic canvas with operations and coordinates taken from the input:
// layout hands the canvas sizes and positions that come from pages (widths, image sizes,
// image-map coordinates), so no value may make it draw or read outside its bitmaps, hang,
// or overflow.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/region.h"
#include "platform/test_canvas.h"

using namespace tessival::platform;

namespace {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return pos_ >= size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  // Mostly small values near the canvas, sometimes any 32-bit value.
  int Int() {
    const std::uint8_t kind = Byte();
    if (kind < 200) return static_cast<int>(kind) - 60;
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return static_cast<int>(v);
  }
  std::string Text() {
    const std::size_t n = Byte() % 24;
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += static_cast<char>(Byte());
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

PixelFormat FormatOf(std::uint8_t b) {
  constexpr PixelFormat kFormats[] = {PixelFormat::pf1bit, PixelFormat::pf4bit, PixelFormat::pf8bit,
                                      PixelFormat::pf24bit, PixelFormat::pf32bit};
  return kFormats[b % 5];
}

TRegion RegionOf(Input& in) {
  switch (in.Byte() % 4) {
    case 0: return TRegion::CreateRectRgn(in.Int(), in.Int(), in.Int(), in.Int());
    case 1: return TRegion::CreateEllipticRgn(in.Int(), in.Int(), in.Int(), in.Int());
    case 2: {
      std::vector<Point> points(in.Byte() % 7);
      for (Point& p : points) p = {in.Int(), in.Int()};
      return TRegion::CreatePolygonRgn(points);
    }
    default: {
      TRegion a = RegionOf(in), b = RegionOf(in);
      return TRegion::Combine(a, b, static_cast<RegionCombine>(1 + in.Byte() % 5));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  TBitmap target(1 + in.Byte() % 40, 1 + in.Byte() % 30, FormatOf(in.Byte()));
  TBitmap source(in.Byte() % 9, in.Byte() % 9, FormatOf(in.Byte()));
  for (int y = 0; y < source.Height(); ++y) {
    for (int x = 0; x < source.Width(); ++x) source.SetRaw(x, y, in.Byte() * 0x010101u);
  }
  TestCanvas canvas(target);
  for (int op = 0; op < 64 && !in.Empty(); ++op) {
    switch (in.Byte() % 18) {
      case 0: canvas.FillRect({in.Int(), in.Int(), in.Int(), in.Int()}, in.Int()); break;
      case 1: canvas.Rectangle(in.Int(), in.Int(), in.Int(), in.Int()); break;
      case 2: canvas.MoveToEx(in.Int(), in.Int()); break;
      case 3: canvas.LineTo(in.Int(), in.Int()); break;
      case 4: canvas.DrawFocusRect({in.Int(), in.Int(), in.Int(), in.Int()}); break;
      case 5: canvas.InvertRect({in.Int(), in.Int(), in.Int(), in.Int()}); break;
      case 6:
        canvas.PatBlt(in.Int(), in.Int(), in.Int(), in.Int(), static_cast<RasterOp>(in.Byte() % 11));
        break;
      case 7:
        canvas.BitBlt(in.Int(), in.Int(), in.Int(), in.Int(), source, in.Int(), in.Int(),
                      static_cast<RasterOp>(in.Byte() % 11));
        break;
      case 8:
        canvas.StretchBlt(in.Int(), in.Int(), in.Int(), in.Int(), source, in.Int(), in.Int(), in.Int(),
                          in.Int(), static_cast<RasterOp>(in.Byte() % 11));
        break;
      case 9: canvas.FillRgn(RegionOf(in), in.Int()); break;
      case 10: {
        const TRegion r = RegionOf(in);
        (void)r.PtInRegion(in.Int(), in.Int());
        TRegion moved = r;
        moved.OffsetRgn(in.Int(), in.Int());
        (void)moved.Bounds();
        break;
      }
      case 11: canvas.TextOut(in.Int(), in.Int(), in.Text()); break;
      case 12: {
        const Rect r{in.Int(), in.Int(), in.Int(), in.Int()};
        const unsigned options = in.Byte() & 6;
        canvas.ExtTextOut(in.Int(), in.Int(), options, in.Byte() & 1 ? &r : nullptr, in.Text());
        break;
      }
      case 13: canvas.SetTextJustification(in.Int(), in.Int()); break;
      case 14:
        canvas.SelectFont({"Arial", in.Int(), in.Byte(), static_cast<TColor>(in.Int()), in.Byte()});
        break;
      case 15: canvas.SetWindowOrgEx(in.Int(), in.Int()); break;
      case 16: canvas.SetTextAlign(in.Byte() & 25); break;
      default: {
        std::vector<int> partial(in.Byte() % 30);
        (void)canvas.GetTextExtentExPoint(in.Text(), in.Int(), partial);
        canvas.SelectPen({static_cast<TColor>(in.Int()), in.Int()});
        canvas.SelectBrush(in.Byte() & 1 ? TBrush::Checkered() : TBrush::Solid(in.Int()));
        canvas.SetBrushOrgEx(in.Int(), in.Int());
        break;
      }
    }
  }
  return 0;
}
