#include "layout_fixture.h"

#include "reader/tag_reader.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tessival::layout::testing {

void ExpectMatchesFile(const std::string& name, const std::string& actual) {
  const std::string path = std::string(TESSIVAL_SOURCE_DIR) + "/tests/layout/expected/" + name + ".txt";
  const char* update = std::getenv("TESSIVAL_UPDATE_EXPECTED");
  if (update && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << "no expected file " << path
                    << " (run with TESSIVAL_UPDATE_EXPECTED=1 to write it)\n"
                    << actual;
  std::ostringstream expected;
  expected << file.rdbuf();
  EXPECT_EQ(actual, expected.str()) << "dump differs from " << path;
}

std::string DumpOfPage(const Page& page) {
  TSectionList doc;
  doc.SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
  ParseDocument(page.html, doc);
  platform::TestCanvas canvas(page.width, 100);
  int pos = 0, maxWidth = 0;
  const int height = doc.Layout(canvas, 0, pos, maxWidth, 600, page.width);
  return DumpLayout(doc, &canvas) + "height=" + std::to_string(height) +
         " maxWidth=" + std::to_string(maxWidth) + "\n";
}

DocumentBuilder::DocumentBuilder() {
  Doc.SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
  auto root = std::make_unique<html::TProperties>();
  root->CopyDefault(*Doc.Styles.DefaultProperties());
  Stack.push_back(std::move(root));
  Cells.push_back(&Doc);
  // The first body is made from the root's properties, which carry the viewer's margins.
  auto body = std::make_unique<TBodyBlock>(&Doc, Top(), nullptr);
  Body = body.get();
  Doc.AddSection(std::move(body));
  Cells.push_back(Body->ContentCell.get());
}

html::TProperties& DocumentBuilder::Push(const Element& element) {
  auto props = std::make_unique<html::TProperties>();
  props->Inherit(*Stack.back());
  const html::TProperties* style = nullptr;
  if (!element.style.empty()) {
    auto parsed = std::make_unique<html::TProperties>();
    html::ParseStyleAttribute(element.style, *parsed);
    style = parsed.get();
    StyleAttributes.push_back(std::move(parsed));
  }
  props->Combine(Doc.Styles, element.tag, style, element.title, element.pseudo, "", element.klass);
  Stack.push_back(std::move(props));
  return *Stack.back();
}

void DocumentBuilder::Pop() { Stack.pop_back(); }

TBlock& DocumentBuilder::OpenBlock(const Element& element) {
  CloseText();
  Push(element);
  auto block = std::make_unique<TBlock>(Cells.back(), Top(), nullptr);
  TBlock* kept = block.get();
  Cells.back()->AddSection(std::move(block));
  Cells.push_back(kept->ContentCell.get());
  return *kept;
}

void DocumentBuilder::CloseBlock() {
  CloseText();
  Cells.pop_back();
  Pop();
}

TSection& DocumentBuilder::OpenText(bool startsParagraph) {
  CloseText();
  Pending = std::make_unique<TSection>(&Doc, startsParagraph, Cells.back(), &Link, Top(), nullptr);
  return *Pending;
}

TSection& DocumentBuilder::Section() { return Pending ? *Pending : OpenText(); }

TSectionBase* DocumentBuilder::CloseText() {
  if (!Pending) return nullptr;
  return Cells.back()->AddSection(std::move(Pending));
}

void DocumentBuilder::Text(std::string_view text, BreakRule rule) {
  html::TokenObj tokens;
  tokens.AddRun(text, SourcePos);
  SourcePos += static_cast<int>(text.size());
  Section().AddTokens(tokens, Top(), rule);
}

void DocumentBuilder::Char(char ch) { Section().AddChar(ch, SourcePos++); }

void DocumentBuilder::OpenInline(const Element& element, TVShift shift) {
  Push(element).UpdateTextBackground();                   // an inline element's background is its text's
  SourcePos += static_cast<int>(element.tag.size()) + 2;  // the tag's own text
  Section().ChangeFont(Top(), shift);
}

void DocumentBuilder::CloseInline() {
  Pop();
  SourcePos += 4;
  Section().ChangeFont(Top());
}

void DocumentBuilder::OpenLink(const std::string& href) {
  Link.Assign(href, "");
  Push({"a", "", "", "link"});
  SourcePos += 9 + static_cast<int>(href.size());
  Section().HRefChange(Top(), Link, LinkEdge::Start);
}

void DocumentBuilder::CloseLink() {
  Link.Clear();
  Pop();
  SourcePos += 4;
  Section().HRefChange(Top(), Link, LinkEdge::End);
}

TBlock& DocumentBuilder::Paragraph(std::string_view text, const std::string& style) {
  TBlock& block = OpenBlock({"p", style});
  Text(text);
  CloseBlock();
  return block;
}

void DocumentBuilder::Sheet(std::string_view css) {
  html::TStringCharSource source(css);
  char ch = ' ';
  html::ParseStyleSheet(Doc.Styles, ch, source, "");
}

int DocumentBuilder::Layout(int width) {
  CloseText();
  int pos = 0;
  return Doc.Layout(Canvas, 0, pos, MaxWidth, 300, width);
}

void DocumentBuilder::Paint(int yOffset) {
  Doc.SetYOffset(yOffset);
  Canvas.ClearOps();
  Doc.Paint(Canvas, {0, 0, 400, 300}, 0);
}

}  // namespace tessival::layout::testing
