// The table reader: what goes where, and what the reader is left with when a table ends.
#include "tag_reader_support.h"

namespace tessival::layout::testing {
namespace {

using TableReaderTest = TagReaderTest;

struct TableCase {
  const char* name;
  const char* html;
  const char* outline;
};

TEST_F(TableReaderTest, ReadsCellsAndRestoresTheStateAroundTheTable) {
  const TableCase cases[] = {
      {"stray text goes in front", "<table>before<tr><td>cell</table>after",
       "Body\n  Text []\"before\"\n  TableBlock table\n    Table\n  Text []\"after\"\n"},
      {"a cell's font ends with the table", "<table><tr><td><b>bold</table>after",
       "Body\n  TableBlock table\n    Table\n  Text []\"after\"\n"},
      {"no-wrap ends with its cell", "<table><tr><td nowrap>a b</td></tr></table>c d",
       "Body\n  TableBlock table\n    Table\n  Text []\"c d\"\n"},
      {"a caption below", "<i><table><caption align=bottom>c</caption><tr><td>x</table>z",
       "Body\n  TableBlock table\n    Table\n  Text [i]\"z\"\n"},
      {"a comment open in a cell keeps the table read so far", "a<table><tr><td>kept<!-- open",
       "Body\n  Text []\"a\"\n  TableBlock table\n    Table\n"},
  };
  for (const TableCase& c : cases) EXPECT_EQ(Read(c.html), c.outline) << c.name;
}

}  // namespace
}  // namespace tessival::layout::testing
