#include "layout/block_li.h"

#include "html/attribute_list.h"
#include "layout/image_obj.h"
#include "layout/list_markers.h"
#include "layout/section_list.h"

namespace tessival::layout {
namespace {

html::TListStyleType OrderedStyle(char numbering) {
  switch (numbering) {
    case 'A': return html::lbUpperAlpha;
    case 'I': return html::lbUpperRoman;
    case 'a': return html::lbLowerAlpha;
    case 'i': return html::lbLowerRoman;
    default: return html::lbDecimal;
  }
}

html::TListStyleType BulletOfLevel(int level) {
  switch (level % 3) {
    case 1: return html::lbDisc;
    case 2: return html::lbCircle;
    default: return html::lbSquare;
  }
}

// A marker drawn this far above or below the visible rows may still show part of itself
// (a tall first line can put the baseline outside while the item is on screen).
constexpr int MarkerClipSlack = 50;
// An item outside any list gets this much room for its bullet.
constexpr int LooseItemIndent = 16;
// A picture marker stands this far left of the item's content.
constexpr int MarkerImageIndent = 16;

}  // namespace

TBlockLI::TBlockLI(TCellBasic* ownerCell, const html::TProperties& props,
                   const html::TAttributeList* attributes, const TListItemInfo& info)
    : TBlock(ownerCell, props, attributes), ListType(info.Kind), ListNumber(info.Number) {
  switch (info.Kind) {
    case lkOrdered: ListStyle = OrderedStyle(info.Numbering); break;
    case lkUnordered: ListStyle = info.Plain ? html::lbNone : BulletOfLevel(info.Level); break;
    case lkDefinition: ListStyle = html::lbBlank; break;
    default: {
      ListStyle = html::lbDisc;
      const html::PropValue& left = Given->Values[html::piMarginLeft - html::BoxFirst];
      const int* number = html::AsInt(left);
      const bool unset = html::IsEmpty(left) ||
                         (number && (*number == html::UnsetValue || *number == 0));
      if (unset) {
        TGivenBox indented = *Given;
        indented.Values[html::piMarginLeft - html::BoxFirst] = LooseItemIndent;
        SetGivenBox(indented);
        MarginLeft = LooseItemIndent;
      }
      break;
    }
  }
  if (const html::TListStyleType style = props.ListStyleType(); style != html::lbBlank)
    ListStyle = style;
  if (const auto url = props.ListStyleImage(); url && !url->empty()) MarkerImageUrl = *url;
  MarkerFont = std::make_unique<TFontObj>(nullptr, 0, props.GetFont(), std::string());
}

TBlockLI::~TBlockLI() = default;

TBlockLI::TBlockLI(TSectionList* document, const TBlockLI& source)
    : TBlock(document, source),
      ListType(source.ListType),
      ListNumber(source.ListNumber),
      ListStyle(source.ListStyle),
      MarkerFont(std::make_unique<TFontObj>(nullptr, 0, source.MarkerFont->Font, std::string())),
      MarkerImageUrl(source.MarkerImageUrl) {}

std::unique_ptr<TSectionBase> TBlockLI::Clone(TSectionList* document) const {
  return std::unique_ptr<TBlockLI>(new TBlockLI(document, *this));
}

int TBlockLI::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  SizeMarkerImage(*args.canvas);
  FirstBaseline = 0;
  if (Document) Document->FirstLineHeight = &FirstBaseline;
  const int height = TBlock::Layout(args, pos, maxWidth, indents);
  if (Document) Document->FirstLineHeight = nullptr;
  return height;
}

void TBlockLI::SizeMarkerImage(platform::Canvas& canvas) {
  if (MarkerImageUrl.empty() || !Document || !Document->ShowImages) return;
  if (!MarkerImage) {
    MarkerImage = std::make_unique<TImageObj>(Document, 0, html::TAttributeList{});
    MarkerImage->Source = MarkerImageUrl;
  }
  // Sized again while it is not a picture: a delivered one takes its own size.
  if (!MarkerImage->SizeKnown) MarkerImage->Size(canvas, 0, nullptr);
}

bool TBlockLI::PaintMarkerImage(platform::Canvas& canvas, int baseline) {
  if (!MarkerImage || !Document || !Document->ShowImages ||
      MarkerImage->State() != TImageState::kPicture)
    return false;
  // Bottom-aligned: the picture's bottom sits on the baseline.
  MarkerImage->Paint(canvas, PaintLeft - MarkerImageIndent, nullptr, baseline, baseline);
  return true;
}

std::string TBlockLI::MarkerLabel() const {
  if (ListType == lkDefinition || IsShapeMarker(ListStyle)) return {};
  switch (ListStyle) {
    case html::lbDecimal:
    case html::lbLowerAlpha:
    case html::lbUpperAlpha:
    case html::lbLowerRoman:
    case html::lbUpperRoman: return MarkerText(ListStyle, ListNumber);
    default: return {};
  }
}

int TBlockLI::Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
                    IndentManager& indents) {
  const int below = TBlock::Paint(canvas, clip, refTop, refLeft, x, indents);
  if (DisplayNone || Hidden || FirstBaseline <= 0) return below;
  const int y = FirstBaseline - (Document ? Document->YOffset : 0);
  if (y < clip.top - MarkerClipSlack || y > clip.bottom + MarkerClipSlack) return below;
  // A picture marker shows in any list, definition lists too; the drawn kinds do not.
  if (PaintMarkerImage(canvas, y) || ListType == lkDefinition) return below;
  const platform::LogFont& font = MarkerFont->LogicalFont();
  if (IsShapeMarker(ListStyle)) {
    DrawMarkerShape(canvas, ListStyle, PaintLeft, y, font.color & 0xFFFFFF);
    return below;
  }
  const std::string label = MarkerLabel();
  if (label.empty()) return below;
  const platform::LogFont oldFont = canvas.SelectFont(font);
  const platform::BkMode oldMode = canvas.SetBkMode(platform::BkMode::TRANSPARENT);
  const unsigned oldAlign = canvas.SetTextAlign(platform::TA_BASELINE);
  const int width = canvas.GetTextExtentPoint32(label).cx;
  canvas.TextOut(PaintLeft - 10 - width, y, label);
  canvas.SetTextAlign(oldAlign);
  canvas.SetBkMode(oldMode);
  canvas.SelectFont(oldFont);
  return below;
}

}  // namespace tessival::layout
