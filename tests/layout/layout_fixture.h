#pragma once
// Builds documents through the building API, the way the tag reader does, lays them out on
// the deterministic test canvas and compares their dumps with expected files.
//
// The test canvas gives a 12-point (16-pixel) font ascent 12, descent 4 and 8 pixels per
// character (9 bold), so expected positions can be worked out by hand.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "html/css_parser.h"
#include "html/properties.h"
#include "html/style_list.h"
#include "html/token_obj.h"
#include "html/url_target.h"
#include "layout/block.h"
#include "layout/layout_dump.h"
#include "layout/section_list.h"
#include "layout/text_section.h"
#include "platform/message_box.h"
#include "platform/test_canvas.h"

namespace tessival::layout::testing {

struct Element {
  std::string tag;
  std::string style = {};
  std::string klass = {};
  std::string pseudo = {};
  std::string title = {};
};

class RecordingMessageBoxes : public platform::MessageBoxes {
 public:
  void ShowError(const std::string& message) override { Shown.push_back(message); }
  std::vector<std::string> Shown;
};

// Compares `actual` with tests/layout/expected/<name>.txt; with TESSIVAL_UPDATE_EXPECTED=1
// in the environment the file is written instead.
void ExpectMatchesFile(const std::string& name, const std::string& actual);

// A page of the dump tests: its name, the width it is laid out at, its HTML.
struct Page {
  const char* name;
  int width;
  const char* html;
};

// The page read by the tag reader and laid out on the test canvas: its dump, then its
// height and widest content.
std::string DumpOfPage(const Page& page);

// A document under construction, with the element stack and the open cells.
class DocumentBuilder {
 public:
  DocumentBuilder();
  DocumentBuilder(const DocumentBuilder&) = delete;
  DocumentBuilder& operator=(const DocumentBuilder&) = delete;

  // --- the element stack --------------------------------------------------------------
  html::TProperties& Push(const Element& element);
  void Pop();
  const html::TProperties& Top() const { return *Stack.back(); }

  // --- building -------------------------------------------------------------------------
  // A block for the element, in the current cell; its content becomes the current cell.
  TBlock& OpenBlock(const Element& element);
  void CloseBlock();
  // A text section in the current cell (closing a pending one first).
  TSection& OpenText(bool startsParagraph = true);
  TSection& Section();  // the pending section, opened when there is none
  // Adds the pending section to its cell (it may be dropped there).
  TSectionBase* CloseText();
  void Text(std::string_view text, BreakRule rule = BreakRule::Allowed);
  void Char(char ch);
  // An inline element around the following text.
  void OpenInline(const Element& element, TVShift shift = TVShift::vsNone);
  void CloseInline();
  void OpenLink(const std::string& href);
  void CloseLink();
  // A paragraph of one text: the commonest case.
  TBlock& Paragraph(std::string_view text, const std::string& style = {});
  void Sheet(std::string_view css);

  // --- passes ---------------------------------------------------------------------------
  int Layout(int width);
  std::string Dump() { return DumpLayout(Doc, &Canvas); }
  void Paint(int yOffset = 0);

  RecordingMessageBoxes Messages;
  TSectionList Doc{&Messages};
  platform::TestCanvas Canvas{400, 300};
  std::vector<std::unique_ptr<html::TProperties>> Stack;
  std::vector<std::unique_ptr<html::TProperties>> StyleAttributes;
  std::vector<TCellBasic*> Cells;
  TBodyBlock* Body = nullptr;
  std::unique_ptr<TSection> Pending;
  html::TUrlTarget Link;
  int SourcePos = 0;
  int MaxWidth = 0;
};

class LayoutFixture : public ::testing::Test, public DocumentBuilder {};

}  // namespace tessival::layout::testing
