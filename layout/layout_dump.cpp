#include "layout/layout_dump.h"

#include "layout/section_list.h"

namespace tessival::layout {

std::string DumpCell(const TCellBasic&, int) { return {}; }
std::string DumpLayout(const TSectionList& document) { return DumpCell(document, 0); }

}  // namespace tessival::layout
