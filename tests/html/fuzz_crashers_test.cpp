// Every input a fuzzer ever crashed the CSS reader with must now be read cleanly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "html/css_parser.h"
#include "html/css_shorthands.h"
#include "html/style_list.h"

namespace tessival::html {
namespace {

std::vector<std::string> KeptInputs(const std::string& target) {
  std::vector<std::string> inputs;
  const std::filesystem::path dir = std::filesystem::path(TESSIVAL_SOURCE_DIR) / "fuzz/crashes" / target;
  if (!std::filesystem::exists(dir)) return inputs;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream file(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    inputs.push_back(bytes.str());
  }
  return inputs;
}

TEST(FuzzCrashers, SheetInputsAreReadCleanly) {
  for (const std::string& input : KeptInputs("css_sheet")) {
    TStyleList styles;
    styles.Initialize({});
    TStringCharSource source(input);
    char ch = ' ';
    ParseStyleSheet(styles, ch, source, "");
    EXPECT_TRUE(ch == EofChar || ch == '<');
  }
}

TEST(FuzzCrashers, StyleAttributeInputsAreReadCleanly) {
  for (const std::string& input : KeptInputs("css_style_attr")) {
    TProperties props;
    ParseStyleAttribute(input, props);
  }
}

TEST(FuzzCrashers, SlashSplitWordsStayWithinTheLimit) {
  // "1p/x" splits in two; a four-side shorthand must still see at most four words.
  EXPECT_EQ(SplitValueWords("1 2 3 4p/x", 4).size(), 4u);
  TProperties props;
  ParseStyleAttribute("margin: 1px 2px 3px 4p/x", props);
  EXPECT_EQ(*AsString(props.Prop(piMarginLeft)), "4p");
}

}  // namespace
}  // namespace tessival::html
