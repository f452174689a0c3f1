// A screenful of a long page is painted without visiting the blocks above and below it; what
// it shows must be what painting the whole page shows there.
#include <gtest/gtest.h>

#include <string>

#include "layout/section_list.h"
#include "platform/test_canvas.h"
#include "reader/tag_reader.h"

namespace tessival::layout::testing {
namespace {

constexpr platform::TColor kWhite = 0xFFFFFF;
constexpr int kWidth = 300;
constexpr int kPanelHeight = 200;

// Plain paragraphs, with blocks between them that paint outside their place in the flow.
std::string LongPage() {
  std::string html;
  for (int i = 0; i < 80; ++i) {
    html += "<p>Absatz " + std::to_string(i) +
            " mit <b>fettem</b> Text, der umbricht und weiterläuft.</p>";
    if (i == 30) {
      // Far below, moved up by its offset into the screenful at about 700.
      html +=
          "<div><div style='position:relative;top:-500px;height:30px;background-color:#00ff00'>"
          "verschoben</div></div>";
    }
    if (i == 50) html += "<div style='margin-top:-60px;background-color:#0000ff'>hochgezogen</div>";
    if (i == 60)
      html += "<div style='float:right;width:50px;height:300px;background-color:#ff0000'></div>";
  }
  return html;
}

TEST(PaintWalk, AScreenfulShowsWhatTheWholePageShowsThere) {
  TSectionList doc;
  doc.SetFonts(html::TStyleDefaults{}, kWhite, false);
  ParseDocument(LongPage(), doc);
  platform::TestCanvas measure(kWidth, kPanelHeight);
  int pos = 0, maxWidth = 0;
  const int height = doc.Layout(measure, 0, pos, maxWidth, kPanelHeight, kWidth);
  ASSERT_GT(height, 6 * kPanelHeight);

  platform::TestCanvas whole(kWidth, height);
  doc.SetYOffset(0);
  doc.Paint(whole, {0, 0, kWidth, height}, 0);
  for (int top = 0; top + kPanelHeight <= height; top += 137) {
    platform::TestCanvas panel(kWidth, kPanelHeight);
    doc.SetYOffset(top);
    doc.Paint(panel, {0, 0, kWidth, kPanelHeight}, 0);
    int differing = 0;
    for (int y = 0; y < kPanelHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) differing += panel.PixelAt(x, y) != whole.PixelAt(x, top + y);
    }
    EXPECT_EQ(differing, 0) << "screenful at " << top;
  }
}

}  // namespace
}  // namespace tessival::layout::testing
