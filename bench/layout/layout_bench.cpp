// Parse and lay out a generated German text page, ours beside the reference engine, both
// measuring text with the same fixed metrics (advance = half the font's pixel height, the
// height as the line height), and re-lay the parsed page out at a second width.
//   layout_bench [KILOBYTES...]            (default: 100 1024 8192)
//   layout_bench --blocks [KILOBYTES...]   a page of nested blocks, lists, floats, rules and
//                                          code (default 1024), then 1000 nested DIVs and
//                                          1000 nested lists
//   layout_bench --tables [KILOBYTES...]   a search results page of nested tables
//                                          (default 100 1024 4096)
// Reports processor time of this thread (best of three) and the heap held by the laid-out
// document, and the ratios ours / reference.
#include <litehtml/litehtml.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cpu_clock.h"
#include "blocks_page.h"
#include "german_page.h"
#include "tables_page.h"
#include "layout/section_list.h"
#include "platform/test_canvas.h"
#include "reader/tag_reader.h"

using namespace tessival;

namespace {

constexpr int FirstWidth = 1024;
constexpr int SecondWidth = 768;
constexpr int Runs = 3;

// The reference engine's default styles for what the page uses.
constexpr const char* ReferenceMasterSheet =
    "html, body, p, h2, div { display: block } head, title, script, style { display: none }"
    "body { margin: 8px } p { margin: 1em 0 } h2 { font-size: 1.5em; font-weight: bold; margin: .83em 0 "
    "}"
    "b, strong { font-weight: bold } i, em { font-style: italic }"
    "a { color: #0000cc; text-decoration: underline }";

// For the blocks page: the boxes, lists and code the reference needs told.
constexpr const char* ReferenceBlocksSheet =
    "ul, ol { display: block; margin: 1em 0; padding-left: 40px } li { display: list-item }"
    "ul { list-style-type: disc } ol { list-style-type: decimal }"
    "blockquote { display: block; margin: 1em 40px } address { display: block; font-style: italic }"
    "pre { display: block; white-space: pre; margin: 1em 0 } hr { display: block; margin: .5em 0;"
    "border: 1px inset }";

// For the tables page: tables, rows and cells, and the inline elements it uses.
constexpr const char* ReferenceTablesSheet =
    "table { display: table; border-collapse: separate } tr { display: table-row }"
    "td, th { display: table-cell; vertical-align: middle; padding: 1px } th { font-weight: bold }"
    "caption { display: table-caption } center { display: block; text-align: center }"
    "font { display: inline } br { display: block }";

std::string ReferenceSheet = ReferenceMasterSheet;

std::size_t HeapInUse() { return mallinfo2().uordblks; }

struct Figures {
  double ParseAndLayout = 1e9;  // seconds, best run
  double Relayout = 1e9;
  std::size_t HeldBytes = 0;
  int Height = 0;
};

class FixedMetricsContainer final : public litehtml::document_container {
 public:
  litehtml::uint_ptr create_font(const litehtml::tchar_t*, int size, int, litehtml::font_style,
                                 unsigned int, litehtml::font_metrics* fm) override {
    if (fm) {
      fm->height = size;
      fm->descent = size / 4;
      fm->ascent = size - size / 4;
      fm->x_height = size / 2;
    }
    return static_cast<litehtml::uint_ptr>(std::max(1, size / 2));
  }
  void delete_font(litehtml::uint_ptr) override {}
  int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr font) override {
    return static_cast<int>(std::char_traits<char>::length(text) * font);
  }
  void draw_text(litehtml::uint_ptr, const litehtml::tchar_t*, litehtml::uint_ptr, litehtml::web_color,
                 const litehtml::position&) override {}
  int pt_to_px(int pt) const override { return pt * 96 / 72; }
  int get_default_font_size() const override { return 16; }
  const litehtml::tchar_t* get_default_font_name() const override { return "serif"; }
  void draw_list_marker(litehtml::uint_ptr, const litehtml::list_marker&) override {}
  void load_image(const litehtml::tchar_t*, const litehtml::tchar_t*, bool) override {}
  void get_image_size(const litehtml::tchar_t*, const litehtml::tchar_t*, litehtml::size& sz) override {
    sz.width = sz.height = 0;
  }
  void draw_background(litehtml::uint_ptr, const litehtml::background_paint&) override {}
  void draw_borders(litehtml::uint_ptr, const litehtml::borders&, const litehtml::position&,
                    bool) override {}
  void set_caption(const litehtml::tchar_t*) override {}
  void set_base_url(const litehtml::tchar_t*) override {}
  void link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) override {}
  void on_anchor_click(const litehtml::tchar_t*, const litehtml::element::ptr&) override {}
  void set_cursor(const litehtml::tchar_t*) override {}
  void transform_text(litehtml::tstring&, litehtml::text_transform) override {}
  void import_css(litehtml::tstring&, const litehtml::tstring&, litehtml::tstring&) override {}
  void set_clip(const litehtml::position&, const litehtml::border_radiuses&, bool, bool) override {}
  void del_clip() override {}
  void get_client_rect(litehtml::position& client) const override { client = {0, 0, FirstWidth, 768}; }
  std::shared_ptr<litehtml::element> create_element(
      const litehtml::tchar_t*, const litehtml::string_map&,
      const std::shared_ptr<litehtml::document>&) override {
    return nullptr;
  }
  void get_media_features(litehtml::media_features& media) const override {
    media = {};
    media.type = litehtml::media_type_screen;
    media.width = media.device_width = FirstWidth;
    media.height = media.device_height = 768;
    media.color = 8;
    media.resolution = 96;
  }
  void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override {
    language = "de";
    culture = "";
  }
};

