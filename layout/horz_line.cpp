#include "layout/horz_line.h"

#include <algorithm>
#include <string_view>

#include "html/color_parser.h"
#include "html/text_util.h"
#include "layout/section_list.h"

namespace tessival::layout {
namespace {

constexpr platform::TColor kButtonShadow = 0x808080;
constexpr platform::TColor kButtonHighlight = 0xFFFFFF;
constexpr platform::TColor kSilver = 0xC0C0C0;
constexpr platform::TColor kBlack = 0x000000;

int AlignOf(std::string_view text) {
  const std::string lower = html::ToLower(text);
  if (lower == "left") return haLeft;
  if (lower == "right") return haRight;
  return haCenter;
}

// The rule's own text-align, when its element (not a parent) set one.
int OwnTextAlign(const html::TProperties& props, int fallback) {
  if (!props.IsAssigned(html::piTextAlign)) return fallback;
  const auto text = html::AsString(props.Prop(html::piTextAlign));
  if (!text) return fallback;
  if (*text == "left") return haLeft;
  if (*text == "right") return haRight;
  if (*text == "center") return haCenter;
  return fallback;
}

void WriteWidth(const html::TAttribute& width, html::TProperties& props) {
  const std::string_view text = html::Trim(width.StrValue);
  if (width.NumValue < 1) return;
  if (text.find('%') != std::string_view::npos) {
    if (width.NumValue <= 100)
      props.AssignProperty(html::piWidth, html::PropValue(std::to_string(width.NumValue) + "%"));
    return;
  }
  props.AssignProperty(html::piWidth, html::PropValue(width.NumValue));
}

}  // namespace

THorzLine::THorzLine(TSectionList* document, const html::TAttributeList& attributes,
                     html::TProperties& props)
    : TSectionBase(document) {
  if (const html::TAttribute* size = attributes.Find(html::SizeSy);
      size && size->NumValue >= 1 && size->NumValue <= kMaxSize)
    RuleSize = size->NumValue;
  if (const html::TAttribute* align = attributes.Find(html::AlignSy)) Align = AlignOf(align->StrValue);
  Align = OwnTextAlign(props, Align);
  if (const html::TAttribute* color = attributes.Find(html::ColorSy)) {
    if (const auto parsed = html::ColorFromString(color->StrValue, false))
      props.AssignProperty(html::piColor, html::PropValue(static_cast<int>(*parsed)));
  }
  if (props.IsAssigned(html::piColor)) RuleColor = props.Color();
  NoShade = attributes.Find(html::NoShadeSy) != nullptr;
  if (const html::TAttribute* width = attributes.Find(html::WidthSy)) WriteWidth(*width, props);
  props.AssignProperty(html::piHeight, html::PropValue(RuleSize));
}

THorzLine::THorzLine(TSectionList* document, const THorzLine& source)
    : TSectionBase(document),
      RuleSize(source.RuleSize),
      Align(source.Align),
      RuleColor(source.RuleColor),
      NoShade(source.NoShade) {}

std::unique_ptr<TSectionBase> THorzLine::Clone(TSectionList* document) const {
  return std::unique_ptr<THorzLine>(new THorzLine(document, *this));
}

void THorzLine::CopySelection() {
  // A rule in a copied selection reads as a line end.
  if (Document && Document->SelectionBuffer) Document->SelectionBuffer->AddTextCR("", 0);
}

int THorzLine::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  (void)pos;
  StartPos = pos;
  Length = 0;
  Top = AnchorTop = HitTop = args.y;
  const int left = std::max(args.x, indents.LeftIndentAt(args.y));
  RuleWidth = std::max(0,
                       std::min(args.x + args.availWidth - left, indents.RightIndentAt(args.y) - left));
  RuleX = left - args.x;
  ContentLeft = left;
  maxWidth = RuleWidth;
  SectionHeight = DrawHeight = RuleSize;
  ContentBottom = HitBottom = args.y + RuleSize;
  return SectionHeight;
}

void THorzLine::PaintEngraved(platform::Canvas& canvas, const platform::Rect& rect) const {
  const TSectionList& document = *Document;
  platform::TColor shadow = kButtonShadow;
  platform::TColor light = (document.Background & 0xFFFFFF) == 0xFFFFFF || document.Printing
                               ? kSilver
                               : kButtonHighlight;
  if (NoShade || (document.Printing && document.PrintMonoBlack)) shadow = light = kBlack;
  const int width = rect.Width(), height = rect.Height();
  canvas.FillRect(platform::Rect::FromSize(rect.left, rect.top, width, 1), shadow);
  canvas.FillRect(platform::Rect::FromSize(rect.left, rect.top, 1, height), shadow);
  canvas.FillRect(platform::Rect::FromSize(rect.left, rect.bottom - 1, width, 1), light);
  canvas.FillRect(platform::Rect::FromSize(rect.right - 1, rect.top, 1, height), light);
}

int THorzLine::Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft,
                     int x, IndentManager& indents) {
  (void)refTop;
  (void)refLeft;
  (void)indents;
  const int below = Top + SectionHeight;
  if (!Document || RuleWidth <= 0) return below;
  const int top = Top - Document->YOffset;
  if (top >= clip.bottom || top + RuleSize <= clip.top) return below;
  if (Document->Printing && Top >= Document->PageBottom) return below;
  const platform::Rect rect = platform::Rect::FromSize(x + RuleX, top, RuleWidth, RuleSize);
  if (RuleColor != html::NoColor) canvas.FillRect(rect, RuleColor & 0xFFFFFF);
  else PaintEngraved(canvas, rect);
  return below;
}

THRBlock::THRBlock(TCellBasic* ownerCell, const html::TProperties& props,
                   std::unique_ptr<THorzLine> line)
    : TBlock(ownerCell, props, nullptr), Align(line->Align), Line(line.get()) {
  ContentCell->AddSection(std::move(line));
}

THRBlock::THRBlock(TSectionList* document, const THRBlock& source)
    : TBlock(document, source), Align(source.Align), Line(nullptr) {
  // The copied content cell holds the copied line.
  for (const auto& section : ContentCell->Items())
    if (auto* line = dynamic_cast<THorzLine*>(section.get())) Line = line;
}

std::unique_ptr<TSectionBase> THRBlock::Clone(TSectionList* document) const {
  return std::unique_ptr<THRBlock>(new THRBlock(document, *this));
}

int THRBlock::ComputeContentWidth(platform::Canvas& canvas, int availWidth, int availHeight) {
  (void)canvas;
  (void)availHeight;
  // An "auto" margin of a rule takes nothing: the alignment places it.
  if (Box.MarginLeft == html::AutoValue) Box.MarginLeft = 0;
  if (Box.MarginRight == html::AutoValue) Box.MarginRight = 0;
  const int extras = Box.MarginLeft + Box.MarginRight + Box.HorizontalExtras();
  const int room = availWidth - extras;
  const int width = Box.BoxWidth != html::AutoValue && Box.BoxWidth >= 1 ? std::min(Box.BoxWidth, room)
                                                                         : std::max(15, room);
  if (const int rest = availWidth - width - extras; rest > 0) {
    if (Align == haCenter) Box.MarginLeft += rest / 2;
    else if (Align == haRight) Box.MarginLeft += rest;
  }
  if (Line && Document && !Document->IsCopy) Box.BoxHeight = Line->RuleSize;
  return std::max(0, width);
}

}  // namespace tessival::layout
