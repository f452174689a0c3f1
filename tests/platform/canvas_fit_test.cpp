// FitText: the fitting part of GetTextExtentExPoint without measuring past it.
#include <gtest/gtest.h>

#include <string>

#include "platform/test_canvas.h"

namespace tessival::platform {
namespace {

TEST(CanvasFitText, AgreesWithTheFullMeasurementAtEveryLimit) {
  TestCanvas canvas(10, 10);
  const std::string text = "Zwetschgen r\xf6sten im Ofen";
  for (const LogFont& font : {LogFont{"Arial", 16, 0, 0, 0}, LogFont{"Arial", 13, fsBold, 0, 0}}) {
    canvas.SelectFont(font);
    for (int limit = -1; limit < 260; ++limit) {
      const TextExtentEx whole = canvas.GetTextExtentExPoint(text, limit);
      const TextExtentEx fitted = canvas.FitText(text, limit);
      EXPECT_EQ(fitted.fit, whole.fit) << limit;
      EXPECT_EQ(fitted.fit_width, whole.fit_width) << limit;
      EXPECT_EQ(fitted.size.cx, whole.fit_width) << limit;
    }
  }
}

TEST(CanvasFitText, HonoursJustificationWithoutUsingItUp) {
  TestCanvas canvas(10, 10);
  canvas.SelectFont(LogFont{"Arial", 16, 0, 0, 0});  // advance 8
  canvas.SetTextJustification(6, 3);                 // 2 per space
  // "ab cd" = 5 characters of 8 plus one justified space of 2.
  EXPECT_EQ(canvas.FitText("ab cd", 42).fit, 5);
  EXPECT_EQ(canvas.FitText("ab cd", 41).fit, 4);
  EXPECT_EQ(canvas.FitText("ab cd", 42).fit_width, canvas.GetTextExtentPoint32("ab cd").cx);
}

}  // namespace
}  // namespace tessival::platform

namespace tessival::platform {
namespace {

TEST(CanvasRealiseFont, GivesTheFontSelectingWouldGiveWithoutSelectingIt) {
  TestCanvas canvas(10, 10);
  const LogFont bold{"Arial", 20, fsBold, 0, 0};
  const LogFont before = canvas.Font();
  const auto realised = canvas.RealiseFont(bold);
  EXPECT_EQ(canvas.Font(), before);
  canvas.SelectFont(bold);
  EXPECT_EQ(realised->metrics, canvas.GetTextMetrics());
  const std::string text =
      "Gr\xFC\xDF"
      "e aus Wien";
  EXPECT_EQ(TextWidthOf(*realised, text), canvas.GetTextExtentPoint32(text).cx);
  for (int limit : {-1, 0, 10, 55, 1000}) {
    int width = -1;
    const TextExtentEx expected = canvas.GetTextExtentExPoint(text, limit);
    EXPECT_EQ(FitCountOf(*realised, text, limit, width), expected.fit) << limit;
    EXPECT_EQ(width, expected.fit_width) << limit;
  }
}

}  // namespace
}  // namespace tessival::platform
