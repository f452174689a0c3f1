#include "layout/table_block.h"

#include <algorithm>

#include "html/color_parser.h"
#include "html/text_util.h"
#include "layout/section_list.h"
#include "layout/table_length.h"

namespace tessival::layout {

TTableBlock::TTableBlock(TCellBasic* ownerCell, const html::TProperties& props,
                         const html::TAttributeList& attributes, bool topLevel)
    : TBlock(ownerCell, props, attributes.Count() ? &attributes : nullptr) {
  auto table = std::make_unique<ThtmlTable>(Document, attributes);
  Table = table.get();
  ContentCell->AddSection(std::move(table));
  const TTableLength width = ReadTableLength(attributes.Find(html::WidthSy), 100);
  TableWidth = width.Value;
  WidthIsPercent = width.Percent;
  const TTableLength height = ReadTableLength(attributes.Find(html::HeightSy), topLevel ? 110 : 0);
  TableHeight = height.Value;
  HeightIsPercent = height.Percent;
  Table->WidthAttr = TableWidth;
  Table->WidthIsPercent = WidthIsPercent;
  if (const html::TAttribute* align = attributes.Find(html::AlignSy)) {
    const std::string side = html::ToLower(html::Trim(align->StrValue));
    if (side == "center") {
      Justify = tjCenter;
    } else if ((side == "left" || side == "right") && props.Float() == html::TFloatSide::fsNotGiven) {
      FloatSide = side == "left" ? bfLeft : bfRight;
      if (ZIndex == 0) ZIndex = 1;
    }
  }
  if (const html::TAttribute* space = attributes.Find(html::HSpaceSy))
    HSpace = std::clamp(space->NumValue, 0, MaxHSpace);
  if (const html::TAttribute* space = attributes.Find(html::VSpaceSy))
    VSpace = std::clamp(space->NumValue, 0, MaxVSpace);
  if (const html::TAttribute* color = attributes.Find(html::BgColorSy)) {
    if (const auto parsed = html::ColorFromString(color->StrValue, false))
      BgColor = *parsed | html::PaletteRelative;
  }
  if (BackgroundColor == html::NoColor) BackgroundColor = BgColor;
  if (BackgroundImage.Url.empty()) {
    if (const html::TAttribute* image = attributes.Find(html::BackgroundSy);
        image && !image->StrValue.empty()) {
      BackgroundImage.Url = image->StrValue;
      BackgroundImage.Position = props.BackgroundPosition(props.EmSize, props.ExSize);
    }
  }
}

TTableBlock::TTableBlock(TSectionList* document, const TTableBlock& source)
    : TBlock(document, source),
      TableWidth(source.TableWidth),
      WidthIsPercent(source.WidthIsPercent),
      TableHeight(source.TableHeight),
      HeightIsPercent(source.HeightIsPercent),
      Justify(source.Justify),
      HSpace(source.HSpace),
      VSpace(source.VSpace),
      BgColor(source.BgColor) {
  // The copied content cell holds the copied table.
  for (const auto& section : ContentCell->Items())
    if (auto* table = dynamic_cast<ThtmlTable*>(section.get())) Table = table;
}

std::unique_ptr<TSectionBase> TTableBlock::Clone(TSectionList* document) const {
  return std::unique_ptr<TTableBlock>(new TTableBlock(document, *this));
}

int TTableBlock::ComputeContentWidth(platform::Canvas& canvas, int availWidth, int availHeight) {
  if (Box.MarginLeft == html::AutoValue) Box.MarginLeft = 0;
  if (Box.MarginRight == html::AutoValue) Box.MarginRight = 0;
  if (IsFloating()) {
    if (Box.MarginLeft == 0) Box.MarginLeft = HSpace;
    if (Box.MarginRight == 0) Box.MarginRight = HSpace;
    if (MarginTop == 0) MarginTop = VSpace;
    if (MarginBottom == 0) MarginBottom = VSpace;
  }
  if (!Table) return 0;
  Table->HasBackground = BackgroundColor != html::NoColor && BackgroundImage.Url.empty();
  Table->BackgroundColor = BackgroundColor;
  int tableMin = 0, tableMax = 0;
  ContentWidthRange(canvas, tableMin, tableMax);
  const int extras = Box.MarginLeft + Box.MarginRight + Box.HorizontalExtras();
  int width = 0;
  bool given = true;
  if (Box.BoxWidth != html::AutoValue && Box.BoxWidth > 0) {
    width = std::min(Box.BoxWidth, kMaxTableLength);
  } else if (TableWidth > 0) {
    width = WidthIsPercent ? static_cast<int>(std::int64_t{availWidth} * TableWidth / kWholePercent)
                           : TableWidth;
    width = std::max(width, tableMin);
  } else {
    given = false;
    width = std::max(tableMin, std::min(tableMax, availWidth - extras));
  }
  Table->LayoutWidth = given ? width : 0;
  const int room = availWidth - width - extras;
  if (room > 0 && Box.MarginLeft == 0 && Box.MarginRight == 0) {
    if (Justify == tjCenter) Box.MarginLeft = room / 2;
    else if (Justify == tjRight) Box.MarginLeft = room;
  }
  int height = 0;
  if (Box.BoxHeight > 0) height = Box.BoxHeight;
  else if (TableHeight > 0)
    height = HeightIsPercent
                 ? static_cast<int>(std::int64_t{std::max(availHeight, 0)} * TableHeight / kWholePercent)
                 : TableHeight;
  Table->HeightAttr = std::min(height, kMaxTableLength);
  return width;
}

int TTableBlock::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  ShiftX = 0;
  // A table that cannot be laid out goes with its block, from the cell around it.
  if (Table) Table->Initialize();
  if (IsFloating() || Positioning != html::posStatic)
    return TBlock::Layout(args, pos, maxWidth, indents);
  // Beside floats: the table starts right of a left float and ends before a right one.
  LayoutArgs placed = args;
  placed.x = std::max(args.x, indents.LeftIndentAt(args.y));
  const int right = std::min(args.x + args.availWidth, indents.RightIndentAt(args.y));
  placed.availWidth = std::max(0, right - placed.x);
  ShiftX = placed.x - args.x;
  const int height = TBlock::Layout(placed, pos, maxWidth, indents);
  maxWidth += ShiftX;
  return height;
}

int TTableBlock::Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft,
                       int x, IndentManager& indents) {
  return TBlock::Paint(canvas, clip, refTop, refLeft, x + ShiftX, indents);
}

void TTableBlock::RegisterPositions() {
  if (Table && !DisplayNone) Table->RegisterPositions();
}

}  // namespace tessival::layout
