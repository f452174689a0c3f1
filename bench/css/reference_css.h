#pragma once
// The reference parser's side of the benchmark, kept apart so its headers stay here.
#include <string>

namespace tessival::bench {

struct ReferenceTimes {
  double parse_seconds = 0;  // best run
  double match_seconds = 0;
  long matches = 0;
  std::size_t selectors = 0;
  int elements = 0;
};

// Only reads the sheet (parse_stylesheet + sort_selectors), `runs` times; no matching.
ReferenceTimes ReadReferenceSheet(const std::string& sheet, int runs);

ReferenceTimes RunReference(const std::string& sheet, const std::string& html, int parseRuns);

}  // namespace tessival::bench
