#include "tools/reference_render/reference_scene.h"

#include <string>

#include "platform/masked_bitmap.h"

namespace tessival::tools {
namespace {

using namespace platform;

// A 16 x 16 tile: a soft diagonal stripe pattern.
TBitmap BackgroundTile() {
  TBitmap tile(16, 16, PixelFormat::pf24bit);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      tile.SetPixel(x, y, ((x + y) / 4) % 2 ? RGB(0xF4, 0xF0, 0xE6) : RGB(0xE8, 0xEE, 0xF6));
    }
  }
  return tile;
}

// A 24 x 24 picture of a ring with its mask (white = transparent); black where transparent.
TMyBitmap MaskedPicture() {
  TMyBitmap picture(24, 24, PixelFormat::pf24bit);
  auto mask = std::make_unique<TBitmap>(24, 24, PixelFormat::pf1bit);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      const int d = (x - 12) * (x - 12) + (y - 12) * (y - 12);
      const bool opaque = d < 121 && d > 25;
      picture.SetPixel(x, y, opaque ? RGB(0x20 + 8 * x, 0x60, 0xE0 - 8 * y) : 0);
      mask->SetRaw(x, y, opaque ? 0 : 1);
    }
  }
  picture.SetMask(std::move(mask));
  return picture;
}

// Tiles on a grid fixed to the document, scrolled by (scroll_x, scroll_y).
void TileBackground(Canvas& c, const TBitmap& tile, const Rect& area, int scroll_x, int scroll_y) {
  const int x0 = area.left - scroll_x % tile.Width() - tile.Width();
  const int y0 = area.top - scroll_y % tile.Height() - tile.Height();
  for (int y = y0; y < area.bottom; y += tile.Height()) {
    for (int x = x0; x < area.right; x += tile.Width()) {
      c.BitBlt(x, y, tile.Width(), tile.Height(), tile, 0, 0, RasterOp::SRCCOPY);
    }
  }
}

void DrawMasked(Canvas& c, const TMyBitmap& picture, int x, int y) {
  c.BitBlt(x, y, picture.Width(), picture.Height(), *picture.Mask(), 0, 0, RasterOp::SRCAND);
  c.BitBlt(x, y, picture.Width(), picture.Height(), picture, 0, 0, RasterOp::SRCPAINT);
}

// Runs on one baseline that continue at the current position, as a text line paints.
void TextLine(Canvas& c, int x, int baseline) {
  c.SetTextAlign(TA_BASELINE | TA_UPDATECP);
  c.SetBkMode(BkMode::TRANSPARENT);
  c.MoveToEx(x, baseline);
  c.SelectFont({"Times New Roman", 16, 0, RGB(0x10, 0x10, 0x10), 0});
  c.TextOut(0, 0, "Gr\xfc\xdf Gott, ");
  c.SelectFont({"Arial", 13, fsBold, RGB(0x00, 0x40, 0xA0), 0});
  c.TextOut(0, 0,
            "Stra\xdf"
            "e ");
  c.SelectFont({"Courier New", 13, fsItalic | fsUnderline, RGB(0x80, 0x00, 0x00), 0});
  c.TextOut(0, 0, "und ");
  // The selection: opaque, font colour as background, inverse as text.
  const LogFont selected{"MS Sans Serif", 13, fsStrikeOut, RGB(0x00, 0x60, 0x00), 0};
  c.SelectFont(selected);
  c.SetBkMode(BkMode::OPAQUE);
  c.SetBkColor(selected.color);
  c.SetTextColor(~selected.color & 0x00FFFFFF);
  c.TextOut(0, 0, "Auswahl");
  c.SetBkMode(BkMode::TRANSPARENT);
}

void JustifiedLine(Canvas& c, int left, int right, int baseline) {
  const std::string text = "ein Blocksatz mit Luft";
  c.SelectFont({"Arial", 12, 0, RGB(0x30, 0x30, 0x30), 0});
  const int extra = (right - left) - c.GetTextExtentPoint32(text).cx;
  c.SetTextJustification(extra, 3);
  c.SetTextAlign(TA_BASELINE | TA_UPDATECP);
  c.MoveToEx(left, baseline);
  c.TextOut(0, 0, text);
  c.SetTextJustification(0, 0);
}

void RegionBorders(Canvas& c) {
  // A table grid: the border region with the cells cut out.
  TRegion grid = TRegion::CreateRectRgn(12, 110, 172, 186);
  for (int row = 0; row < 2; ++row) {
    for (int col = 0; col < 3; ++col) {
      const Rect cell{16 + col * 52, 114 + row * 36, 64 + col * 52, 146 + row * 36};
      grid = TRegion::Combine(grid, TRegion::CreateRectRgnIndirect(cell), RegionCombine::RGN_DIFF);
      c.FillRect(cell, (row + col) % 2 ? RGB(0xFF, 0xFF, 0xFF) : RGB(0xFF, 0xF8, 0xD0));
    }
  }
  c.FillRgn(grid, RGB(0x40, 0x40, 0x60));
  const TRegion ring = TRegion::Combine(TRegion::CreateEllipticRgn(190, 110, 250, 170),
                                        TRegion::CreateEllipticRgn(200, 120, 240, 160),
                                        RegionCombine::RGN_DIFF);
  c.FillRgn(ring, PALETTERGB(0xC0, 0x40, 0x20));
}

}  // namespace

void DrawReferenceScene(Canvas& c) {
  const TBitmap tile = BackgroundTile();
  const TMyBitmap picture = MaskedPicture();
  TileBackground(c, tile, {0, 0, ReferenceSceneWidth, ReferenceSceneHeight}, 5, 11);
  TextLine(c, 10, 28);
  c.SetTextAlign(TA_BASELINE);
  c.SelectFont({"Arial", 11, 0, RGB(0x50, 0x50, 0x50), 0});
  c.TextOut(10, 50,
            "Tessival \x84"
            "Zitat\x93 \x80 12,50");
  JustifiedLine(c, 10, 230, 72);
  DrawMasked(c, picture, 260, 10);
  c.StretchBlt(250, 50, 48, 36, picture, 0, 0, 24, 24, RasterOp::SRCCOPY);
  c.SelectPen({SystemColorFlag | COLOR_BTNSHADOW, 1});
  c.MoveToEx(10, 90);
  c.LineTo(300, 90);
  c.SelectPen({SystemColorFlag | COLOR_BTNHIGHLIGHT, 1});
  c.MoveToEx(10, 91);
  c.LineTo(300, 91);
  RegionBorders(c);
  c.DrawFocusRect({260, 120, 310, 180});
  c.SelectBrush(TBrush::Checkered());
  c.PatBlt(268, 130, 34, 8, RasterOp::PATINVERT);
}

}  // namespace tessival::tools
