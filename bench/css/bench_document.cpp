#include "bench_document.h"

#include <array>
#include <cstdint>
#include <functional>

namespace tessival::bench {

namespace {

// A small linear congruential generator: the same sequence everywhere.
class Random {
 public:
  std::uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[Below(N)];
  }

 private:
  std::uint32_t state_ = 20261207u;
};

constexpr std::array<const char*, 12> Tags = {"div", "p", "span", "a",     "ul", "li",
                                              "h2",  "b", "em",   "table", "td", "code"};
constexpr int Classes = 200;
constexpr int Ids = 400;

std::string ClassName(Random& r) { return "c" + std::to_string(r.Below(Classes)); }
std::string IdName(Random& r) { return "i" + std::to_string(r.Below(Ids)); }

std::string SimpleSelector(Random& r) {
  std::string s;
  switch (r.Below(6)) {
    case 0: s = r.Pick(Tags); break;
    case 1: s = "." + ClassName(r); break;
    case 2: s = std::string(r.Pick(Tags)) + "." + ClassName(r); break;
    case 3: s = "#" + IdName(r); break;
    case 4: s = "a:hover"; break;
    default: s = std::string(r.Pick(Tags)) + " " + r.Pick(Tags); break;
  }
  return s;
}

std::string Declarations(Random& r) {
  // The table keeps its hand-made columns.
  // clang-format off
  static constexpr std::array<const char*, 14> declarations = {
      "color: #336699", "margin: 0 10px", "padding: 2px 4px 6px", "font-size: 1.2em",
      "font: italic bold 12pt/14pt \"Times New Roman\", serif", "background: #fff url(img/bg.gif) no-repeat center top",
      "border: 1px solid #ccc", "text-align: center", "line-height: 1.4", "list-style: square",
      "font-weight: bold", "text-decoration: underline", "width: 50%", "color: rgb(10, 20, 30)"};
  std::string text;
  const int count = 2 + r.Below(4);
  for (int i = 0; i < count; ++i) text += std::string("  ") + r.Pick(declarations) + ";\n";
  return text;
}

}  // namespace

std::string MakeStyleSheet(std::size_t bytes) {
  Random r;
  std::string sheet;
  sheet.reserve(bytes + 512);
  while (sheet.size() < bytes) {
    sheet += SimpleSelector(r);
    if (r.Below(3) == 0) sheet += ", " + SimpleSelector(r);
    sheet += " {\n" + Declarations(r) + "}\n";
    if (r.Below(20) == 0) sheet += "/* section */\n";
  }
  return sheet;
}

BenchElement MakeDocument(int elements) {
  Random r;
  BenchElement root{"body", "", "", {}};
  int made = 1;
  // Sections of nested blocks, lists and inline runs, as pages are built.
  while (made < elements) {
    BenchElement section{"div", ClassName(r), IdName(r), {}};
    ++made;
    for (int block = 0; block < 6 && made < elements; ++block) {
      const bool list = r.Below(3) == 0;
      BenchElement container{list ? "ul" : "p", r.Below(2) ? ClassName(r) : std::string(), "", {}};
      ++made;
      for (int item = 0; item < 4 && made < elements; ++item) {
        BenchElement child{list ? "li" : r.Pick(Tags), ClassName(r), "", {}};
        ++made;
        if (made < elements) {
          child.children.push_back({r.Below(2) ? "a" : "span", ClassName(r), "", {}});
          ++made;
        }
        container.children.push_back(std::move(child));
      }
      section.children.push_back(std::move(container));
    }
    root.children.push_back(std::move(section));
  }
  return root;
}

std::string ToHtml(const BenchElement& root) {
  std::string html;
  std::function<void(const BenchElement&)> write = [&](const BenchElement& e) {
    html += "<" + e.tag;
    if (!e.klass.empty()) html += " class=\"" + e.klass + "\"";
    if (!e.id.empty()) html += " id=\"" + e.id + "\"";
    if (e.tag == "a") html += " href=\"x.html\"";
    html += ">";
    for (const auto& child : e.children) write(child);
    html += "x</" + e.tag + ">";
  };
  // clang-format on
  html += "<html><head></head>";
  write(root);
  html += "</html>";
  return html;
}

int CountElements(const BenchElement& root) {
  int count = 1;
  for (const auto& child : root.children) count += CountElements(child);
  return count;
}

}  // namespace tessival::bench
