#pragma once
// Generated pages of the box model: nested blocks with borders and padding, floated side
// boxes, nested lists, quotations, rules and code listings; and deep nests.
#include <cstddef>
#include <string>

namespace tessival::bench {

std::string MakeBlocksPage(std::size_t bytes);
// `depth` DIVs inside each other, or `depth` lists each inside an item of the one before.
std::string MakeNestedDivs(int depth);
std::string MakeNestedLists(int depth);

}  // namespace tessival::bench
