#include "layout/layout_dump.h"

#include <algorithm>
#include <cstdio>

#include "layout/block_li.h"
#include "layout/horz_line.h"
#include "layout/html_table.h"
#include "layout/image_obj.h"
#include "layout/list_markers.h"
#include "layout/panel_obj.h"
#include "layout/section_list.h"
#include "layout/text_section.h"

namespace tessival::layout {
namespace {

void Indent(std::string& out, int depth) { out.append(2 * static_cast<std::size_t>(depth), ' '); }

std::string Quoted(const TSection& section, const LineRec& line) {
  std::string out = "\"";
  const std::string& text = section.Text();
  for (int i = line.Start; i < line.Start + line.Count; ++i) {
    const auto ch = static_cast<unsigned char>(text[i]);
    if (ch == LineBreakChar) out += "\\n";
    else if (ch == ' ' && !section.MayBreakAt(i)) out += '~';
    else if (ch == '"' || ch == '\\') (out += '\\') += static_cast<char>(ch);
    else if (ch < 0x20 || ch >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", ch);
      out += hex;
    } else out += static_cast<char>(ch);
  }
  return out + "\"";
}

std::string Format(const char* format, auto... values) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, format, values...);
  return buffer;
}

const char* AlignName(int align) {
  switch (align) {
    case oaTop: return "top";
    case oaMiddle: return "middle";
    case oaBaseline: return "baseline";
    case oaLeftFloat: return "left";
    case oaRightFloat: return "right";
    default: return "bottom";
  }
}

const LineRec* LineHolding(const TSection& section, int offset, int& lineTop) {
  lineTop = section.Top;
  for (const LineRec& line : section.Lines()) {
    if (offset >= line.Start && offset < line.Start + line.Count) return &line;
    lineTop += line.LineBottom;
  }
  return nullptr;
}

// Where an object's box stands: a float where it was placed, an inline object by its
// alignment in its line (and across, measured, only with a canvas).
void DumpObjectPlace(std::string& out, const TSection& section, const TFloatingObj& object,
                     platform::Canvas* canvas) {
  if (object.Floats()) {
    out += Format(" x=%d y=%d", object.FloatX, object.FloatY + object.VSpaceTop);
    return;
  }
  int bandTop = 0;
  const LineRec* line = LineHolding(section, object.Pos, bandTop);
  if (!line) return;
  const int lineTop = bandTop + line->SpaceBefore;
  const int baseline = lineTop + line->LineHeight - line->Descent;
  const int y = object.TopForLine(&section.Fonts().FontAt(object.Pos), baseline, lineTop);
  if (canvas) {
    const int x = section.ContentLeft + line->TextOffset +
                  section.WidthBefore(*canvas, *line, object.Pos) + object.HSpaceLeft;
    out += Format(" x=%d", x);
  }
  out += Format(" y=%d", y);
}

void DumpObjects(std::string& out, const TSection& section, int depth, platform::Canvas* canvas) {
  for (const auto& object : section.Objects()) {
    Indent(out, depth);
    const auto* image = dynamic_cast<const TImageObj*>(object.get());
    out += image ? "Image" : object->IsPanel() ? "Panel" : "Object";
    DumpObjectPlace(out, section, *object, canvas);
    out += Format(" w=%d h=%d align=%s", object->TotalWidth, object->TotalHeight,
                  AlignName(object->Align));
    if (object->HSpaceLeft || object->HSpaceRight)
      out += Format(" hspace=%d,%d", object->HSpaceLeft, object->HSpaceRight);
    if (object->VSpaceTop || object->VSpaceBottom)
      out += Format(" vspace=%d,%d", object->VSpaceTop, object->VSpaceBottom);
    if (image && image->HasLinkBorder) out += " border=1";
    out += '\n';
  }
}

void DumpText(std::string& out, const TSection& section, int depth, platform::Canvas* canvas) {
  int width = 0;
  for (const LineRec& line : section.Lines()) width = std::max(width, line.LineWidth);
  Indent(out, depth);
  out += Format("%s x=%d y=%d w=%d h=%d pos=%d len=%d\n", section.KindName(), section.ContentLeft,
                section.Top, width, section.SectionHeight, section.StartPos, section.Length);
  int top = section.Top;
  int number = 0;
  for (const LineRec& line : section.Lines()) {
    Indent(out, depth + 1);
    const int baseline = top + line.SpaceBefore + line.LineHeight - line.Descent;
    out += Format("line %d x=%d y=%d w=%d h=%d base=%d", number++, section.ContentLeft + line.TextOffset,
                  top + line.SpaceBefore, line.Width, line.LineHeight, baseline);
    if (line.SpaceBefore || line.SpaceAfter)
      out += Format(" above=%d below=%d", line.SpaceBefore, line.SpaceAfter);
    if (line.Extra) out += Format(" extra=%d/%d", line.Extra, line.Spaces);
    out += ' ';
    out += Quoted(section, line);
    out += '\n';
    top += line.LineBottom;
  }
  DumpObjects(out, section, depth + 1, canvas);
}

