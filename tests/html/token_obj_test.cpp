#include "html/token_obj.h"

#include <gtest/gtest.h>

#include "html/id_name_list.h"

namespace tessival::html {
namespace {

TEST(TokenObj, GrowsByFiftyAndKeepsEveryPosition) {
  TokenObj token;
  EXPECT_EQ(token.Capacity(), 300);
  for (int i = 0; i < 301; ++i) token.AddChar(static_cast<char>('a' + i % 26), 1000 + i);
  EXPECT_EQ(token.Capacity(), 350);
  EXPECT_EQ(token.Count(), 301);
  EXPECT_EQ(token.PosAt(300), 1300);
  EXPECT_EQ(token.Text().size(), 301u);

  TokenObj other;
  for (int i = 0; i < 100; ++i) other.AddChar('z', i);
  token.AddToken(other);
  EXPECT_EQ(token.Capacity(), 451);
  EXPECT_EQ(token.Count(), 401);
  EXPECT_EQ(token.PosAt(400), 99);

  token.AddToken(token);
  EXPECT_EQ(token.Count(), 802);
  EXPECT_EQ(token.PosAt(801), 99);
}

TEST(TokenObj, TextCacheFollowsEveryChange) {
  TokenObj token;
  EXPECT_TRUE(token.CacheValid());
  token.AddChar('a', 0);
  token.AddChar('b', 1);
  EXPECT_FALSE(token.CacheValid());
  EXPECT_EQ(token.Text(), "ab");
  EXPECT_TRUE(token.CacheValid());
  token.ReplaceChar(2, 'c');
  EXPECT_TRUE(token.CacheValid());
  EXPECT_EQ(token.Text(), "ac");
  token.ReplaceChar(3, 'x');  // beyond the count
  token.ReplaceChar(0, 'x');
  EXPECT_EQ(token.Text(), "ac");
  token.Clear();
  EXPECT_EQ(token.Text(), "");
  EXPECT_EQ(token.Count(), 0);
}

class FixedLocator : public SourcePositionLocator {
 public:
  std::optional<int> YOfSourcePos(std::int32_t pos) const override {
    if (pos < 0) return std::nullopt;
    return pos * 10;
  }
};

class SectionStub : public TIDObject {
 public:
  int YPosition() const override { return 77; }
};

TEST(TIDNameList, LastDefinitionWinsAndPositionsAreResolvedLate) {
  FixedLocator locator;
  TIDNameList names(&locator);
  SectionStub section;
  names.AddChPosObject("top", 4);
  names.AddObject("Top", &section);
  names.AddChPosObject("end", -1);
  ASSERT_EQ(names.Count(), 2);
  EXPECT_EQ(names.Find("TOP")->YPosition(), 77);
  EXPECT_EQ(names.Find("end")->YPosition(), 0);
  names.AddChPosObject("top", 5);
  EXPECT_EQ(names.Find("top")->YPosition(), 50);
  EXPECT_EQ(names.Find("missing"), nullptr);
  EXPECT_EQ(names.NameAt(0), "end");
  names.Clear();
  EXPECT_EQ(names.Count(), 0);
}

}  // namespace
}  // namespace tessival::html
