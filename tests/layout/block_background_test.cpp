// Background pictures of blocks and picture markers of list items, read back pixel by
// pixel on the test canvas. The host hands pictures over as bitmaps (or says they are
// still coming), so no file is read.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "layout/block_background.h"
#include "layout/document_images.h"
#include "layout/section_list.h"
#include "platform/stream.h"
#include "platform/test_canvas.h"
#include "reader/tag_reader.h"

namespace tessival::layout::testing {
namespace {

constexpr platform::TColor kWhite = 0xFFFFFF;
constexpr platform::TColor kRed = 0x0000FF;  // 0x00BBGGRR
constexpr platform::TColor kGreen = 0x00FF00;
constexpr platform::TColor kBlue = 0xFF0000;

// A 4 x 3 picture: its first column red, the rest blue.
platform::TBitmap StripedTile() {
  platform::TBitmap tile(4, 3, platform::PixelFormat::pf24bit);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) tile.SetPixel(x, y, x == 0 ? kRed : kBlue);
  return tile;
}

// The smallest BMP the loader takes: 24-bit, 4 x 3, every pixel red.
std::vector<std::uint8_t> RedBmp() {
  const int rowBytes = 12, size = 54 + rowBytes * 3;
  std::vector<std::uint8_t> data(size, 0);
  auto put32 = [&data](int at, int value) {
    for (int i = 0; i < 4; ++i) data[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  data[0] = 'B';
  data[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, 4);
  put32(22, 3);
  data[26] = 1;
  data[28] = 24;
  for (int pixel = 0; pixel < 12; ++pixel) data[54 + pixel * 3 + 2] = 0xFF;  // B, G, R
  return data;
}

class PicturePage : public ::testing::Test {
 protected:
  // The host gives `picture` for every reference, `transparent` naming its see-through colour.
  void HostGives(const platform::TBitmap& picture, int transparent = -1) {
    doc.Images.OnBitmapRequest = [this, picture, transparent](const std::string& src,
                                                              std::unique_ptr<platform::TBitmap>& bitmap,
                                                              int& color) {
      Asked.push_back(src);
      bitmap = std::make_unique<platform::TBitmap>(picture);
      color = transparent;
    };
  }
  void Show(std::string_view html, bool images = true) {
    doc.ShowImages = images;
    doc.SetFonts(html::TStyleDefaults{}, kWhite, false);
    ParseDocument(html, doc);
    Repaint();
  }
  void Repaint() {
    int pos = 0, maxWidth = 0;
    doc.Layout(canvas, 0, pos, maxWidth, 200, 300);
    canvas.FillRect({0, 0, 300, 200}, kWhite);
    doc.Paint(canvas, {0, 0, 300, 200}, 0);
  }
  platform::TColor At(int x, int y) const { return canvas.PixelAt(x, y) & 0xFFFFFF; }

  TSectionList doc;
  platform::TestCanvas canvas{300, 200};
  std::vector<std::string> Asked;
};

// Border box from (10, 5), 2-pixel border: the padding box is (12, 7) to (38, 23).
constexpr std::string_view kBox =
    "border:2px solid #000000;padding:3px;width:20px;height:10px;background-color:#00ff00;";

TEST_F(PicturePage, ABackgroundPictureRepeatsOverThePaddingBoxAndStopsAtTheBorder) {
  HostGives(StripedTile());
  Show("<div style='" + std::string(kBox) + "background-image:url(tile.bmp)'></div>");
  // Tiles start at the padding box's corner: columns 12, 16, ... 36 are red.
  for (int x = 12; x < 38; x += 4) {
    EXPECT_EQ(At(x, 7), kRed) << x;
    EXPECT_EQ(At(x + 1, 22), kBlue) << x;
  }
  EXPECT_EQ(At(36, 22), kRed);
  EXPECT_EQ(At(11, 7), 0u);   // border, not picture
  EXPECT_EQ(At(38, 15), 0u);  // the right border: the last tile is cut
  EXPECT_EQ(At(20, 23), 0u);  // the bottom border
  EXPECT_EQ(At(40, 15), kWhite);
  EXPECT_EQ(At(20, 26), kWhite);
  // Kept by the block: a second layout and paint asks no more.
  Repaint();
  EXPECT_EQ(At(16, 10), kRed);
  EXPECT_EQ(Asked.size(), 1u);
}

TEST_F(PicturePage, WithImagesOffABlockShowsOnlyItsColourAndAsksForNothing) {
  HostGives(StripedTile());
  Show("<div style='" + std::string(kBox) + "background-image:url(tile.bmp)'></div>", false);
  for (int x = 12; x < 38; ++x) EXPECT_EQ(At(x, 10), kGreen) << x;
  EXPECT_TRUE(Asked.empty());
}

TEST_F(PicturePage, ANonRepeatingPictureStandsOnceAtItsPosition) {
  HostGives(StripedTile());
  Show("<div style='" + std::string(kBox) +
       "background-image:url(tile.bmp);background-repeat:no-repeat;"
       "background-position:right bottom'></div>");
  // One tile in the corner: (34, 20) to (38, 23).
  EXPECT_EQ(At(34, 20), kRed);
  EXPECT_EQ(At(35, 22), kBlue);
  EXPECT_EQ(At(33, 22), kGreen);
  EXPECT_EQ(At(35, 19), kGreen);
  EXPECT_EQ(At(30, 20), kGreen);
}

TEST_F(PicturePage, ARowOfTilesRepeatsAcrossOnly) {
  HostGives(StripedTile());
  Show("<div style='" + std::string(kBox) +
       "background-image:url(tile.bmp);background-repeat:repeat-x;background-position:0 50%'></div>");
  // The row sits at (16 - 3) / 2 = 6 below the padding top: rows 13 to 15.
  EXPECT_EQ(At(12, 13), kRed);
  EXPECT_EQ(At(32, 15), kRed);
  EXPECT_EQ(At(12, 12), kGreen);
  EXPECT_EQ(At(12, 16), kGreen);
}

TEST_F(PicturePage, TheTransparentPartOfAPictureShowsTheBlocksColour) {
  HostGives(StripedTile(), static_cast<int>(kBlue));
  Show("<div style='" + std::string(kBox) + "background-image:url(tile.bmp)'></div>");
  EXPECT_EQ(At(16, 10), kRed);
  EXPECT_EQ(At(17, 10), kGreen);
  EXPECT_EQ(At(19, 10), kGreen);
}

TEST_F(PicturePage, APictureStillComingIsDrawnOnceTheHostDeliversIt) {
  doc.Images.OnImageRequest = [](const std::string&, platform::TStream*& answer) {
    answer = &DeferredImageStream();
  };
  Show("<div style='" + std::string(kBox) + "background-image:url(later.bmp)'></div>");
  EXPECT_EQ(At(20, 10), kGreen);
  const std::vector<std::uint8_t> bmp = RedBmp();
  platform::TMemoryStream data;
  data.Write(bmp.data(), bmp.size());
  data.SetPosition(0);
  doc.InsertImage("later.bmp", data);
  Repaint();
  EXPECT_EQ(At(20, 10), kRed);
  EXPECT_EQ(At(37, 22), kRed);
}

TEST_F(PicturePage, AMissingBackgroundPictureLeavesTheColour) {
  Show("<div style='" + std::string(kBox) + "background-image:url(/nowhere/at/all.png)'></div>");
  EXPECT_EQ(At(20, 10), kGreen);
}

// Items of a top-level list start at x 45 with their first baseline at 31.
TEST_F(PicturePage, APictureMarkerStandsOnTheBaselineInPlaceOfTheBullet) {
  HostGives(StripedTile());
  Show("<ul style='list-style-image:url(dot.bmp)'><li>a</ul>");
  // Its left at 45 - 16, its bottom row on the line above the baseline.
  EXPECT_EQ(At(29, 28), kRed);
  EXPECT_EQ(At(30, 30), kBlue);
  EXPECT_EQ(At(29, 27), kWhite);
  EXPECT_EQ(At(29, 31), kWhite);
  EXPECT_EQ(At(32, 25), kWhite);  // where the disc would be
}

TEST_F(PicturePage, WithoutItsPictureAMarkerFallsBackToTheBullet) {
  HostGives(StripedTile());
  Show("<ul style='list-style-image:url(dot.bmp)'><li>a</ul>", false);
  EXPECT_EQ(At(45 - 13, 31 - 4), 0u);  // the disc
  EXPECT_TRUE(Asked.empty());
}

TEST_F(PicturePage, AMarkerWhosePictureFailedIsTheBullet) {
  Show("<ul style='list-style-image:url(/nowhere/at/all.png)'><li>a</ul>");
  EXPECT_EQ(At(45 - 13, 31 - 4), 0u);
}

TEST(BackgroundOffset, PlacesFollowTheStyleAndStayNearTheBox) {
  using html::TBackgroundPlace;
  struct Case {
    TBackgroundPlace place;
    int value;
    int expected;
  };
  // A box 100 long, a tile 20 long.
  const Case cases[] = {
      {TBackgroundPlace::bpLeft, 0, 0},
      {TBackgroundPlace::bpTop, 0, 0},
      {TBackgroundPlace::bpCenter, 0, 40},
      {TBackgroundPlace::bpRight, 0, 80},
      {TBackgroundPlace::bpBottom, 0, 80},
      {TBackgroundPlace::bpPercent, 25, 20},
      {TBackgroundPlace::bpLength, 7, 7},
      {TBackgroundPlace::bpLength, 500, 100},
      {TBackgroundPlace::bpLength, -500, -20},
      {TBackgroundPlace::bpPercent, 2000000000, 100},
      {TBackgroundPlace::bpPercent, -2000000000, -20},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BackgroundOffset({c.place, c.value, true}, 100, 20), c.expected)
        << static_cast<int>(c.place) << " " << c.value;
  }
}

}  // namespace
}  // namespace tessival::layout::testing