// The box beyond the top and bottom margins, where it is not plain: margins, borders and
// padding as left,top,right,bottom; floating, clearing and placing.
void DumpBox(std::string& out, const TBlock& block) {
  const TBlockBox& box = block.Box;
  // The body's side margins are the viewer's, the same on every page.
  const bool body = dynamic_cast<const TBodyBlock*>(&block) != nullptr;
  if (!body && (box.MarginLeft || box.MarginRight))
    out += Format(" ml=%d mr=%d", box.MarginLeft, box.MarginRight);
  if (box.BorderLeftWidth || box.BorderTopWidth || box.BorderRightWidth || box.BorderBottomWidth)
    out += Format(" border=%d,%d,%d,%d", box.BorderLeftWidth, box.BorderTopWidth, box.BorderRightWidth,
                  box.BorderBottomWidth);
  if (box.PaddingLeft || box.PaddingTop || box.PaddingRight || box.PaddingBottom)
    out += Format(" padding=%d,%d,%d,%d", box.PaddingLeft, box.PaddingTop, box.PaddingRight,
                  box.PaddingBottom);
  if (block.FloatSide == bfLeft) out += " float=left";
  if (block.FloatSide == bfRight) out += " float=right";
  if (block.ClearOffset) out += Format(" clear=%d", block.ClearOffset);
  if (block.Positioning == html::posAbsolute) out += Format(" absolute=%d,%d", box.PosLeft, box.PosTop);
  if (block.Positioning == html::posRelative) out += Format(" relative=%d,%d", box.PosLeft, box.PosTop);
  if (block.DisplayNone) out += " none";
  if (block.Hidden) out += " hidden";
}

void DumpMarker(std::string& out, const TBlockLI& item) {
  static constexpr const char* kShapes[] = {"", "circle", "", "disc", "", "", "", "square"};
  const std::string label = item.MarkerLabel();
  if (!label.empty()) out += " marker=\"" + label + "\"";
  else if (IsShapeMarker(item.ListStyle)) out += std::string(" marker=") + kShapes[item.ListStyle];
  if (item.FirstBaseline) out += Format(" base=%d", item.FirstBaseline);
}

void DumpCellInto(std::string& out, const TCellBasic& cell, int depth, platform::Canvas* canvas);

void DumpSection(std::string& out, const TSectionBase& section, int depth, platform::Canvas* canvas) {
  if (const auto* text = dynamic_cast<const TSection*>(&section)) {
    DumpText(out, *text, depth, canvas);
    return;
  }
  if (const auto* table = dynamic_cast<const ThtmlTable*>(&section)) {
    DumpTable(out, *table, depth, canvas);
    return;
  }
  Indent(out, depth);
  if (const auto* block = dynamic_cast<const TBlock*>(&section)) {
    out += section.KindName();
    if (!dynamic_cast<const TBodyBlock*>(block)) (out += ' ') += block->TagName;
    out += Format(" x=%d y=%d w=%d h=%d", block->ContentLeft, block->Top, block->ContentWidth,
                  block->SectionHeight);
    if (block->MarginTop || block->MarginBottom)
      out += Format(" mt=%d mb=%d", block->MarginTop, block->MarginBottom);
    DumpBox(out, *block);
    if (const auto* item = dynamic_cast<const TBlockLI*>(block)) DumpMarker(out, *item);
    out += '\n';
  } else if (const auto* rule = dynamic_cast<const THorzLine*>(&section)) {
    out += Format("Rule x=%d y=%d w=%d h=%d%s\n", rule->ContentLeft, rule->Top, rule->RuleWidth,
                  rule->RuleSize, rule->RuleColor != html::NoColor ? " solid" : "");
  } else {
    out += Format("%s x=%d y=%d h=%d\n", section.KindName(), section.ContentLeft, section.Top,
                  section.SectionHeight);
  }
  if (const TCellBasic* cell = section.ChildCell()) DumpCellInto(out, *cell, depth + 1, canvas);
}

// Everything goes into one string: returning a string per level would copy a deep tree's
// dump once for every level above it.
void DumpCellInto(std::string& out, const TCellBasic& cell, int depth, platform::Canvas* canvas) {
  for (const auto& section : cell.Items()) DumpSection(out, *section, depth, canvas);
}

}  // namespace

std::string DumpCell(const TCellBasic& cell, int depth, platform::Canvas* canvas) {
  std::string out;
  DumpCellInto(out, cell, depth, canvas);
  return out;
}

std::string DumpLayout(const TSectionList& document, platform::Canvas* canvas) {
  return DumpCell(document, 0, canvas);
}

}  // namespace tessival::layout
