#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "html/key_index.h"

namespace tessival::html {
namespace {

// The table grows many times over: every key must still find its own value, at the address
// it was given, and no near miss may find one.
TEST(KeyIndexTest, KeysFindTheirValuesThroughGrowth) {
  std::vector<std::string> keys;
  for (int i = 0; i < 3000; ++i)
    keys.push_back(i % 2 ? ".c" + std::to_string(i) : "p" + std::to_string(i));
  TKeyIndex<int> index;
  std::vector<int*> given;
  for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
    int& value = index.FindOrAdd(keys[i]);
    value = i;
    given.push_back(&value);
  }
  for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
    ASSERT_EQ(index.Find(keys[i]), given[i]) << keys[i];
    EXPECT_EQ(*index.Find(keys[i]), i);
    EXPECT_EQ(&index.FindOrAdd(keys[i]), given[i]);
    EXPECT_EQ(index.Find(keys[i] + " "), nullptr);
  }
  EXPECT_EQ(index.Find(""), nullptr);
  index.Clear();
  EXPECT_EQ(index.Find(keys[0]), nullptr);
  EXPECT_EQ(index.FindOrAdd(keys[0]), 0);
}

}  // namespace
}  // namespace tessival::html
