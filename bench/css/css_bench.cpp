// Reads a 1 MiB style sheet and styles 10 000 elements with it; prints MB/s and elements/s
// for our reader and for the reference parser on the same input.
//   build-bench/bench/css/css_bench [sheet-bytes] [elements] [ours|reference]
// With "ours" the reference run is left out; with "reference" only the reference reads the
// sheet (as often as ours does) and nothing is matched: for counting either side's
// instructions under a profiler.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench_document.h"
#include "cpu_clock.h"
#include "html/css_parser.h"
#include "html/style_list.h"
#include "reference_css.h"

using namespace tessival;

namespace {

constexpr int Runs = 5;

double SecondsSince(double start) { return bench::ThreadSeconds() - start; }

void ReadSheet(html::TStyleList& styles, const std::string& sheet) {
  styles.Initialize({});
  html::TStringCharSource source(sheet);
  char ch = ' ';
  html::ParseStyleSheet(styles, ch, source, "");
}

// Opens every element as the tag reader will: inherit from the parent, then combine.
void StyleTree(const bench::BenchElement& element, const html::TProperties& parent,
               const html::TStyleList& styles, long& links) {
  html::TProperties props;
  props.Inherit(parent);
  props.Combine(styles, element.tag, nullptr, "", element.tag == "a" ? "link" : "", element.id,
                element.klass);
  if (props.InLink) ++links;
  for (const auto& child : element.children) StyleTree(child, props, styles, links);
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t bytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1 << 20;
  const int count = argc > 2 ? std::atoi(argv[2]) : 10000;
  const std::string sheet = bench::MakeStyleSheet(bytes);
  const bench::BenchElement document = bench::MakeDocument(count);
  const int elements = bench::CountElements(document);
  const double megabytes = sheet.size() / 1e6;
  const std::string mode = argc > 3 ? argv[3] : "";
  if (mode == "reference") {
    const auto reference = bench::ReadReferenceSheet(sheet, Runs);
    std::printf("reference read %8.1f MB/s  (%.4f s, %zu selectors)\n",
                megabytes / reference.parse_seconds, reference.parse_seconds, reference.selectors);
    return 0;
  }

  double parse = 1e9, match = 1e9;
  long links = 0;
  std::size_t rules = 0;
  for (int run = 0; run < Runs; ++run) {
    html::TStyleList styles;
    auto start = bench::ThreadSeconds();
    ReadSheet(styles, sheet);
    parse = std::min(parse, SecondsSince(start));
    rules = styles.Count();
    html::TProperties root;
    root.CopyDefault(*styles.DefaultProperties());
    links = 0;
    start = bench::ThreadSeconds();
    StyleTree(document, root, styles, links);
    match = std::min(match, SecondsSince(start));
  }
  std::printf("sheet %.2f MB, %d elements\n", megabytes, elements);
  std::printf("tessival  read %8.1f MB/s  (%.4f s, %zu rules)   match %10.0f elements/s (%.4f s)\n",
              megabytes / parse, parse, rules, elements / match, match);

  if (mode == "ours") return 0;
  const auto reference = bench::RunReference(sheet, bench::ToHtml(document), Runs);
  std::printf(
      "reference read %8.1f MB/s  (%.4f s, %zu selectors) match %10.0f elements/s (%.4f s, %d "
      "elements)\n",
      megabytes / reference.parse_seconds, reference.parse_seconds, reference.selectors,
      reference.elements / reference.match_seconds, reference.match_seconds, reference.elements);
  std::printf("ratio     read %.1fx   match %.1fx\n", reference.parse_seconds / parse,
              (elements / match) / (reference.elements / reference.match_seconds));
  return 0;
}
