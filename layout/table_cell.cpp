#include "layout/table_cell.h"

#include <algorithm>

#include "html/color_parser.h"
#include "html/text_util.h"
#include "layout/block_box.h"
#include "layout/section_list.h"
#include "layout/table_length.h"
#include "layout/table_widths.h"

namespace tessival::layout {
namespace {

// A colour attribute, or NoColor.
platform::TColor ColorAttribute(const html::TAttributeList& attributes, html::Symbol symbol) {
  const html::TAttribute* attr = attributes.Find(symbol);
  if (!attr) return html::NoColor;
  const auto color = html::ColorFromString(attr->StrValue, false);
  return color ? (*color | html::PaletteRelative) : html::NoColor;
}

platform::TColor ColorProperty(const html::TProperties& props, html::PropIndex index) {
  const int* color = html::AsInt(props.Prop(index));
  return color ? static_cast<platform::TColor>(*color) : html::NoColor;
}

bool IsGiven(const html::PropValue& value) {
  if (value.TextValue()) return true;
  const int* number = html::AsInt(value);
  return number && *number != html::UnsetValue && *number != html::AutoValue;
}

TPageBreaks PageBreaksOf(const html::TProperties& props) {
  return {props.PageBreakBefore(), props.PageBreakAfter(), props.PageBreakInsideAvoid()};
}

TBackgroundRef BackgroundOf(const html::TProperties& props, const html::TAttributeList* attributes) {
  TBackgroundRef ref;
  if (const auto url = props.BackgroundImage(); url && !url->empty()) ref.Url = *url;
  else if (const html::TAttribute* attr = attributes ? attributes->Find(html::BackgroundSy) : nullptr)
    ref.Url = attr->StrValue;
  if (!ref.Url.empty()) ref.Position = props.BackgroundPosition(props.EmSize, props.ExSize);
  return ref;
}

}  // namespace

TCellObj::TCellObj(TSectionList* document, const html::TProperties& props,
                   const html::TAttributeList& attributes, int valign)
    : Cell(std::make_unique<TCell>(document, props.PropTag)), VAlign(valign) {
  if (const html::TAttribute* span = attributes.Find(html::ColSpanSy); span && span->NumValue > 1)
    ColSpan = span->NumValue;
  if (const html::TAttribute* span = attributes.Find(html::RowSpanSy); span && span->NumValue > 1)
    RowSpan = span->NumValue;
  BackgroundColor = ColorProperty(props, html::piBackgroundColor);
  if (BackgroundColor == html::NoColor) BackgroundColor = ColorAttribute(attributes, html::BgColorSy);
  HasBackground = BackgroundColor != html::NoColor;
  BackgroundImage = BackgroundOf(props, &attributes);
  const TTableLength width = ReadTableLength(attributes.Find(html::WidthSy), 100);
  SpecWidth = width.Value;
  WidthIsPercent = width.Percent;
  // A "width" style below the whole width, or in pixels, wins over the attribute.
  if (const auto text = html::AsString(props.Prop(html::piWidth))) {
    const TTableLength styled = ReadTableLength(*text, 99);
    if (styled.Value > 0) {
      SpecWidth = styled.Value;
      WidthIsPercent = styled.Percent;
    }
  } else if (const int* pixels = html::AsInt(props.Prop(html::piWidth)); pixels && *pixels > 0) {
    SpecWidth = std::min(*pixels, kMaxTableLength);
    WidthIsPercent = false;
  }
  if (const html::TAttribute* height = attributes.Find(html::HeightSy); height && height->NumValue > 0)
    SpecHeight = std::min(height->NumValue, kMaxTableLength);
  const html::TBoxPixels box = props.BoxPixels(0);
  if (IsGiven(props.Prop(html::piHeight)))
    SpecHeight = std::clamp(box.Pixels[html::piHeight - html::BoxFirst], 0, kMaxTableLength);
  switch (props.VerticalAlign()) {
    case html::TAlignmentType::aTop: VAlign = cvTop; break;
    case html::TAlignmentType::aMiddle: VAlign = cvMiddle; break;
    case html::TAlignmentType::aBottom: VAlign = cvBottom; break;
    default: break;
  }
  PageBreaks = PageBreaksOf(props);
  ReadBox(props);
}

void TCellObj::ReadBox(const html::TProperties& props) {
  TGivenBox given;
  given.Values = props.GetVMarginArray();
  given.EmSize = props.EmSize;
  given.ExSize = props.ExSize;
  const TBlockBox box = ResolveBox(given, 0, 0, TBlockBox{});
  const auto padding = [&](html::PropIndex index, int resolved) {
    return IsGiven(props.Prop(index)) ? std::clamp(resolved, 0, kMaxBoxLength) : -1;
  };
  PadTop = padding(html::piPaddingTop, box.PaddingTop);
  PadRight = padding(html::piPaddingRight, box.PaddingRight);
  PadBottom = padding(html::piPaddingBottom, box.PaddingBottom);
  PadLeft = padding(html::piPaddingLeft, box.PaddingLeft);
  HasCellBorder = props.HasBorderStyle();
  if (HasCellBorder) {
    BorderTop = std::clamp(box.BorderTopWidth, 0, kMaxBoxLength);
    BorderRight = std::clamp(box.BorderRightWidth, 0, kMaxBoxLength);
    BorderBottom = std::clamp(box.BorderBottomWidth, 0, kMaxBoxLength);
    BorderLeft = std::clamp(box.BorderLeftWidth, 0, kMaxBoxLength);
    CellBorderColor = ColorProperty(props, html::piBorderColor);
  }
}

TCellObj::TCellObj(int colSpan, int rowSpan) : ColSpan(colSpan), RowSpan(rowSpan) {}

TCellObj::TCellObj(TSectionList* document, const TCellObj& source)
    : ColSpan(source.ColSpan),
      RowSpan(source.RowSpan),
      HasBackground(source.HasBackground),
      BackgroundColor(source.BackgroundColor),
      BackgroundImage(source.BackgroundImage),
      SpecWidth(source.SpecWidth),
      WidthIsPercent(source.WidthIsPercent),
      SpecHeight(source.SpecHeight),
      VAlign(source.VAlign),
      PadTop(source.PadTop),
      PadRight(source.PadRight),
      PadBottom(source.PadBottom),
      PadLeft(source.PadLeft),
      HasCellBorder(source.HasCellBorder),
      BorderTop(source.BorderTop),
      BorderRight(source.BorderRight),
      BorderBottom(source.BorderBottom),
      BorderLeft(source.BorderLeft),
      CellBorderColor(source.CellBorderColor),
      HzSpace(source.HzSpace),
      VrSpace(source.VrSpace),
      PageBreaks(source.PageBreaks) {
  if (!source.Cell) return;
  Cell = std::make_unique<TCell>(document, source.Cell->OwnerTag);
  for (const auto& section : source.Cell->Items()) Cell->AddSection(section->Clone(document));
}

TCellObj::~TCellObj() = default;

void TCellObj::ApplyTablePadding(int cellPadding) {
  for (int* pad : {&PadTop, &PadRight, &PadBottom, &PadLeft})
    if (*pad < 0) *pad = cellPadding;
  HzSpace = PadLeft + PadRight + BorderLeft + BorderRight;
  VrSpace = PadTop + PadBottom + BorderTop + BorderBottom;
}

void TCellObj::SizeBackground(platform::Canvas& canvas) {
  if (BackgroundImage.Url.empty() || !Cell || !Cell->Document || !Cell->Document->ShowImages) return;
  if (!BackgroundPicture)
    BackgroundPicture = std::make_unique<TBlockBackground>(Cell->Document, BackgroundImage);
  BackgroundPicture->Size(canvas);
}

TCellList::TCellList(const html::TProperties& props, const html::TAttributeList* attributes) {
  if (attributes) {
    if (const html::TAttribute* height = attributes->Find(html::HeightSy);
        height && height->NumValue > 0)
      RowHeight = std::min(height->NumValue, kMaxTableLength);
  }
  BackgroundColor = ColorProperty(props, html::piBackgroundColor);
  if (BackgroundColor == html::NoColor && attributes)
    BackgroundColor = ColorAttribute(*attributes, html::BgColorSy);
  HasBackground = BackgroundColor != html::NoColor;
  BackgroundImage = BackgroundOf(props, attributes);
  PageBreaks = PageBreaksOf(props);
}

}  // namespace tessival::layout
