// Page character sets at their edges: the first byte of a converted table, and the last
// byte the META search looks at.
#include <gtest/gtest.h>

#include <string>

#include "html/page_charset.h"

namespace tessival::html {
namespace {

TEST(PinnedPageCharsets, TheTableStartsAtByte80) {
  // Windows-1251: 0x80 is Ђ (U+0402), 0x81 Ѓ (U+0403), 0xFF я (U+044F).
  EXPECT_EQ(ConvertToEngineText("\x80\x81\xFF", PageCharset::kWindows1251), "&#x402;&#x403;&#x44F;");
}

TEST(PinnedPageCharsets, AMetaIsUsedOnlyWhenItsValueEndsWithinTheFirst1024Bytes) {
  const std::string meta = "<meta charset=windows-1250";
  for (const std::size_t end : {std::size_t{1023}, kMetaSearchLength, kMetaSearchLength + 1}) {
    SCOPED_TRACE(end);
    const std::string page = std::string(end - meta.size(), ' ') + meta + ">";
    EXPECT_EQ(DeclaredMetaCharset(page).has_value(), end <= kMetaSearchLength);
  }
}

}  // namespace
}  // namespace tessival::html
