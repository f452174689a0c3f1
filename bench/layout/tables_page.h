#pragma once
// A generated search results page of nested tables: a header bar, a results table whose
// rows hold a bordered entry table with a further table inside, and a side column,
// repeated until the page reaches the size asked for.
#include <cstddef>
#include <string>

namespace tessival::bench {

std::string MakeTablesPage(std::size_t bytes);

}  // namespace tessival::bench
