#pragma once
// The benchmark's input: a style sheet of about 1 MiB and a document tree of 10 000
// elements, made from a fixed seed so every run and both parsers see the same bytes.
#include <string>
#include <vector>

namespace tessival::bench {

struct BenchElement {
  std::string tag, klass, id;
  std::vector<BenchElement> children;
};

std::string MakeStyleSheet(std::size_t bytes);
BenchElement MakeDocument(int elements);
std::string ToHtml(const BenchElement& root);
int CountElements(const BenchElement& root);

}  // namespace tessival::bench
