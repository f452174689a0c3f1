// The small shared types: link targets, selection buffers, image maps and the image cache.
#include <gtest/gtest.h>

#include "html/attribute_list.h"
#include "html/image_cache.h"
#include "html/map_item.h"
#include "html/selection_buffers.h"
#include "html/url_target.h"
#include "platform/clipboard.h"

namespace tessival::html {
namespace {

TEST(TUrlTarget, EveryAssignTakesANewLinkNumber) {
  TUrlTarget a, b;
  a.Assign("x.htm", "main");
  b.Assign("y.htm", "");
  EXPECT_EQ(b.LinkNumber(), a.LinkNumber() + 1);
  TUrlTarget c;
  c.Copy(a);
  EXPECT_EQ(c.LinkNumber(), a.LinkNumber());
  EXPECT_EQ(c.Target(), "main");
  c.Clear();
  EXPECT_EQ(c.Url(), "");
  EXPECT_EQ(c.LinkNumber(), 0);
}

TEST(SelectionBuffers, CountIncludesLineBreaksWhichTheCopyLeavesOut) {
  const std::string text = "ab\2c\4d\x08";
  SelTextCount count;
  count.AddTextCR(text.data(), static_cast<int>(text.size()));
  EXPECT_EQ(count.Terminate(), 7);  // a b c d, marker 8, CR LF

  char buffer[16];
  SelTextBuf copy(buffer, count.Terminate() + 1);
  copy.AddTextCR(text.data(), static_cast<int>(text.size()));
  EXPECT_EQ(copy.Terminate(), 7);
  EXPECT_STREQ(buffer, "abcd\r\n");
}

TEST(SelectionBuffers, BufferKeepsWhatFitsAndTheZero) {
  char buffer[4] = {'x', 'x', 'x', 'x'};
  SelTextBuf copy(buffer, 4);
  copy.AddText("abcdef", 6);
  EXPECT_EQ(copy.Terminate(), 4);
  EXPECT_STREQ(buffer, "abc");

  char none = 'x';
  SelTextBuf empty(&none, 0);
  empty.AddText("abc", 3);
  EXPECT_EQ(empty.Terminate(), 1);
  EXPECT_EQ(none, 'x');
}

TEST(SelectionBuffers, ClipBufferPutsItsTextOnTheClipboard) {
  platform::MemoryClipboard clipboard;
  platform::Clipboard::SetSystem(&clipboard);
  {
    ClipBuffer clip;
    const std::string big(40000, 'q');
    clip.AddText("\2", 1);
    clip.AddText(big.data(), static_cast<int>(big.size()));
    EXPECT_EQ(clip.Terminate(), ClipBuffer::Size);
  }
  platform::Clipboard::SetSystem(nullptr);
  ASSERT_TRUE(clipboard.GetText().has_value());
  EXPECT_EQ(clipboard.GetText()->size(), 32499u);
}

TAttributeList Area(const char* shape, const char* coords, const char* href, bool no_href = false) {
  TAttributeList list;
  if (shape) list.Add(ShapeSy, 0, shape);
  list.Add(CoordsSy, 0, coords);
  if (href) list.Add(HrefSy, 0, href);
  if (no_href) list.Add(NoHrefSy, 0, "");
  list.Add(TargetSy, 0, "frame1");
  return list;
}

std::string LinkAt(const TMapItem& map, int x, int y) {
  auto link = map.HitTest(x, y);
  return link ? link->Url() : std::string("-");
}

TEST(TMapItem, RectangleIncludesItsRightAndBottomEdge) {
  TMapItem map("nav");
  EXPECT_EQ(map.MapName(), "NAV");
  map.AddArea(Area(nullptr, " 10, 20 ,30,40 ", "r.htm"));
  EXPECT_EQ(LinkAt(map, 10, 20), "r.htm");
  EXPECT_EQ(LinkAt(map, 30, 40), "r.htm");
  EXPECT_EQ(LinkAt(map, 31, 40), "-");
  EXPECT_EQ(LinkAt(map, 9, 20), "-");
  EXPECT_EQ(map.HitTest(15, 25)->Target(), "frame1");
}

TEST(TMapItem, CircleCoversItsRadiusInclusive) {
  TMapItem map("m");
  map.AddArea(Area("CIRCLE", "10,10,5", "c.htm"));
  for (auto [x, y] : {std::pair{5, 10}, {15, 10}, {10, 5}, {10, 15}, {10, 10}}) {
    EXPECT_EQ(LinkAt(map, x, y), "c.htm") << x << "," << y;
  }
  for (auto [x, y] : {std::pair{4, 10}, {16, 10}, {5, 5}, {15, 15}}) {
    EXPECT_EQ(LinkAt(map, x, y), "-") << x << "," << y;
  }
}

TEST(TMapItem, PolygonUsesTheWindingRuleAndIgnoresAnOddLastNumber) {
  TMapItem map("m");
  // A five-pointed star drawn in one stroke: its centre is inside under the winding rule.
  map.AddArea(Area("poly", "50,0 79,90 2,35 98,35 21,90 7", "star.htm"));
  EXPECT_EQ(LinkAt(map, 50, 50), "star.htm");
  EXPECT_EQ(LinkAt(map, 50, 10), "star.htm");
  EXPECT_EQ(LinkAt(map, 5, 80), "-");
}

TEST(TMapItem, TooFewNumbersAddNoArea) {
  TMapItem map("m");
  map.AddArea(Area("rect", "1,2,3", "a"));
  map.AddArea(Area("circ", "1,2", "a"));
  map.AddArea(Area("polygon", "1,2,3,4,5", "a"));
  EXPECT_EQ(map.AreaCount(), 0);
}

TEST(TMapItem, FirstContainingAreaDecidesEvenWithoutLink) {
  TMapItem map("m");
  map.AddArea(Area("rect", "0,0,10,10", "hidden.htm", /*no_href=*/true));
  map.AddArea(Area("rect", "0,0,100,100", "big.htm"));
  EXPECT_EQ(LinkAt(map, 5, 5), "-");
  EXPECT_EQ(LinkAt(map, 50, 50), "big.htm");
}

TEST(TMapItem, CoordsThatDoNotConvertCountAsZero) {
  EXPECT_EQ(ParseCoords("1,x,,3 ,, 4"), (std::vector<int>{1, 0, 3, 4}));
  EXPECT_EQ(ParseCoords("99999999999999999999999,2"), (std::vector<int>{0, 2}));
  EXPECT_EQ(ParseCoords(std::string(2000, '1').append(",").append(std::string(1000, '7'))).size(), 2u);
  std::string many;
  for (int i = 0; i < 400; ++i) many += "1,";
  EXPECT_EQ(ParseCoords(many).size(), 301u);
  TMapItem map("m");
  map.AddArea(Area("circle", "2147483647,2147483647,2147483647", "x"));
  EXPECT_EQ(map.AreaCount(), 1);
}

class CountedImage : public TCachedImage {
 public:
  explicit CountedImage(int* alive) : alive_(alive) { ++*alive_; }
  ~CountedImage() override { --*alive_; }

