// Tokenizer throughput on a 10 MiB document, beside the reference reader's whole-document
// parse (which also builds a tree) and its event-only parse (which builds none).
//   build-bench/bench/tokenizer/tokenizer_bench [runs]
#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "bench_document.h"
#include "html/html_tokenizer.h"

namespace {

// The processor time of this thread: the machine is shared, and wall-clock time would
// measure the neighbours as well.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double TimeOnce(const std::function<void()>& work) {
  const double start = ThreadSeconds();
  work();
  return ThreadSeconds() - start;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::size_t Tokenize(const std::string& html) {
  tessival::html::THtmlTokenizer reader;
  reader.Reset(html);
  reader.ReadChar();
  std::size_t tokens = 0;
  do {
    reader.ReadToken();
    ++tokens;
  } while (reader.Sy() != tessival::html::EofToken);
  return tokens;
}

void ReferenceTree(const std::string& html) {
  htmlDocPtr doc = htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "windows-1252",
                                  HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
  xmlFreeDoc(doc);
}

void CountElement(void* count, const xmlChar*, const xmlChar**) { ++*static_cast<std::size_t*>(count); }

void IgnoreCharacters(void*, const xmlChar*, int) {}

// Element count of the event-only parse, so a run that stopped early would show.
std::size_t ReferenceEvents(const std::string& html) {
  htmlSAXHandler sax;
  std::memset(&sax, 0, sizeof sax);
  sax.startElement = CountElement;
  sax.characters = IgnoreCharacters;
  std::size_t elements = 0;
  htmlParserCtxtPtr ctxt = htmlCreateMemoryParserCtxt(html.data(), static_cast<int>(html.size()));
  std::memcpy(ctxt->sax, &sax, sizeof sax);
  ctxt->userData = &elements;
  htmlCtxtUseOptions(ctxt, HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
  htmlParseDocument(ctxt);
  htmlFreeParserCtxt(ctxt);
  return elements;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  constexpr std::size_t kBytes = 10 * 1024 * 1024;
  const std::string html = tessival::bench::MakeBenchDocument(kBytes);
  xmlInitParser();

  std::printf("document: %zu bytes, %zu tokens, %zu elements; median of %d runs\n", html.size(),
              Tokenize(html), ReferenceEvents(html), runs);
  // The three readers take turns in every round, so a busy neighbour slows all of them
  // alike; the ratios are medians of the per-round ratios.
  std::vector<double> ours, tree, events, treeRatio, eventsRatio;
  const double megabytes = static_cast<double>(html.size()) / 1e6;
  for (int round = 0; round < runs; ++round) {
    const double a = TimeOnce([&] { Tokenize(html); });
    const double b = TimeOnce([&] { ReferenceTree(html); });
    const double c = TimeOnce([&] { ReferenceEvents(html); });
    ours.push_back(megabytes / a);
    tree.push_back(megabytes / b);
    events.push_back(megabytes / c);
    treeRatio.push_back(b / a);
    eventsRatio.push_back(c / a);
  }
  std::printf("%-44s %8.1f MB/s\n", "THtmlTokenizer (ReadToken to the end)", Median(ours));
  std::printf("%-44s %8.1f MB/s  (ours %.2fx)\n", "libxml2 htmlReadMemory (builds a tree)", Median(tree),
              Median(treeRatio));
  std::printf("%-44s %8.1f MB/s  (ours %.2fx)\n", "libxml2 SAX parse, element events only",
              Median(events), Median(eventsRatio));
  xmlCleanupParser();
  return 0;
}
