#pragma once
// TSection: a run of inline content (characters with their font runs, links and source
// positions) that breaks itself into lines.
//
// Storage per character is one byte of text and one byte of break marks; the source
// position of every character is kept only while the section is being filled and then
// folded into IndexObj records (one per place where the source does not continue by one).
//
// The class is split by concern over several files:
//   text_section.cpp           building, FinishText, queries on the stored text
//   text_section_lines.cpp     fitting characters on a line, line breaking, alignment
//   text_section_widths.cpp    text widths and the minimum and maximum widths
//   text_section_paint.cpp     painting with selection and links
//   text_section_hits.cpp      point <-> position, links under a point, FindText, copying
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "html/attribute_list.h"
#include "html/properties.h"
#include "html/token_obj.h"
#include "html/url_target.h"
#include "layout/floating_obj.h"
#include "layout/font_obj.h"
#include "layout/section_base.h"

namespace tessival::layout {

class TCellBasic;
class ThtmlForm;

// Marker bytes in section text.
constexpr char FormControlChar = 2;
constexpr char InlineObjectChar = 4;
constexpr char NoBreakSpaceChar = 5;  // as the tokenizer delivers &nbsp;
constexpr char LineBreakChar = 8;     // BR
constexpr unsigned char SoftHyphenChar = 173;

// Break marks, one per character: may a line break at or after it.
constexpr char BreakAllowed = 'y';
constexpr char BreakNever = 'n';

// How characters join the section: inside NOBR (or preformatted text) they never break.
enum class BreakRule { Allowed, NoBreak };
// Which edge of a link HRefChange is told about.
enum class LinkEdge { Start, End };

enum TTextAlign : int { taLeft = 1, taCenter = 2, taRight = 3, taJustify = 4 };
enum TClearKind : int { clNone = 0, clLeft = 1, clRight = 2, clBoth = 3 };

// Where the source continues by one from the previous character no record is kept.
struct IndexObj {
  int Pos;                 // offset within the section
  std::int32_t SourcePos;  // source position of the character at Pos
};

struct LineRec {
  int Start = 0;  // offset of the first character
  int SpaceBefore = 0;
  int SpaceAfter = 0;
  int LineHeight = 0;  // the tallest run's FontHeight
  int LineBottom = 0;  // painted height including floats that start in the line
  int Count = 0;       // characters
  int Descent = 0;     // the largest run descent
  int TextOffset = 0;  // x of the first character relative to the section's x
  int TextX = 0;       // absolute x of the first character at the last paint
  int LineWidth = 0;   // right - left indent when the line was made
  int Spaces = 0;      // justification: the spaces to widen ...
  int Extra = 0;       // ... and the pixels spread over them
  int Width = 0;       // text width without trailing spaces (for dumps and selection)
};

class TSection : public TSectionBase {
 public:
  // A section starts with one font run from the element's properties; a current link with
  // an address makes that run a link run. `attributes` may be null (CLEAR, ID are read).
  TSection(TSectionList* document, bool startsParagraph, TCellBasic* ownerCell,
           const html::TUrlTarget* link, const html::TProperties& props,
           const html::TAttributeList* attributes);
  ~TSection() override;

  // --- building (the tag reader) --------------------------------------------------------
  void AddChar(char ch, std::int32_t sourcePos, BreakRule rule = BreakRule::Allowed);
  // The token's characters under the current element's text-transform.
  void AddTokens(const html::TokenObj& tokens, const html::TProperties& current, BreakRule rule);
  // The element changed: the following characters use its font and title.
  void ChangeFont(const html::TProperties& props, TVShift shift = TVShift::vsNone);
  // A link starts or ends here; `link` is the link from here on (empty at an end).
  void HRefChange(const html::TProperties& props, const html::TUrlTarget& link, LinkEdge edge,
                  TVShift shift = TVShift::vsNone);
  // An inline picture from an IMG tag at the end of the text; the caller gives it the
  // element's style (ApplyStyle).
  TImageObj& AddImage(const html::TAttributeList& attributes, TCellBasic* ownerCell,
                      std::int32_t sourcePos);
  // A PANEL at the end of the text; the caller gives it the element's style.
  TFloatingObj& AddPanel(const html::TAttributeList& attributes, std::int32_t sourcePos);
  // A control of `form` from an INPUT, SELECT or TEXTAREA tag at the end of the text
  // (text_section_forms.cpp); the caller gives it the element's style.
  TFormControlObj& AddFormControl(html::Symbol tag, ThtmlForm& form,
                                  const html::TAttributeList& attributes, TCellBasic* ownerCell,
                                  std::int32_t sourcePos);
  // The section holds a named anchor (the reader registers it in the ID list).
  void SetHasAnchor() { HasAnchor = true; }
  // Normalises white space and seals the section; TCellBasic::AddSection calls it.
  void FinishText();
  // Nothing left worth keeping after FinishText.
  virtual bool IsDroppable() const;

