#include "layout/block.h"

#include <algorithm>

#include "layout/section_list.h"

namespace tessival::layout {
namespace {

int BoxValue(const html::TBoxPixels& box, html::PropIndex index) {
  const int value = box.Pixels[index - html::BoxFirst];
  // "auto" margins centre and stretch once widths are computed; here they take nothing.
  return value == html::AutoValue || value == html::UnsetValue ? 0 : value;
}

bool IsParagraphSpace(const html::TBoxPixels& box, html::PropIndex index) {
  return box.ParagraphSpace.test(index - html::BoxFirst);
}

// Two adjoining vertical margins become one.
int CollapsedMargin(int top, int bottom) {
  if (top >= 0 && bottom >= 0) return std::max(top, bottom);
  if (top < 0 && bottom < 0) return std::min(top, bottom);
  return top + bottom;
}

// Margins are resolved once at creation, against this width, as percentages need one.
constexpr int CreationWidth = 400;

}  // namespace

TBlock::TBlock(TCellBasic* ownerCell, const html::TProperties& props,
               const html::TAttributeList* attributes)
    : TSectionBase(ownerCell ? ownerCell->Document : nullptr), OwnerCell(ownerCell) {
  TagName = props.PropTag;
  TagPath = props.PropTag + "." + props.PropClass;
  ContentCell = std::make_unique<TBlockCell>(Document, TagName, this);
  const html::TBoxPixels box = props.BoxPixels(CreationWidth);
  MarginTop = BoxValue(box, html::piMarginTop);
  MarginRight = BoxValue(box, html::piMarginRight);
  MarginBottom = BoxValue(box, html::piMarginBottom);
  MarginLeft = BoxValue(box, html::piMarginLeft);
  TopIsParagraphSpace = IsParagraphSpace(box, html::piMarginTop);
  BottomIsParagraphSpace = IsParagraphSpace(box, html::piMarginBottom);
  DisplayNone = props.DisplayNone();
  Title = props.PropTitle;
  if (OwnerCell) CollapseTopMargin();
  if (attributes && Document && !Document->IsCopy) {
    const std::string& id = attributes->GetID();
    if (!id.empty()) Document->IDNameList.AddObject(id, this);
  }
}

TBlock::~TBlock() = default;

TBlock::TBlock(TSectionList* document, const TBlock& source)
    : TSectionBase(document),
      OwnerCell(nullptr),
      ContentCell(std::make_unique<TBlockCell>(document, source.ContentCell->OwnerTag, this)),
      TagName(source.TagName),
      TagPath(source.TagPath),
      MarginTop(source.MarginTop),
      MarginRight(source.MarginRight),
      MarginBottom(source.MarginBottom),
      MarginLeft(source.MarginLeft),
      TopIsParagraphSpace(source.TopIsParagraphSpace),
      BottomIsParagraphSpace(source.BottomIsParagraphSpace),
      DisplayNone(source.DisplayNone),
      Title(source.Title) {
  ZIndex = source.ZIndex;
  for (const auto& section : source.ContentCell->Items())
    ContentCell->AddSection(section->Clone(document));
}

std::unique_ptr<TSectionBase> TBlock::Clone(TSectionList* document) const {
  return std::unique_ptr<TBlock>(new TBlock(document, *this));
}

std::unique_ptr<TSectionBase> TBodyBlock::Clone(TSectionList* document) const {
  return std::unique_ptr<TBodyBlock>(new TBodyBlock(document, *this));
}

void TBlock::CollapseTopMargin() {
  TSectionBase* previous = OwnerCell->LastFlowSection();
  if (auto* block = dynamic_cast<TBlock*>(previous)) {
    MarginTop = CollapsedMargin(MarginTop, block->MarginBottom);
    block->MarginBottom = 0;
    block->BottomIsParagraphSpace = false;
    return;
  }
  const std::string& cellTag = OwnerCell->OwnerTag;
  if (previous) {
    // A list right after the text of an item starts without a gap.
    const bool isList = TagPath.starts_with("ul.") || TagPath.starts_with("ol.");
    if (cellTag == "li" && TopIsParagraphSpace && isList) MarginTop = 0;
    return;
  }
  // The first block of a cell: no paragraph space, except at the top of the page.
  if (TopIsParagraphSpace && (cellTag == "li" || (cellTag != "default" && cellTag != "body")))
    MarginTop = 0;
}

bool TBlock::DropTrailingMargin(TCellBasic& cell) {
  auto* block = dynamic_cast<TBlock*>(cell.LastFlowSection());
  if (!block) return false;
  if (block->TagName == "li") return DropTrailingMargin(*block->ContentCell);
  if (!block->BottomIsParagraphSpace) return false;
  block->MarginBottom = 0;
  block->BottomIsParagraphSpace = false;
  return true;
}

int TBlock::LayoutContent(const LayoutArgs& args, int contentX, int contentTop, int contentWidth,
                          int& pos, int& maxWidth, IndentManager& indents) {
  ContentCell->Indents = &indents;
  LayoutArgs inner = args;
  inner.x = contentX;
  inner.y = contentTop;
  inner.availWidth = contentWidth;
  return ContentCell->DoLayout(inner, pos, maxWidth);
}

int TBlock::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  StartPos = pos;
  Top = AnchorTop = args.y;
  if (DisplayNone) {
    SectionHeight = DrawHeight = Length = 0;
    HitTop = HitBottom = ContentBottom = args.y;
    maxWidth = 0;
    return 0;
  }
  ClearOffset = 0;  // clearing floats arrives with the floats
  int contentMin = 0, contentMax = 0;
  ContentCell->GetWidthRange(*args.canvas, contentMin, contentMax);
  ContentWidth = std::max(contentMin, args.availWidth - MarginLeft - MarginRight);
  ScopedIndentOwner owner(indents, this);
  HitTop = ClearOffset + args.y + std::min(MarginTop, 0);
  IndentX = MarginLeft;
  const int x = args.x + IndentX;
  ContentTop = ClearOffset + args.y + MarginTop;
  const int left = indents.PushLeft(x, ContentTop);
  const int right = indents.PushRight(x + ContentWidth, ContentTop);
  ContentLeft = x;
  int innerMax = 0;
  LayoutContent(args, x, ContentTop, ContentWidth, pos, innerMax, indents);
  Length = pos - StartPos;
  maxWidth = innerMax + MarginLeft + MarginRight;
  ContentBottom = std::max(ContentTop, ContentCell->ContentBottom);
  const int bottom = ContentBottom + MarginBottom;
  HitBottom = std::max(ContentBottom, ContentCell->DrawBottom);
  SectionHeight = bottom - args.y;
  indents.PopRight(right);
  indents.PopLeft(left);
  DrawHeight = std::max(SectionHeight, indents.FloatBottom() - args.y);
  return SectionHeight;
}

