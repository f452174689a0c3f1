#pragma once
// A large HTML document made of pages such as the query services return: long running
// text, nested layout tables, forms, links and character references.
#include <cstddef>
#include <string>

namespace tessival::bench {

std::string MakeBenchDocument(std::size_t bytes);

}  // namespace tessival::bench
