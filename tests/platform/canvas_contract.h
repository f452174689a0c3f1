#pragma once
// The behaviour every Canvas implementation must show. A test executable instantiates the
// suite with a factory type that has
//   static std::unique_ptr<Canvas> On(TBitmap& target);   // a memory canvas
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/display_depth.h"
#include "platform/program_palette.h"

namespace tessival::platform::contract {

constexpr TColor kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr TColor kBlack = RGB(0, 0, 0);
constexpr TColor kRed = RGB(0xFF, 0, 0);
constexpr TColor kBlue = RGB(0, 0, 0xFF);
constexpr TColor kGreen = RGB(0, 0x80, 0);

template <class Factory>
class CanvasContract : public ::testing::Test {
 protected:
  CanvasContract() : target_(40, 30, PixelFormat::pf32bit) {
    target_.Fill(kWhite);
    canvas_ = Factory::On(target_);
  }
  Canvas& canvas() { return *canvas_; }
  TColor Pixel(int x, int y) {
    canvas_->Flush();
    return target_.GetPixel(x, y);
  }
  TBitmap Snapshot() {
    canvas_->Flush();
    return target_;
  }
  // Pixels of a row as '#' (not white) and '.' (white), for readable expectations.
  std::string Row(int y, int from, int to) {
    std::string out;
    for (int x = from; x < to; ++x) out += Pixel(x, y) == kWhite ? '.' : '#';
    return out;
  }
  static TBitmap Bitmap2x2(TColor a, TColor b, TColor c, TColor d) {
    TBitmap bitmap(2, 2, PixelFormat::pf24bit);
    bitmap.SetPixel(0, 0, a), bitmap.SetPixel(1, 0, b), bitmap.SetPixel(0, 1, c),
        bitmap.SetPixel(1, 1, d);
    return bitmap;
  }