int TBlock::Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
                  IndentManager& indents) {
  if (DisplayNone) return Top;
  ScopedIndentOwner owner(indents, this);
  ContentCell->Indents = &indents;
  PaintLeft = x + IndentX;
  ContentCell->Paint(canvas, clip, refTop, refLeft, PaintLeft);
  return Top + SectionHeight;
}

int TBlock::FindLink(platform::Canvas& canvas, int x, std::string& title, TFormControlObj*& formControl,
                     std::unique_ptr<html::TUrlTarget>& urlTarget, int y) {
  if (DisplayNone) return 0;
  int found = 0;
  if (!Title.empty() && y >= ContentTop && y < ContentBottom && x >= PaintLeft &&
      x < PaintLeft + ContentWidth) {
    title = Title;
    found = flTitle;
  }
  return found | ContentCell->FindLink(canvas, x, title, formControl, urlTarget, y);
}

void TBlock::CopySelection() {
  if (!DisplayNone) ContentCell->CopySelection();
}

bool TBlock::FindImageAt(int x, int y, int& localX, int& localY, TImageObj*& image) {
  return !DisplayNone && ContentCell->FindImageAt(x, y, localX, localY, image);
}

int TBlock::PositionAtPoint(platform::Canvas& canvas, int x, int y, bool& insideText, int& lineHeight,
                            int& lineTop, int& charX) {
  if (DisplayNone) return -1;
  return ContentCell->PositionAtPoint(canvas, x, y, insideText, lineHeight, lineTop, charX);
}

