#pragma once
// A generated German text page: headings, paragraphs with bold and italic runs, font
// changes, links and character references, as long as asked for.
#include <cstddef>
#include <string>

namespace tessival::bench {

std::string MakeGermanPage(std::size_t bytes);

}  // namespace tessival::bench