int LayOutOurs(layout::TSectionList& doc, platform::Canvas& canvas, int width) {
  int pos = 0;
  int maxWidth = 0;
  return doc.Layout(canvas, 0, pos, maxWidth, 768, width);
}

Figures MeasureOurs(const std::string& page) {
  Figures figures;
  platform::TestCanvas canvas(16, 16);
  for (int run = 0; run < Runs; ++run) {
    const std::size_t heapBefore = HeapInUse();
    double start = bench::ThreadSeconds();
    auto doc = std::make_unique<layout::TSectionList>();
    doc->SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
    layout::ParseDocument(page, *doc);
    figures.Height = LayOutOurs(*doc, canvas, FirstWidth);
    figures.ParseAndLayout = std::min(figures.ParseAndLayout, bench::ThreadSeconds() - start);
    figures.HeldBytes = HeapInUse() - heapBefore;
    start = bench::ThreadSeconds();
    LayOutOurs(*doc, canvas, SecondWidth);
    figures.Relayout = std::min(figures.Relayout, bench::ThreadSeconds() - start);
  }
  return figures;
}

Figures MeasureReference(const std::string& page) {
  Figures figures;
  FixedMetricsContainer container;
  for (int run = 0; run < Runs; ++run) {
    const std::size_t heapBefore = HeapInUse();
    double start = bench::ThreadSeconds();
    auto context = std::make_unique<litehtml::context>();
    context->load_master_stylesheet(ReferenceSheet.c_str());
    auto document = litehtml::document::createFromString(page.c_str(), &container, context.get());
    document->render(FirstWidth);
    figures.Height = document->height();
    figures.ParseAndLayout = std::min(figures.ParseAndLayout, bench::ThreadSeconds() - start);
    figures.HeldBytes = HeapInUse() - heapBefore;
    start = bench::ThreadSeconds();
    document->render(SecondWidth);
    figures.Relayout = std::min(figures.Relayout, bench::ThreadSeconds() - start);
  }
  return figures;
}

void PrintRow(const char* name, const Figures& ours, const Figures& ref) {
  const double oursMb = static_cast<double>(ours.HeldBytes) / (1 << 20);
  const double refMb = static_cast<double>(ref.HeldBytes) / (1 << 20);
  std::printf("%8s | %8.4f %8.4f %8.3f | %8.4f %8.4f %8.3f | %8.2f %8.2f %8.3f\n", name,
              ours.ParseAndLayout, ref.ParseAndLayout, ours.ParseAndLayout / ref.ParseAndLayout,
              ours.Relayout, ref.Relayout, ours.Relayout / ref.Relayout, oursMb, refMb, oursMb / refMb);
  std::printf("         | heights: ours %d px, reference %d px\n", ours.Height, ref.Height);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const bool blocks = argc > 1 && std::string(argv[1]) == "--blocks";
  const bool tables = argc > 1 && std::string(argv[1]) == "--tables";
  const int firstSize = blocks || tables ? 2 : 1;
  std::vector<std::size_t> sizesKb = blocks   ? std::vector<std::size_t>{1024}
                                     : tables ? std::vector<std::size_t>{100, 1024, 4096}
                                              : std::vector<std::size_t>{100, 1024, 8192};
  if (argc > firstSize) {
    sizesKb.clear();
    for (int i = firstSize; i < argc; ++i) sizesKb.push_back(std::strtoul(argv[i], nullptr, 10));
  }
  if (blocks) ReferenceSheet += ReferenceBlocksSheet;
  if (tables) ReferenceSheet += ReferenceTablesSheet;
  std::printf("%8s | %26s | %26s | %26s\n", "page", "parse+layout 1024 px (s)", "re-layout 768 px (s)",
              "held by document (MB)");
  std::printf("%8s | %8s %8s %8s | %8s %8s %8s | %8s %8s %8s\n", "", "ours", "ref", "ratio", "ours",
              "ref", "ratio", "ours", "ref", "ratio");
  for (const std::size_t kb : sizesKb) {
    const std::string page = blocks   ? bench::MakeBlocksPage(kb * 1024)
                             : tables ? bench::MakeTablesPage(kb * 1024)
                                      : bench::MakeGermanPage(kb * 1024);
    const Figures ours = MeasureOurs(page);
    const Figures ref = MeasureReference(page);
    const double oursMb = static_cast<double>(ours.HeldBytes) / (1 << 20);
    const double refMb = static_cast<double>(ref.HeldBytes) / (1 << 20);
    std::printf("%6zuKB | %8.4f %8.4f %8.3f | %8.4f %8.4f %8.3f | %8.2f %8.2f %8.3f\n", kb,
                ours.ParseAndLayout, ref.ParseAndLayout, ours.ParseAndLayout / ref.ParseAndLayout,
                ours.Relayout, ref.Relayout, ours.Relayout / ref.Relayout, oursMb, refMb,
                oursMb / refMb);
    std::printf("         | heights: ours %d px, reference %d px\n", ours.Height, ref.Height);
    std::fflush(stdout);
  }
  if (blocks) {
    for (const int depth : {250, 500, 1000}) {
      const std::string divs = bench::MakeNestedDivs(depth);
      const std::string lists = bench::MakeNestedLists(depth);
      PrintRow(("div" + std::to_string(depth)).c_str(), MeasureOurs(divs), MeasureReference(divs));
      PrintRow(("ul" + std::to_string(depth)).c_str(), MeasureOurs(lists), MeasureReference(lists));
    }
  }
  return 0;
}
