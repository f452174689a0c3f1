#pragma once
// Reading HTML into a document for the tag reader tests, and an outline of what was built:
// one line per block and text section, indented by depth; a text section lists its font
// runs as [looks]"text", where looks are b, i, u, s, the size in points when it is not 12,
// sub/sup, a colour other than black, and the link's address; a space that may not break
// shows as "~" and a line break as "\n".
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "layout/block.h"
#include "layout/section_list.h"
#include "layout/text_section.h"
#include "platform/test_canvas.h"
#include "reader/tag_reader.h"

namespace tessival::layout::testing {

// The screen's fonts and resolution as the tests expect them (kept in its own file: the
// screen-font header and the canvas header cannot be included together).
void UseTestScreenFonts();

class TagReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseTestScreenFonts();
    MakeDocument();
  }

  void MakeDocument() {
    Doc = std::make_unique<TSectionList>();
    Doc->SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
  }

  // Reads `html` into a fresh document and returns its outline.
  std::string Read(std::string_view html, const TReaderHandlers& handlers = {}) {
    MakeDocument();
    Head = ParseDocument(html, *Doc, {}, handlers);
    return Outline();
  }

  std::string Outline() const {
    std::string out;
    OutlineCell(out, *Doc, 0);
    return out;
  }

  // Lays the document out on the test canvas; returns its height.
  int LayOut(int width = 400) {
    platform::TestCanvas canvas(width, 100);
    int pos = 0;
    int maxWidth = 0;
    return Doc->Layout(canvas, 0, pos, maxWidth, 600, width);
  }

  // The text sections in document order.
  std::vector<const TSection*> TextSections() const {
    std::vector<const TSection*> found;
    CollectText(*Doc, found);
    return found;
  }

  std::unique_ptr<TSectionList> Doc;
  TDocumentHead Head;

 private:
  static void CollectText(const TCellBasic& cell, std::vector<const TSection*>& found) {
    for (const auto& item : cell.Items()) {
      if (const auto* text = dynamic_cast<const TSection*>(item.get())) found.push_back(text);
      else if (const TCellBasic* child = item->ChildCell()) CollectText(*child, found);
    }
  }

  static std::string Looks(const TFontObj& run) {
    std::string looks;
    const auto add = [&](const std::string& part) {
      if (!looks.empty()) looks += ' ';
      looks += part;
    };
    if (run.Font.Style & html::fsBold) add("b");
    if (run.Font.Style & html::fsItalic) add("i");
    if (run.Font.Style & html::fsUnderline) add("u");
    if (run.Font.Style & html::fsStrikeOut) add("s");
    if (run.Font.Size != 12) add(std::to_string(run.Font.Size) + "pt");
    if (run.VShift == TVShift::vsLowered) add("sub");
    if (run.VShift == TVShift::vsRaised) add("sup");
    if (run.IsLinkRun()) {
      add("link=" + run.UrlTarget.Url());
    } else if ((run.Font.Color & 0xFFFFFF) != 0) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "#%06X", static_cast<unsigned>(run.Font.Color & 0xFFFFFF));
      add(hex);
    }
    return looks;
  }

  static void OutlineText(std::string& out, const TSection& section) {
    out += "Text";
    if (section.TextAlign == taCenter) out += " (center)";
    if (section.TextAlign == taRight) out += " (right)";
    if (section.TextAlign == taJustify) out += " (justify)";
    const std::string& text = section.Text();
    const std::string& breaks = section.Breaks();
    const TFontList& runs = section.Fonts();
    std::string lastLooks = "none";
    for (int i = 0; i < runs.Count(); ++i) {
      const int start = runs[i].Pos;
      const int end = i + 1 < runs.Count() ? runs[i + 1].Pos : static_cast<int>(text.size());
      if (end <= start) continue;
      // Runs that look alike are shown as one.
      const std::string looks = Looks(runs[i]);
      if (looks == lastLooks) out.pop_back();
      else out += " [" + looks + "]\"";
      lastLooks = looks;
      for (int k = start; k < end; ++k) {
        const char ch = text[static_cast<std::size_t>(k)];
        if (ch == LineBreakChar) out += "\\n";
        else if (ch == ' ' && breaks[static_cast<std::size_t>(k)] == BreakNever) out += '~';
        else out += ch;
      }
      out += '"';
    }
  }

  static void OutlineCell(std::string& out, const TCellBasic& cell, int depth) {
    for (const auto& item : cell.Items()) {
      out.append(2 * static_cast<std::size_t>(depth), ' ');
      if (const auto* text = dynamic_cast<const TSection*>(item.get())) {
        OutlineText(out, *text);
        out += '\n';
        continue;
      }
      out += item->KindName();
      if (const auto* block = dynamic_cast<const TBlock*>(item.get())) {
        if (!dynamic_cast<const TBodyBlock*>(block)) (out += ' ') += block->TagName;
      }
      out += '\n';
      if (const TCellBasic* child = item->ChildCell()) OutlineCell(out, *child, depth + 1);
    }
  }
};

}  // namespace tessival::layout::testing
