#include "layout/block.h"

#include <algorithm>

#include "layout/section_list.h"

namespace tessival::layout {
namespace {

int CreationMargin(const html::TBoxPixels& box, html::PropIndex index) {
  const int value = box.Pixels[index - html::BoxFirst];
  return value == html::AutoValue || value == html::UnsetValue ? 0 : ClampBoxLength(value);
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

// Top and bottom margins are resolved once at creation, against this width, as
// percentages need one.
constexpr int CreationWidth = 400;
// Room kept left of a list's content for its markers.
constexpr int MarkerRoom = 35;

int FloatOf(html::TFloatSide side) {
  if (side == html::TFloatSide::fsLeft) return bfLeft;
  if (side == html::TFloatSide::fsRight) return bfRight;
  return bfNone;
}

int ClearOf(html::TClearSide side) {
  switch (side) {
    case html::TClearSide::csLeft: return 1;
    case html::TClearSide::csRight: return 2;
    case html::TClearSide::csBoth: return 3;
    default: return 0;
  }
}

platform::TColor ColorOrNone(const html::PropValue& value) {
  const int* color = html::AsInt(value);
  return color ? static_cast<platform::TColor>(*color) : html::NoColor;
}

}  // namespace

TBlock::TBlock(TCellBasic* ownerCell, const html::TProperties& props,
               const html::TAttributeList* attributes)
    : TSectionBase(ownerCell ? ownerCell->Document : nullptr), OwnerCell(ownerCell) {
  TagName = props.PropTag;
  TagPath = props.PropTag + "." + props.PropClass;
  ContentCell = std::make_unique<TBlockCell>(Document, TagName, this);
  ReadStyle(props);
  if (Positioning == html::posAbsolute && TopIsParagraphSpace) {
    MarginTop = 0;
    TopIsParagraphSpace = false;
  }
  if (OwnerCell) CollapseTopMargin();
  if (attributes && Document && !Document->IsCopy) {
    const std::string& id = attributes->GetID();
    if (!id.empty()) Document->IDNameList.AddObject(id, this);
  }
}

void TBlock::SetGivenBox(const TGivenBox& box) {
  Given = Document != nullptr ? Document->ShareGivenBox(box) : std::make_shared<const TGivenBox>(box);
}

void TBlock::ReadStyle(const html::TProperties& props) {
  SetGivenBox(TGivenBox{props.GetVMarginArray(), props.EmSize, props.ExSize});
  const html::TBoxPixels box = props.BoxPixels(CreationWidth);
  MarginTop = CreationMargin(box, html::piMarginTop);
  MarginBottom = CreationMargin(box, html::piMarginBottom);
  TopIsParagraphSpace = IsParagraphSpace(box, html::piMarginTop);
  BottomIsParagraphSpace = IsParagraphSpace(box, html::piMarginBottom);
  Box = ResolveBox(*Given, CreationWidth, 0, Box);
  BackgroundColor = ColorOrNone(props.Prop(html::piBackgroundColor));
  BorderColor = ColorOrNone(props.Prop(html::piBorderColor));
  TextColor = props.Color();
  HasBorder = props.HasBorderStyle();
  FloatSide = FloatOf(props.Float());
  ClearSide = ClearOf(props.Clear());
  Positioning = props.Position();
  Hidden = props.Hidden();
  DisplayNone = props.DisplayNone();
  PageBreakBefore = props.PageBreakBefore();
  PageBreakAfter = props.PageBreakAfter();
  PageBreakInsideAvoid = props.PageBreakInsideAvoid();
  Title = props.PropTitle;
  ZIndex = Positioning != html::posStatic ? 10 * props.ZIndex() : 0;
  if (Positioning == html::posAbsolute && ZIndex == 0) ZIndex = 1;
  if (IsFloating() && ZIndex == 0) ZIndex = 1;
  if (const auto url = props.BackgroundImage(); url && !url->empty() && props.PropTag != "body") {
    BackgroundImage.Url = *url;
    BackgroundImage.Position = props.BackgroundPosition(props.EmSize, props.ExSize);
  }
}

TBlock::~TBlock() = default;

void TBlock::SizeBackground(platform::Canvas& canvas) {
  if (BackgroundImage.Url.empty() || !Document || !Document->ShowImages) return;
  if (!BackgroundPicture)
    BackgroundPicture = std::make_unique<TBlockBackground>(Document, BackgroundImage);
  BackgroundPicture->Size(canvas);
}

TBlock::TBlock(TSectionList* document, const TBlock& source)
    : TSectionBase(document),
      OwnerCell(nullptr),
      ContentCell(std::make_unique<TBlockCell>(document, source.ContentCell->OwnerTag, this)),
      TagName(source.TagName),
      TagPath(source.TagPath),
      Given(source.Given),
      Box(source.Box),
      TopIsParagraphSpace(source.TopIsParagraphSpace),
      BottomIsParagraphSpace(source.BottomIsParagraphSpace),
      BackgroundColor(source.BackgroundColor),
      BorderColor(source.BorderColor),
      TextColor(source.TextColor),
      HasBorder(source.HasBorder),
      FloatSide(source.FloatSide),
      ClearSide(source.ClearSide),
      Positioning(source.Positioning),
      Hidden(source.Hidden),
      DisplayNone(source.DisplayNone),
      PageBreakBefore(source.PageBreakBefore),
      PageBreakAfter(source.PageBreakAfter),
      PageBreakInsideAvoid(source.PageBreakInsideAvoid),
      IsListContainer(source.IsListContainer),
      EmptyListCell(source.EmptyListCell),
      Title(source.Title),
      BackgroundImage(source.BackgroundImage) {
  ZIndex = source.ZIndex;
  for (const auto& section : source.ContentCell->Items())
    ContentCell->AddSection(section->Clone(document));
}

std::unique_ptr<TSectionBase> TBlock::Clone(TSectionList* document) const {
  return std::unique_ptr<TBlock>(new TBlock(document, *this));
}

void TBlock::CollapseTopMargin() {
  // Floating and absolutely placed blocks are out of the flow: their margins meet none,
  // and taking the bottom margin of the block before would leave the flow without it.
  if (IsFloating() || Positioning == html::posAbsolute) return;
  TSectionBase* previous = OwnerCell->LastFlowSection();
  auto* block = dynamic_cast<TBlock*>(previous);
  if (block && block->IsFloating()) {
    // A floating block is out of the flow: margins do not meet across it.
    return;
  }
  if (block) {
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
  // An item's own content is looked into from here on, so a deep nest of items is walked
  // without recursion.
  TCellBasic* current = &cell;
  for (;;) {
    auto* block = dynamic_cast<TBlock*>(current->LastFlowSection());
    if (!block) return false;
    if (block->TagName == "li") {
      current = block->ContentCell.get();
      continue;
    }
    if (!block->BottomIsParagraphSpace) return false;
    block->MarginBottom = 0;
    block->BottomIsParagraphSpace = false;
    return true;
  }
}

void TBlock::ContentWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth) {
  // Every enclosing block asks again in the same pass; without keeping the answer a deep
  // nest would cost the square of its depth.
  const int pass = Document ? Document->LayoutCount : -1;
  if (pass < 0 || pass != WidthRangePass_ || &canvas != WidthRangeCanvas_) {
    ContentCell->GetWidthRange(canvas, WidthRangeMin_, WidthRangeMax_);
    WidthRangePass_ = pass;
    WidthRangeCanvas_ = &canvas;
  }
  minWidth = WidthRangeMin_;
  maxWidth = WidthRangeMax_;
}

int TBlock::ComputeContentWidth(platform::Canvas& canvas, int availWidth, int availHeight) {
  (void)availHeight;
  int contentMin = 0, contentMax = 0;
  ContentWidthRange(canvas, contentMin, contentMax);
  return layout::ComputeContentWidth(Box, availWidth, contentMin, contentMax,
                                     {IsFloating(), Positioning == html::posAbsolute});
}

int TBlock::ClearingDistance(const IndentManager& indents, int y) const {
  if (ClearSide == 0) return 0;
  const ClearBottoms bottoms = indents.ClearY();
  const int left = std::max(0, bottoms.Left - y - 1);
  const int right = std::max(0, bottoms.Right - y - 1);
  if (ClearSide == 1) return left;
  if (ClearSide == 2) return right;
  return std::max(left, right);
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

platform::Point TBlock::PlaceBox(const LayoutArgs& args) {
  platform::Point origin{args.x, args.y};
  if (Positioning == html::posRelative) {
    if (Box.PosTop == html::AutoValue) Box.PosTop = 0;
    if (Box.PosLeft == html::AutoValue) Box.PosLeft = 0;
  } else if (Positioning == html::posAbsolute) {
    if (Box.PosTop == html::AutoValue) Box.PosTop = origin.y - args.refTop;
    if (Box.PosLeft == html::AutoValue) Box.PosLeft = origin.x - args.refLeft;
    origin = {Box.PosLeft + args.refLeft, Box.PosTop + args.refTop};
    Top = AnchorTop = origin.y;
  }
  return origin;
}

// A float goes beside the floats already on its side; a list keeps room for its markers.
int TBlock::PlaceContent(const LayoutArgs& args, IndentManager& indents, int x, int flowY) {
  const int givenX = args.x;
  if (FloatSide == bfLeft) {
    const int placed = std::max(x, indents.LeftIndentAt(flowY));
    IndentX = placed + Box.LeftExtras() - x;
  } else if (FloatSide == bfRight) {
    IndentX = std::min(args.availWidth, indents.RightIndentAt(flowY) - x) - Box.RightExtras() -
              ContentWidth;
  } else {
    IndentX = Box.LeftExtras();
  }
  x += IndentX;
  BoxOffsetX = x - givenX - Box.BorderLeftWidth - Box.PaddingLeft;
  if (IsListContainer && x < indents.LeftIndentAt(flowY) + MarkerRoom) {
    const int shift = indents.LeftIndentAt(flowY) + MarkerRoom - x;
    x += shift;
    ContentWidth = std::max(0, ContentWidth - shift);
  }
  // Painting finds the content at the x it gives plus this, whatever moved it here.
  IndentX = x - givenX;
  return x;
}

LayoutArgs TBlock::ContentArgs(const LayoutArgs& args) const {
  LayoutArgs inner = args;
  if (Positioning == html::posRelative) {
    // Absolutely placed content is placed against the content box, which the paint pass
    // moves by the block's offsets with everything in it.
    inner.refTop = ContentTop;
    inner.refLeft = ContentLeft;
  } else if (Positioning == html::posAbsolute) {
    inner.refTop = Box.PosTop + args.refTop + MarginTop + Box.BorderTopWidth;
    inner.refLeft = Box.PosLeft + args.refLeft + Box.MarginLeft + Box.BorderLeftWidth;
  }
  return inner;
}

void TBlock::SetBottoms(const LayoutArgs& args) {
  ContentBottom = std::max(ContentTop, ContentCell->ContentBottom);
  if (ContentBottom - ContentTop < Box.BoxHeight) ContentBottom = ContentTop + Box.BoxHeight;
  BoxBottom = ContentBottom + Box.PaddingBottom + Box.BorderBottomWidth;
  const int bottom = BoxBottom + MarginBottom;
  HitBottom = std::max(ContentBottom, ContentCell->DrawBottom) + Box.PaddingBottom +
              Box.BorderBottomWidth;
  SectionHeight = bottom - args.y;
}

void TBlock::LeaveFlow(const LayoutArgs& args, IndentManager& indents) {
  DrawHeight = Positioning == html::posAbsolute ? 0 : SectionHeight;
  if (FloatSide == bfLeft) {
    indents.AddFloatBlock(args.y, ContentLeft + ContentWidth + Box.RightExtras(), FloatSide::Left,
                          HitBottom - args.y);
  } else if (FloatSide == bfRight) {
    indents.AddFloatBlock(args.y,
                          ContentWidth + Box.HorizontalExtras() + Box.MarginLeft + Box.MarginRight,
                          FloatSide::Right, HitBottom - args.y);
  }
  // Out of the flow: the cell around it grows neither by its height nor by its bottom.
  SectionHeight = 0;
  ContentBottom = args.y;
}

int TBlock::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  StartPos = pos;
  Top = AnchorTop = args.y;
  if (DisplayNone) {
    SectionHeight = DrawHeight = Length = 0;
    HitTop = HitBottom = ContentBottom = BoxBottom = args.y;
    maxWidth = 0;
    return 0;
  }
  ClearOffset = ClearingDistance(indents, args.y);
  Box = ResolveBox(*Given, args.availWidth, args.availHeight, Box);
  const platform::Point origin = PlaceBox(args);
  ContentWidth = ComputeContentWidth(*args.canvas, args.availWidth, args.availHeight);
  ScopedIndentOwner owner(indents, this);
  HitTop = ClearOffset + origin.y + std::min(MarginTop, 0);
  const int flowY = origin.y + ClearOffset;
  const int x = PlaceContent(args, indents, origin.x, flowY);
  ContentTop = flowY + MarginTop + Box.PaddingTop + Box.BorderTopWidth;
  const int left = indents.PushLeft(x, ContentTop);
  const int right = indents.PushRight(x + ContentWidth, ContentTop);
  ContentLeft = x;
  int innerMax = 0;
  LayoutContent(ContentArgs(args), x, ContentTop, ContentWidth, pos, innerMax, indents);
  Length = pos - StartPos;
  const bool placed = Positioning == html::posAbsolute || Positioning == html::posRelative;
  maxWidth = innerMax + Box.MarginLeft + Box.HorizontalExtras() + Box.MarginRight;
  if (placed) maxWidth += Box.PosLeft - Box.MarginRight;
  SetBottoms(args);
  SizeBackground(*args.canvas);
  indents.PopRight(right);
  indents.PopLeft(left);
  if (IsFloating() || Positioning == html::posAbsolute) {
    LeaveFlow(args, indents);
    return 0;
  }
  DrawHeight = std::max(SectionHeight, indents.FloatBottom() - args.y);
  return SectionHeight;
}

int TBlock::FindLink(platform::Canvas& canvas, int x, std::string& title, TFormControlObj*& formControl,
                     std::unique_ptr<html::TUrlTarget>& urlTarget, int y) {
  if (DisplayNone) return 0;
  int found = 0;
  const bool inTitleRect = x >= TitleRect.left && x < TitleRect.right && y >= TitleRect.top &&
                           y < TitleRect.bottom;
  if (!Title.empty() && inTitleRect) {
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
  int contentMin = 0, contentMax = 0;
  ContentWidthRange(canvas, contentMin, contentMax);
  // Against no width at all the box never changes: it is resolved once.
  if (!RangeBoxResolved_) {
    RangeBox_ = ResolveBox(*Given, 0, 400, Box);
    RangeBoxResolved_ = true;
  }
  const TBlockBox& box = RangeBox_;
  const auto zeroIfAuto = [](int value) { return value == html::AutoValue ? 0 : value; };
  const int extras = zeroIfAuto(box.MarginLeft) + zeroIfAuto(box.MarginRight) + box.HorizontalExtras();
  const bool widthGiven = box.BoxWidth != html::AutoValue;
  const int width = zeroIfAuto(box.BoxWidth);
  minWidth = extras + std::max(contentMin, width);
  maxWidth = widthGiven ? minWidth : extras + std::max(contentMax, width);
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
  if (Document) {
    if (const auto url = props.BackgroundImage(); url && !url->empty())
      Document->SetBackgroundImage(*url);
  }
  // The body neither floats nor moves.
  FloatSide = bfNone;
  Positioning = html::posStatic;
  ZIndex = 0;
}

std::unique_ptr<TSectionBase> TBodyBlock::Clone(TSectionList* document) const {
  return std::unique_ptr<TBodyBlock>(new TBodyBlock(document, *this));
}

int TBodyBlock::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  StartPos = pos;
  Top = AnchorTop = args.y;
  ScopedIndentOwner owner(indents, this);
  Box = ResolveBox(*Given, indents.Width, args.availHeight, Box);
  Box.MarginLeft = std::max(0, Box.MarginLeft == html::AutoValue ? 0 : Box.MarginLeft);
  Box.MarginRight = std::max(0, Box.MarginRight == html::AutoValue ? 0 : Box.MarginRight);
  IndentX = Box.LeftExtras();
  ContentWidth = std::max(0, indents.Width - IndentX - Box.RightExtras());
  ContentTop = args.y + MarginTop + Box.BorderTopWidth + Box.PaddingTop;
  ContentLeft = args.x + IndentX;
  HitTop = args.y + MarginTop;
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
  BoxBottom = ContentBottom + Box.PaddingBottom + Box.BorderBottomWidth;
  HitBottom = std::max(ContentBottom, ContentCell->DrawBottom) + Box.PaddingBottom +
              Box.BorderBottomWidth;
  SectionHeight = HitBottom + MarginBottom - args.y;
  DrawHeight = std::max(SectionHeight, indents.FloatBottom() - args.y);
  maxWidth = std::max(indents.Width,
                      std::max(innerMax, ContentWidth) + Box.LeftExtras() + Box.RightExtras());
  return SectionHeight;
}

}  // namespace tessival::layout