 private:
  int* alive_;
};

TEST(TStringBitmapList, UnusedPicturesSurviveFourMoreDocuments) {
  int alive = 0;
  TStringBitmapList cache;
  cache.AddObject("A.GIF", std::make_unique<TBitmapItem>(std::make_unique<CountedImage>(&alive),
                                                         std::make_unique<CountedImage>(&alive), 1));
  cache.AddObject("B.GIF",
                  std::make_unique<TBitmapItem>(std::make_unique<CountedImage>(&alive), nullptr, 0));
  EXPECT_EQ(alive, 3);
  cache.DecUsage("A.GIF");
  for (int document = 0; document < 4; ++document) cache.Age();
  EXPECT_EQ(cache.Count(), 2);
  ASSERT_NE(cache.GetImage(cache.IndexOf("A.GIF")), nullptr);  // young again, in use
  cache.DecUsage("A.GIF");
  cache.Age();
  EXPECT_EQ(cache.Count(), 2);
  for (int document = 0; document < 4; ++document) cache.Age();
  EXPECT_EQ(cache.IndexOf("A.GIF"), -1);
  EXPECT_EQ(cache.Count(), 1);  // B is still in use
  EXPECT_EQ(alive, 1);
  cache.DecUsage("B.GIF");
  cache.SetMaxAge(0);
  EXPECT_EQ(cache.Count(), 0);
  EXPECT_EQ(cache.MaxAge(), 0);
  EXPECT_EQ(alive, 0);
}

TEST(TStringBitmapList, ClearFreesEveryPicture) {
  int alive = 0;
  TStringBitmapList cache;
  cache.AddObject("X",
                  std::make_unique<TBitmapItem>(std::make_unique<CountedImage>(&alive), nullptr, 0));
  EXPECT_EQ(cache.GetImage(5), nullptr);
  cache.DecUsage("missing");
  cache.Clear();
  EXPECT_EQ(alive, 0);
}

TEST(TAttributeList, LookupsAndTheCachedId) {
  TAttributeList list;
  list.Add(ClassSy, 0, "Big");
  list.Add(IDSy, 0, "Main");
  list.Add(TitleSy, 0, "Hello World");
  list.Add(IDSy, 0, "second");
  EXPECT_EQ(list.GetClass(), "big");
  EXPECT_EQ(list.GetID(), "main");
  EXPECT_EQ(list.GetTitle(), "Hello World");
  EXPECT_EQ(list.Find(HrefSy), nullptr);
  list.Clear();
  EXPECT_EQ(list.GetID(), "");
  EXPECT_EQ(list.GetClass(), "");
}

}  // namespace
}  // namespace tessival::html