  // --- the section interface --------------------------------------------------------
  std::unique_ptr<TSectionBase> Clone(TSectionList* document) const override;
  void CopySelection() override;
  int Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) override;
  int Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
            IndentManager& indents) override;
  int FindLink(platform::Canvas& canvas, int x, std::string& title, TFormControlObj*& formControl,
               std::unique_ptr<html::TUrlTarget>& urlTarget, int y) override;
  int PositionAtPoint(platform::Canvas& canvas, int x, int y, bool& insideText, int& lineHeight,
                      int& lineTop, int& charX) override;
  int FindText(int fromPos, std::string_view text, bool matchCase) override;
  int SourcePosOf(int docPos) const override;
  int DocPosOf(int sourcePos, SearchDirection direction) const override;
  bool PointOfPosition(platform::Canvas* canvas, int pos, int& y, int& x) override;
  // The painted width of the characters of `line` before `offset` (for the layout dump).
  int WidthBefore(platform::Canvas& canvas, const LineRec& line, int offset) const;
  bool CharAt(int pos, char& ch, const TSectionBase*& section) const override;
  void GetWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth) override;
  bool FindImageAt(int x, int y, int& localX, int& localY, TImageObj*& image) override;
  const char* KindName() const override { return "Text"; }

  // --- font runs --------------------------------------------------------------------
  // Lights or dims a whole link: this run and its neighbours of the same link number.
  static void SetLinkHover(TFontObj& run, bool hover);

  // --- read access --------------------------------------------------------------------
  const std::string& Text() const { return Text_; }
  // Whether a line may break at `offset` (one mark past the text: the section's end).
  bool MayBreakAt(int offset) const {
    return Breaks_.empty() || Breaks_[static_cast<std::size_t>(offset)] == BreakAllowed;
  }
  // One mark per character and one for the end, BreakAllowed or BreakNever.
  std::string Breaks() const;
  const std::vector<LineRec>& Lines() const { return Lines_; }
  const std::vector<IndexObj>& Index() const { return Index_; }
  const TFontList& Fonts() const { return Fonts_; }
  // Inline objects in offset order, one per InlineObjectChar.
  const std::vector<std::unique_ptr<TFloatingObj>>& Objects() const { return Objects_; }
  // The object whose character stands at `offset`, or null.
  TFloatingObj* ObjectAt(int offset) const;
  TFontList& Fonts() { return Fonts_; }
  bool Finished() const { return Finished_; }
  // Text width of [start, start + count) as painting measures it (see widths file).
  int TextWidth(platform::Canvas& canvas, int start, int count, bool skipTrailing) const;

  TCellBasic* OwnerCell;
  int TextAlign = taLeft;
  int Clear = clNone;
  int LineHeightProp = 0;     // "line-height" in pixels, 0 when not given
  int TextIndent = 0;         // first-line indent in pixels ...
  int TextIndentPercent = 0;  // ... or in percent of the width (0 = not a percent)
  bool HasDoubleByte = false;
  bool HasAnchor = false;
  int SectionNumber = 0;
  int PaintX = 0;

 protected:
  // An empty section of this kind for Clone to fill.
  virtual std::unique_ptr<TSection> MakeBlank(TSectionList* document,
                                              const html::TProperties& props) const;

 private:
  struct FitResult;
  struct LineBox;
  class Measurer;

  TFontObj& StartRun(const html::TProperties& props, TVShift shift);
  std::shared_ptr<const html::TFontInfoArray> ShareVariants(const html::TFontInfoArray& variants) const;
  void JoinLinkList(TFontObj& run);
  void LeaveLinkList(const TFontObj& run);
  void Append(char ch, std::int32_t sourcePos, char mark);
  // Adds the marks of the last `count` characters appended to the text.
  void AppendMarks(std::size_t count, char mark);
  void ForbidBreakAt(std::size_t offset);
  // Removes the marked characters and moves the font runs back; clears the marks.
  void Compact(std::vector<char>& drop);
  void DropRunsMovedOntoOthers();
  // The white-space rules of FinishText, in the order they run; each marks in `drop` (one
  // mark per character, all clear) and compacts the text when it marked anything.
  void DropLeadingSpaces(std::vector<char>& drop);
  void CollapseSpaceRuns(std::vector<char>& drop);
  void DropSpacesAfterFloats(std::vector<char>& drop);
  void DropSoftHyphens(std::vector<char>& drop);
  void DropSpacesAroundLineBreaks(std::vector<char>& drop);
  // No-break spaces become spaces the line may not break at.
  void ForbidBreaksAtNoBreakSpaces();
  // The text does not grow any more: gives back what growing it reserved.
  void ReleaseSpareCapacity();
  void BuildIndex();
  bool IsLeadByte(int offset) const;
  // Character boundaries of double-byte text (text_section_chars.cpp): the offset where the
  // character holding `offset` begins, and how many bytes the character at `offset` takes.
  int CharStartOf(int offset) const;
  int CharLengthAt(int offset) const;
  // The document's selection relative to this section, its ends moved off the second byte
  // of a double-byte character so that painting and copying never split one.
  void SelectionOffsets(int& start, int& end) const;

  // line breaking (text_section_lines.cpp)
  struct LineContext;
  class LineBuilder;
  class WidthWalk;  // the narrowest and widest layouts (text_section_widths.cpp)
  // Where a line ends, and whether it holds only a word wider than the line.
  struct LineBreak {
    int End = 0;
    bool LongWord = false;
  };
  int FitCount(platform::Canvas& canvas, const LineContext& context, int start, int y, bool firstLine,
               IndentManager& indents) const;
  // Where a line that fits `fit` characters from `start` ends.
  LineBreak LineEnd(int start, int fit) const;
  int LineEndDoubleByte(int start, int fit) const;
  int TakeFollowingSpaces(int end, bool withLineBreak) const;
  void FinishLine(platform::Canvas& canvas, LineRec& line, bool firstLine, bool lastLine, int x, int y,
                  IndentManager& indents);
  int ClearingHeight(const IndentManager& indents, int y) const;
  void EnsureRunMetrics(platform::Canvas& canvas) const;

  // painting (text_section_paint.cpp): one line whose band starts at document y `y`, and
  // the characters from `pos` drawn in one call (one run, no object, one side of each
  // selection edge and of the caret)
  void PaintLine(platform::Canvas& canvas, const LineRec& line, int y, int selStart, int selEnd,
                 IndentManager& indents);
  int PaintChunkEnd(int pos, int end, int selStart, int selEnd) const;

  // inline objects (text_section_objects.cpp, painting in text_section_paint.cpp)
  void PaintObject(platform::Canvas& canvas, int pos, const TFontObj& run, int baseline, int lineTop,
                   const IndentManager& indents);
  void RenumberObjects();
  void SizeObjects(platform::Canvas& canvas, int availWidth);
  int ObjectWidthAt(int offset) const;
  void PlaceFloat(TFloatingObj& object, int y, IndentManager& indents);
  void RaiseLineForObjects(LineRec& line) const;
  // The y below which this layout's floats end (0 when none).
  int FloatsBottom_ = 0;

  // hit testing (text_section_hits.cpp)
  int ImageLink(TImageObj& image, int localX, int localY, std::string& title,
                std::unique_ptr<html::TUrlTarget>& urlTarget);
  int LineAt(int y, int& bandTop) const;
  int CountFitting(platform::Canvas& canvas, const LineRec& line, int width) const;
  // text widths (text_section_widths.cpp): as laid out, and as painted (justified)
  int MeasuredWidth(platform::Canvas& canvas, int start, int count) const;
  int PaintedWidth(platform::Canvas& canvas, int start, int count) const;

  std::string Text_;
  // Empty while every mark is BreakAllowed, as in most running text: a page's paragraphs
  // would otherwise keep one byte per character that says nothing.
  std::string Breaks_;
  std::vector<std::int32_t> SourcePositions_;  // while filling only
  std::vector<IndexObj> Index_;
  TFontList Fonts_;
  std::vector<LineRec> Lines_;
  std::vector<std::unique_ptr<TFloatingObj>> Objects_;
  bool Finished_ = false;
  bool StartsParagraph_ = false;
  int FirstIndentPixels_ = 0;  // the first-line indent resolved for the last layout
  int MinWidthCache_ = -1;
  int MaxWidthCache_ = -1;
  // One-entry cache of CountFitting: same line start and width give the same count.
  mutable int FitCacheStart_ = -1;
  mutable int FitCacheWidth_ = -1;
  mutable int FitCacheCount_ = 0;
};

}  // namespace tessival::layout
