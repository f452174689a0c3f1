#include "reference_css.h"

#include <litehtml/litehtml.h>

#include <algorithm>

#include "cpu_clock.h"

namespace tessival::bench {

namespace {

// The reference engine wants a host for fonts, images and drawing; the benchmark only reads
// style sheets and matches selectors, so every operation does nothing.
class NullContainer final : public litehtml::document_container {
 public:
  litehtml::uint_ptr create_font(const litehtml::tchar_t*, int size, int, litehtml::font_style,
                                 unsigned int, litehtml::font_metrics* fm) override {
    if (fm) {
      fm->height = size;
      fm->ascent = size * 4 / 5;
      fm->descent = size / 5;
      fm->x_height = size / 2;
    }
    return 1;
  }
  void delete_font(litehtml::uint_ptr) override {}
  int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr) override {
    return static_cast<int>(std::char_traits<char>::length(text)) * 8;
  }
  void draw_text(litehtml::uint_ptr, const litehtml::tchar_t*, litehtml::uint_ptr, litehtml::web_color,
                 const litehtml::position&) override {}
  int pt_to_px(int pt) const override { return pt * 96 / 72; }
  int get_default_font_size() const override { return 16; }
  const litehtml::tchar_t* get_default_font_name() const override { return "serif"; }
  void draw_list_marker(litehtml::uint_ptr, const litehtml::list_marker&) override {}
  void load_image(const litehtml::tchar_t*, const litehtml::tchar_t*, bool) override {}
  void get_image_size(const litehtml::tchar_t*, const litehtml::tchar_t*, litehtml::size& sz) override {
    sz.width = 0;
    sz.height = 0;
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
  void get_client_rect(litehtml::position& client) const override { client = {0, 0, 800, 600}; }
  std::shared_ptr<litehtml::element> create_element(
      const litehtml::tchar_t*, const litehtml::string_map&,
      const std::shared_ptr<litehtml::document>&) override {
    return nullptr;
  }
  void get_media_features(litehtml::media_features& media) const override {
    media = {};
    media.type = litehtml::media_type_screen;
    media.width = media.device_width = 800;
    media.height = media.device_height = 600;
    media.color = 8;
    media.resolution = 96;
  }
  void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override {
    language = "de";
    culture = "";
  }
};

double SecondsSince(double start) { return ThreadSeconds() - start; }

void Match(const litehtml::element::ptr& element, const litehtml::css& css, ReferenceTimes& times) {
  if (!element) return;
  const litehtml::tchar_t* tag = element->get_tagName();
  if (tag && *tag) {
    ++times.elements;
    for (const auto& selector : css.selectors()) {
      if (element->select(*selector) != litehtml::select_no_match) ++times.matches;
    }
  }
  for (std::size_t i = 0; i < element->get_children_count(); ++i) {
    Match(element->get_child(static_cast<int>(i)), css, times);
  }
}

// Reads the sheet `runs` times into `css` (left holding the last reading); the best time.
void ReadSheet(const std::string& sheet, const litehtml::document::ptr& document, int runs,
               litehtml::css& css, ReferenceTimes& times) {
  times.parse_seconds = 1e9;
  for (int run = 0; run < runs; ++run) {
    css.clear();
    const auto start = ThreadSeconds();
    css.parse_stylesheet(sheet.c_str(), "", document, nullptr);
    css.sort_selectors();
    times.parse_seconds = std::min(times.parse_seconds, SecondsSince(start));
  }
  times.selectors = css.selectors().size();
}

}  // namespace

ReferenceTimes ReadReferenceSheet(const std::string& sheet, int runs) {
  NullContainer container;
  litehtml::context context;
  const auto document = litehtml::document::createFromString("<html></html>", &container, &context);
  ReferenceTimes times;
  litehtml::css css;
  ReadSheet(sheet, document, runs, css, times);
  return times;
}

ReferenceTimes RunReference(const std::string& sheet, const std::string& html, int parseRuns) {
  NullContainer container;
  litehtml::context context;
  const auto document = litehtml::document::createFromString(html.c_str(), &container, &context);
  ReferenceTimes times;
  litehtml::css css;
  ReadSheet(sheet, document, parseRuns, css, times);
  const auto start = ThreadSeconds();
  Match(document->root(), css, times);
  times.match_seconds = SecondsSince(start);
  return times;
}

}  // namespace tessival::bench
