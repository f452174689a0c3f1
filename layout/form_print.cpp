#include "layout/form_print.h"

#include "platform/region.h"

namespace tessival::layout {

namespace {

constexpr platform::TColor kShadow = 0x808080;
constexpr platform::TColor kSilver = 0xC0C0C0;
constexpr platform::TColor kWhite = 0xFFFFFF;
constexpr platform::TColor kBlack = 0x000000;

void Line(platform::Canvas& canvas, int x1, int y1, int x2, int y2) {
  canvas.MoveToEx(x1, y1);
  canvas.LineTo(x2, y2);
}

}  // namespace

void PrintBox(platform::Canvas& canvas, const platform::Rect& box, FrameLook look, bool mono) {
  canvas.FillRect(box, platform::TBrush::Solid(kWhite));
  const int edges = mono ? 1 : 2;
  const platform::TColor topLeft = mono ? kBlack : look == FrameLook::kSunken ? kShadow : kSilver;
  const platform::TColor bottomRight = mono ? kBlack : look == FrameLook::kSunken ? kSilver : kShadow;
  const platform::TPen oldPen = canvas.SelectPen(platform::TPen{topLeft, 1});
  for (int i = 0; i < edges; ++i) {
    canvas.SelectPen(platform::TPen{topLeft, 1});
    Line(canvas, box.left + i, box.bottom - 1 - i, box.left + i, box.top + i);
    Line(canvas, box.left + i, box.top + i, box.right - 1 - i, box.top + i);
    canvas.SelectPen(platform::TPen{bottomRight, 1});
    Line(canvas, box.right - 1 - i, box.top + i, box.right - 1 - i, box.bottom - 1 - i);
    Line(canvas, box.right - 1 - i, box.bottom - 1 - i, box.left + i, box.bottom - 1 - i);
  }
  canvas.SelectPen(oldPen);
}

void PrintText(platform::Canvas& canvas, const platform::Rect& box, const platform::LogFont& font,
               const std::string& text, int inset) {
  const platform::LogFont oldFont = canvas.SelectFont(font);
  const unsigned oldAlign = canvas.SetTextAlign(platform::TA_TOP);
  const platform::BkMode oldMode = canvas.SetBkMode(platform::BkMode::TRANSPARENT);
  const int height = canvas.GetTextExtentPoint32("A").cy;
  const platform::Rect clip{box.left + inset, box.top, box.right - inset / 2, box.bottom};
  canvas.ExtTextOut(box.left + inset, box.top + (box.Height() - height) / 2, platform::ETO_CLIPPED,
                    &clip, text);
  canvas.SetBkMode(oldMode);
  canvas.SetTextAlign(oldAlign);
  canvas.SelectFont(oldFont);
}

void PrintCheckMark(platform::Canvas& canvas, int x, int middle) {
  const platform::TPen oldPen = canvas.SelectPen(platform::TPen{kBlack, 2});
  canvas.MoveToEx(x + 3, middle);
  canvas.LineTo(x + 5, middle + 2);
  canvas.LineTo(x + 9, middle - 2);
  canvas.SelectPen(oldPen);
}

void PrintRadio(platform::Canvas& canvas, int x, int y, bool checked) {
  constexpr int kAcross = 14;
  using platform::TRegion;
  // The shadow shows on the upper left of the ring, silver on the lower right.
  canvas.FillRgn(TRegion::CreateEllipticRgn(x, y, x + kAcross, y + kAcross), kShadow);
  canvas.FillRgn(TRegion::CreateEllipticRgn(x + 1, y + 1, x + kAcross, y + kAcross), kSilver);
  canvas.FillRgn(TRegion::CreateEllipticRgn(x + 1, y + 1, x + kAcross - 1, y + kAcross - 1), kWhite);
  if (checked) canvas.FillRgn(TRegion::CreateEllipticRgn(x + 5, y + 5, x + 9, y + 9), kBlack);
}

}  // namespace tessival::layout