  TBitmap target_;
  std::unique_ptr<Canvas> canvas_;
};

TYPED_TEST_SUITE_P(CanvasContract);

TYPED_TEST_P(CanvasContract, RasterOperationsFollowTheirTruthTables) {
  struct Case {
    RasterOp op;
    TColor expected;  // destination 0x00FF00FF (magenta) with source 0x0000FFFF (yellow)
  };
  const TColor dest = RGB(0xFF, 0x00, 0xFF), source = RGB(0xFF, 0xFF, 0x00);
  // The table keeps its hand-made columns.
  // clang-format off
  const std::vector<Case> cases = {
      {RasterOp::SRCCOPY, source},          {RasterOp::SRCPAINT, RGB(0xFF, 0xFF, 0xFF)},
      {RasterOp::SRCAND, RGB(0xFF, 0, 0)},  {RasterOp::SRCINVERT, RGB(0, 0xFF, 0xFF)},
      {RasterOp::NOTSRCCOPY, RGB(0, 0, 0xFF)}, {RasterOp::DSTINVERT, RGB(0, 0xFF, 0)},
      {RasterOp::BLACKNESS, kBlack},        {RasterOp::WHITENESS, kWhite},
  };
  // clang-format on
  const TBitmap src = this->Bitmap2x2(source, source, source, source);
  int x = 0;
  for (const Case& c : cases) {
    this->canvas().FillRect({x, 0, x + 2, 2}, dest);
    this->canvas().BitBlt(x, 0, 2, 2, src, 0, 0, c.op);
    EXPECT_EQ(this->Pixel(x, 0), c.expected) << RasterOpName(c.op);
    EXPECT_EQ(this->Pixel(x + 1, 1), c.expected) << RasterOpName(c.op);
    x += 3;
  }
}

TYPED_TEST_P(CanvasContract, AndMaskThenPaintDrawsThePictureOverTheBackground) {
  // Picture: red at (0,0), blue at (1,1), black (transparent) elsewhere.
  const TBitmap picture = this->Bitmap2x2(kRed, kBlack, kBlack, kBlue);
  TBitmap mask(2, 2, PixelFormat::pf1bit);  // white where transparent
  mask.SetPixel(1, 0, kWhite), mask.SetPixel(0, 1, kWhite);
  this->canvas().FillRect({0, 0, 2, 2}, kGreen);
  this->canvas().BitBlt(0, 0, 2, 2, mask, 0, 0, RasterOp::SRCAND);
  this->canvas().BitBlt(0, 0, 2, 2, picture, 0, 0, RasterOp::SRCPAINT);
  EXPECT_EQ(this->Pixel(0, 0), kRed);
  EXPECT_EQ(this->Pixel(1, 0), kGreen);
  EXPECT_EQ(this->Pixel(0, 1), kGreen);
  EXPECT_EQ(this->Pixel(1, 1), kBlue);
  // The invert-and-invert sequence needs no black in the transparent pixels.
  const TBitmap noisy = this->Bitmap2x2(kRed, RGB(9, 9, 9), RGB(7, 7, 7), kBlue);
  this->canvas().FillRect({4, 0, 6, 2}, kGreen);
  this->canvas().BitBlt(4, 0, 2, 2, noisy, 0, 0, RasterOp::SRCINVERT);
  this->canvas().BitBlt(4, 0, 2, 2, mask, 0, 0, RasterOp::SRCAND);
  this->canvas().BitBlt(4, 0, 2, 2, noisy, 0, 0, RasterOp::SRCINVERT);
  EXPECT_EQ(this->Pixel(4, 0), kRed);
  EXPECT_EQ(this->Pixel(5, 0), kGreen);
  EXPECT_EQ(this->Pixel(5, 1), kBlue);
}

TYPED_TEST_P(CanvasContract, InvertingOperationsDrawnTwiceRestoreThePixels) {
  Canvas& c = this->canvas();
  c.FillRect({0, 0, 20, 12}, kGreen);
  c.FillRect({5, 3, 15, 9}, kRed);
  const TBitmap before = this->Snapshot();
  c.DrawFocusRect({2, 1, 18, 11});
  EXPECT_NE(this->Snapshot(), before);
  EXPECT_EQ(this->Pixel(2, 1), kGreen);  // x + y odd: not a dot
  EXPECT_EQ(this->Pixel(3, 1), RGB(0xFF, 0x7F, 0xFF));
  EXPECT_EQ(this->Pixel(2, 2), RGB(0xFF, 0x7F, 0xFF));
  EXPECT_EQ(this->Pixel(8, 6), kRed);  // inside: untouched
  c.DrawFocusRect({2, 1, 18, 11});
  EXPECT_EQ(this->Snapshot(), before);

  c.SelectBrush(TBrush::Checkered());
  c.SetBrushOrgEx(1, 0);
  c.PatBlt(0, 0, 20, 12, RasterOp::PATINVERT);
  EXPECT_EQ(this->Pixel(0, 0), RGB(0xFF, 0x7F, 0xFF));  // pattern bit 1 at this phase: inverted
  EXPECT_EQ(this->Pixel(1, 0), kGreen);
  c.PatBlt(0, 0, 20, 12, RasterOp::PATINVERT);
  c.InvertRect({3, 3, 9, 9});
  c.InvertRect({3, 3, 9, 9});
  EXPECT_EQ(this->Snapshot(), before);
}

TYPED_TEST_P(CanvasContract, ExtentOfTheFittedCharactersAgreesWithTheWholeRunExtent) {
  Canvas& c = this->canvas();
  const std::string text = "Kaiserschmarrn mit Zwetschgenr\xf6ster";
  for (const LogFont& font :
       {LogFont{"Arial", 13, 0, 0, 0}, LogFont{"Times New Roman", 16, fsBold, 0, 0},
        LogFont{"Courier New", 11, fsItalic, 0, 0}}) {
    c.SelectFont(font);
    std::vector<int> partial(text.size());
    for (int limit : {0, 7, 40, 95, 10000}) {
      const TextExtentEx ex = c.GetTextExtentExPoint(text, limit, partial);
      EXPECT_EQ(ex.size, c.GetTextExtentPoint32(text));
      EXPECT_EQ(ex.fit_width, c.GetTextExtentPoint32(text.substr(0, ex.fit)).cx) << limit;
      EXPECT_LE(ex.fit_width, limit);
      if (ex.fit < static_cast<int>(text.size())) {
        EXPECT_GT(partial[ex.fit], limit);
      }
      if (ex.fit > 0) {
        EXPECT_EQ(partial[ex.fit - 1], ex.fit_width);
      }
    }
    EXPECT_EQ(c.GetTextMetrics().tmHeight, c.GetTextMetrics().tmAscent + c.GetTextMetrics().tmDescent);
  }
}

TYPED_TEST_P(CanvasContract, JustificationSpreadsExtraPixelsOverBreakCharactersOnly) {
  Canvas& c = this->canvas();
  c.SelectFont({"Arial", 14, 0, 0, 0});
  const std::string line = "ab cd ef gh";  // 3 breaks
  std::vector<int> plain(line.size()), justified(line.size());
  c.GetTextExtentExPoint(line, 0, plain);
  c.SetTextJustification(8, 3);  // 3, 3, 2
  c.GetTextExtentExPoint(line, 0, justified);
  const std::vector<int> extra_after = {0, 0, 3, 3, 3, 6, 6, 6, 8, 8, 8};
  for (std::size_t i = 0; i < line.size(); ++i) {
    EXPECT_EQ(justified[i] - plain[i], extra_after[i]) << "character " << i;
  }
  EXPECT_EQ(c.GetTextExtentPoint32(line).cx, plain.back() + 8);
  // Output uses the breaks up: a second run continues with the remaining share.
  c.SetTextAlign(TA_BASELINE | TA_UPDATECP);
  c.MoveToEx(0, 20);
  c.TextOut(0, 0, "ab ");
  EXPECT_EQ(c.GetCurrentPositionEx().x,
            c.GetTextExtentExPoint("ab", 0).size.cx + plain[2] - plain[1] + 3);
  EXPECT_EQ(c.GetTextExtentPoint32("cd ef gh").cx, plain.back() - plain[2] + 5);
  c.SetTextJustification(0, 0);
  EXPECT_EQ(c.GetTextExtentPoint32(line).cx, plain.back());
}

TYPED_TEST_P(CanvasContract, TextRunsContinueAtTheCurrentPosition) {
  Canvas& c = this->canvas();
  c.SelectFont({"Arial", 12, 0, kBlack, 0});
  c.SetBkMode(BkMode::TRANSPARENT);
  c.SetTextAlign(TA_BASELINE | TA_UPDATECP);
  c.MoveToEx(3, 20);
  c.TextOut(100, 100, "Wo");  // coordinates ignored with TA_UPDATECP
  const int first = c.GetTextExtentPoint32("Wo").cx;
  EXPECT_EQ(c.GetCurrentPositionEx(), (Point{3 + first, 20}));
  c.SelectFont({"Arial", 12, fsBold, kBlack, 0});
  c.TextOut(0, 0, "rt");
  EXPECT_EQ(c.GetCurrentPositionEx(), (Point{3 + first + c.GetTextExtentPoint32("rt").cx, 20}));
  c.SetTextAlign(TA_TOP);
  c.MoveToEx(0, 0);
  c.TextOut(5, 5, "x");
  EXPECT_EQ(c.GetCurrentPositionEx(), (Point{0, 0}));
}

TYPED_TEST_P(CanvasContract, OpaqueModeFillsTheTextCellAndTransparentModeDoesNot) {
  Canvas& c = this->canvas();
  c.SelectFont({"Arial", 12, 0, kBlack, 0});
  const TextMetrics m = c.GetTextMetrics();
  const int width = c.GetTextExtentPoint32("  ").cx;
  c.SetTextAlign(TA_BASELINE);
  c.SetBkColor(kBlue);
  c.SetBkMode(BkMode::OPAQUE);
  c.TextOut(2, 15, "  ");
  EXPECT_EQ(this->Pixel(2, 15 - m.tmAscent), kBlue);
  EXPECT_EQ(this->Pixel(2 + width - 1, 15 + m.tmDescent - 1), kBlue);
  EXPECT_EQ(this->Pixel(2 + width, 15), kWhite);
  EXPECT_EQ(this->Pixel(2, 15 + m.tmDescent), kWhite);
  EXPECT_EQ(this->Pixel(1, 15), kWhite);
  c.SetBkMode(BkMode::TRANSPARENT);
  c.TextOut(2, 28, "  ");
  EXPECT_EQ(this->Pixel(3, 26), kWhite);
  // ExtTextOut with ETO_OPAQUE fills its rectangle whatever the mode; ETO_CLIPPED keeps the
  // text inside it.
  const Rect box{20, 2, 26, 8};
  c.SetTextAlign(TA_TOP);
  c.ExtTextOut(20, 0, ETO_OPAQUE, &box, "");
  EXPECT_EQ(this->Pixel(20, 2), kBlue);
  EXPECT_EQ(this->Pixel(25, 7), kBlue);
  EXPECT_EQ(this->Pixel(26, 8), kWhite);
  c.ExtTextOut(20, 0, ETO_CLIPPED, &box, "WWWWWWW");
  EXPECT_NE(this->Row(5, 20, 26).find('#'), std::string::npos);
  EXPECT_EQ(this->Row(1, 18, 40), std::string(22, '.'));
  EXPECT_EQ(this->Row(9, 18, 40), std::string(22, '.'));
}

TYPED_TEST_P(CanvasContract, ShapesCoverExactlyTheirPixels) {
  Canvas& c = this->canvas();
  c.SelectPen({kBlack, 1});
  c.SelectBrush(TBrush::Solid(kRed));
  c.Rectangle(1, 1, 6, 5);
  EXPECT_EQ(this->Row(0, 0, 7), ".......");
  EXPECT_EQ(this->Row(1, 0, 7), ".#####.");
  EXPECT_EQ(this->Pixel(2, 2), kRed);
  EXPECT_EQ(this->Row(4, 0, 7), ".#####.");
  EXPECT_EQ(this->Row(5, 0, 7), ".......");
  c.MoveToEx(10, 2);
  c.LineTo(15, 2);  // end point excluded
  EXPECT_EQ(this->Row(2, 9, 16), ".#####.");
  c.MoveToEx(20, 0);
  c.LineTo(20, 3);
  EXPECT_EQ(this->Pixel(20, 2), kBlack);
  EXPECT_EQ(this->Pixel(20, 3), kWhite);
  // Drawing far outside the target is clipped, not an error.
  c.FillRect({-100000, -5, 100000, 1}, kBlue);
  EXPECT_EQ(this->Pixel(39, 0), kBlue);
  c.BitBlt(-50, -50, 1000, 1000, this->Bitmap2x2(kRed, kRed, kRed, kRed), -3, 7, RasterOp::SRCCOPY);
}

TYPED_TEST_P(CanvasContract, FilledRegionDifferenceLeavesTheHoleUntouched) {
  Canvas& c = this->canvas();
  const TRegion border = TRegion::Combine(TRegion::CreateRectRgn(2, 2, 12, 10),
                                          TRegion::CreateRectRgn(4, 4, 10, 8), RegionCombine::RGN_DIFF);
  c.FillRgn(border, kGreen);
  EXPECT_EQ(this->Row(3, 0, 14), "..##########..");
  EXPECT_EQ(this->Row(5, 0, 14), "..##......##..");
  EXPECT_EQ(this->Row(10, 0, 14), "..............");
}

TYPED_TEST_P(CanvasContract, StretchingRepeatsAndDropsWholePixels) {
  Canvas& c = this->canvas();
  const TBitmap src = this->Bitmap2x2(kRed, kBlue, kGreen, kBlack);
  c.SetStretchBltMode(StretchMode::COLORONCOLOR);
  c.StretchBlt(0, 0, 4, 4, src, 0, 0, 2, 2, RasterOp::SRCCOPY);
  EXPECT_EQ(this->Pixel(1, 1), kRed);
  EXPECT_EQ(this->Pixel(2, 1), kBlue);
  EXPECT_EQ(this->Pixel(1, 2), kGreen);
  EXPECT_EQ(this->Pixel(3, 3), kBlack);
  c.StretchBlt(10, 0, 1, 1, src, 0, 0, 2, 2, RasterOp::SRCCOPY);
  EXPECT_EQ(this->Pixel(10, 0), kRed);
}

TYPED_TEST_P(CanvasContract, WindowOriginShiftsEveryOperation) {
  Canvas& c = this->canvas();
  c.SetWindowOrgEx(100, 200);
  c.FillRect({101, 202, 103, 203}, kRed);
  EXPECT_EQ(this->Pixel(1, 2), kRed);
  EXPECT_EQ(this->Pixel(3, 2), kWhite);
  c.BitBlt(110, 210, 2, 2, this->Bitmap2x2(kBlue, kBlue, kBlue, kBlue), 0, 0, RasterOp::SRCCOPY);
  EXPECT_EQ(this->Pixel(11, 11), kBlue);
}

TYPED_TEST_P(CanvasContract, PaletteRelativeColoursTakeTheRealisedPaletteOnPaletteDevices) {
  ScopedDisplayDepth depth(8);
  TBitmap screen(4, 1, PixelFormat::pf8bit);
  screen.SetPalette(*ProgramPalette());
  auto memory = TypeParam::On(screen);
  const TPalette two({{0, 0, 0, 0}, {0x40, 0x80, 0xC0, 0}});
  memory->SelectPalette(&two);
  memory->RealizePalette();
  EXPECT_EQ(memory->ResolveColor(PALETTERGB(0x50, 0x70, 0xB0)), RGB(0x40, 0x80, 0xC0));
  EXPECT_EQ(memory->ResolveColor(RGB(0x50, 0x70, 0xB0)), RGB(0x50, 0x70, 0xB0));
  EXPECT_EQ(memory->ResolveColor(SystemColorFlag | COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
  memory->FillRect({0, 0, 4, 1}, PALETTERGB(0xFF, 0, 0));
  memory->Flush();
  EXPECT_EQ(screen.GetPixel(0, 0), kBlack);  // nearer to black than to the blue entry
}

TYPED_TEST_P(CanvasContract, MasksArePreparedOnOneBitMemoryCanvases) {
  TBitmap mask(10, 4, PixelFormat::pf1bit);
  auto memory = TypeParam::On(mask);
  memory->PatBlt(0, 0, 10, 4, RasterOp::WHITENESS);
  memory->PatBlt(2, 1, 3, 2, RasterOp::BLACKNESS);
  memory->Flush();
  EXPECT_EQ(mask.GetRaw(0, 0), 1u);
  EXPECT_EQ(mask.GetRaw(2, 1), 0u);
  EXPECT_EQ(mask.GetRaw(4, 2), 0u);
  EXPECT_EQ(mask.GetRaw(5, 2), 1u);
}

REGISTER_TYPED_TEST_SUITE_P(CanvasContract, RasterOperationsFollowTheirTruthTables,
                            AndMaskThenPaintDrawsThePictureOverTheBackground,
                            InvertingOperationsDrawnTwiceRestoreThePixels,
                            ExtentOfTheFittedCharactersAgreesWithTheWholeRunExtent,
                            JustificationSpreadsExtraPixelsOverBreakCharactersOnly,
                            TextRunsContinueAtTheCurrentPosition,
                            OpaqueModeFillsTheTextCellAndTransparentModeDoesNot,
                            ShapesCoverExactlyTheirPixels, FilledRegionDifferenceLeavesTheHoleUntouched,
                            StretchingRepeatsAndDropsWholePixels, WindowOriginShiftsEveryOperation,
                            PaletteRelativeColoursTakeTheRealisedPaletteOnPaletteDevices,
                            MasksArePreparedOnOneBitMemoryCanvases);

}  // namespace tessival::platform::contract
