#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "html/prop_value.h"

namespace tessival::html {
namespace {

std::string TextOf(const PropValue& value) {
  const auto text = value.TextValue();
  return text ? std::string(*text) : "<no text>";
}

// Texts at the edge of the room held in place and beyond it, where the value owns room.
const std::string Short = "bold";
const std::string Edge(PropValue::InlineRoom, 'e');
const std::string Long = "\"times new roman\", \"courier new\", serif";

TEST(PropValueTest, HoldsOneKindAtATime) {
  PropValue value;
  EXPECT_TRUE(value.IsEmpty());
  value = 12;
  ASSERT_NE(value.IntValue(), nullptr);
  EXPECT_EQ(*value.IntValue(), 12);
  EXPECT_EQ(value.DoubleValue(), nullptr);
  EXPECT_FALSE(value.TextValue());
  value = Long;
  EXPECT_EQ(value.IntValue(), nullptr);
  EXPECT_EQ(TextOf(value), Long);
  value = 1.5;
  EXPECT_FALSE(value.TextValue());
  ASSERT_NE(value.DoubleValue(), nullptr);
  EXPECT_EQ(*value.DoubleValue(), 1.5);
  value = PropValue();
  EXPECT_TRUE(value.IsEmpty());
  EXPECT_EQ(TextOf(PropValue(std::string())), "");
}

// Copies must not share a long text's room: changing or dropping one leaves the other whole.
TEST(PropValueTest, CopiesAndMovesKeepTheirOwnText) {
  for (const std::string& text : {Short, Edge, Long}) {
    auto original = std::make_unique<PropValue>(text);
    PropValue copy(*original);
    PropValue assigned = 7;
    assigned = *original;
    original->SetText("x");
    EXPECT_EQ(TextOf(copy), text);
    EXPECT_EQ(TextOf(assigned), text);
    original.reset();
    EXPECT_EQ(TextOf(copy), text);

    PropValue moved(std::move(copy));
    EXPECT_EQ(TextOf(moved), text);
    PropValue target = Long + Long;
    target = std::move(moved);
    EXPECT_EQ(TextOf(target), text);
    PropValue& self = target;
    target = self;
    EXPECT_EQ(TextOf(target), text);
  }
}

// A value may be given a piece of its own text, from room it gives up or reuses.
TEST(PropValueTest, TakesAPartOfItsOwnText) {
  PropValue value(Long);
  value.SetText(value.TextValue()->substr(1, 15));  // long to short: its room is freed
  EXPECT_EQ(TextOf(value), Long.substr(1, 15));
  value.SetText(value.TextValue()->substr(2));  // short, in place, moved down
  EXPECT_EQ(TextOf(value), Long.substr(3, 13));
  value = Long + Long;
  value.SetText(value.TextValue()->substr(5, Long.size()));  // long within its own room
  EXPECT_EQ(TextOf(value), (Long + Long).substr(5, Long.size()));
  value.SetText(Long + Long + Long);  // longer than its room: new room
  EXPECT_EQ(TextOf(value), Long + Long + Long);
}

// Short texts are copied in overlapping pieces: every length up to the room held in place,
// from elsewhere and from the value's own text shifted by one, must come out whole.
TEST(PropValueTest, EveryShortLengthIsCopiedWhole) {
  const std::string alphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (std::size_t length = 0; length <= PropValue::InlineRoom; ++length) {
    PropValue value(std::string(PropValue::InlineRoom, '-'));
    value.SetText(std::string_view(alphabet).substr(0, length));
    EXPECT_EQ(TextOf(value), alphabet.substr(0, length)) << length;
    if (length == 0) continue;
    value.SetText(value.TextValue()->substr(1));
    EXPECT_EQ(TextOf(value), alphabet.substr(1, length - 1)) << length;
  }
}

TEST(PropValueTest, EqualOnlyForTheSameKindAndValue) {
  const std::string long_text(PropValue::InlineRoom + 5, 'x');
  EXPECT_EQ(PropValue(), PropValue());
  EXPECT_EQ(PropValue(7), PropValue(7));
  EXPECT_EQ(PropValue(long_text), PropValue(long_text));
  EXPECT_EQ(PropValue(std::string_view("bold")), PropValue(std::string("bold")));
  EXPECT_FALSE(PropValue(7) == PropValue(8));
  EXPECT_FALSE(PropValue(7) == PropValue(7.0));
  EXPECT_FALSE(PropValue(std::string_view("7")) == PropValue(7));
  EXPECT_FALSE(PropValue() == PropValue(std::string_view()));
  EXPECT_FALSE(PropValue(std::string_view("bold")) == PropValue(std::string_view("bolder")));
  EXPECT_FALSE(PropValue(0.0) == PropValue(-0.0));
}

}  // namespace
}  // namespace tessival::html