int TBlock::FindText(int fromPos, std::string_view text, bool matchCase) {
  return DisplayNone ? -1 : ContentCell->FindText(fromPos, text, matchCase);
}

int TBlock::SourcePosOf(int docPos) const { return DisplayNone ? -1 : ContentCell->SourcePosOf(docPos); }

int TBlock::DocPosOf(int sourcePos, SearchDirection direction) const {
  return DisplayNone ? -1 : ContentCell->DocPosOf(sourcePos, direction);
}

bool TBlock::PointOfPosition(platform::Canvas* canvas, int pos, int& y, int& x) {
  return !DisplayNone && ContentCell->PointOfPosition(canvas, pos, y, x);
}

bool TBlock::CharAt(int pos, char& ch, const TSectionBase*& section) const {
  return !DisplayNone && ContentCell->CharAt(pos, ch, section);
}

void TBlock::GetWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth) {
  if (DisplayNone) {
    minWidth = maxWidth = 0;
    return;
  }
  ContentCell->GetWidthRange(canvas, minWidth, maxWidth);
  minWidth += MarginLeft + MarginRight;
  maxWidth += MarginLeft + MarginRight;
}

void TBlock::RegisterPositions() {
  if (!DisplayNone) ContentCell->RegisterPositions();
}

TBodyBlock::TBodyBlock(TCellBasic* ownerCell, const html::TProperties& props,
                       const html::TAttributeList* attributes)
    : TBlock(ownerCell, props, attributes) {
  ContentCell->OwnerTag = "body";
  // The body paints no background of its own: the document does, behind everything.
  if (Document && props.BackgroundColor() != html::NoColor)
    Document->Background = props.BackgroundColor();
}

int TBodyBlock::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  StartPos = pos;
  Top = AnchorTop = args.y;
  ScopedIndentOwner owner(indents, this);
  IndentX = MarginLeft;
  ContentWidth = std::max(0, indents.Width - MarginLeft - MarginRight);
  ContentTop = args.y + MarginTop;
  ContentLeft = args.x + IndentX;
  HitTop = args.y;
  LayoutArgs inner = args;
  inner.availHeight = std::max(0, args.availHeight - MarginTop - MarginBottom);
  inner.refTop = inner.refLeft = 0;
  // Text right in the body lies between its margins, as a block's content does.
  const int left = indents.PushLeft(ContentLeft, ContentTop);
  const int right = indents.PushRight(ContentLeft + ContentWidth, ContentTop);
  int innerMax = 0;
  const int contentHeight = LayoutContent(inner, ContentLeft, ContentTop, ContentWidth, pos, innerMax,
                                          indents);
  indents.PopRight(right);
  indents.PopLeft(left);
  Length = pos - StartPos;
  ContentBottom = ContentTop + contentHeight;
  HitBottom = std::max(ContentBottom, ContentCell->DrawBottom);
  SectionHeight = HitBottom + MarginBottom - args.y;
  DrawHeight = std::max(SectionHeight, indents.FloatBottom() - args.y);
  maxWidth = std::max(indents.Width, std::max(innerMax, ContentWidth) + MarginLeft + MarginRight);
  return SectionHeight;
}

int TBodyBlock::Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft,
                      int x, IndentManager& indents) {
  (void)x;
  ScopedIndentOwner owner(indents, this);
  ContentCell->Indents = &indents;
  PaintLeft = indents.LeftEdge + MarginLeft;
  ContentCell->Paint(canvas, clip, refTop, refLeft, PaintLeft);
  return Top + SectionHeight;
}

}  // namespace tessival::layout
