#pragma once
// The block around a table: it carries the table's alignment, width, height, spacing
// around floats and background, and holds the table as the only section of its content.
#include "layout/block.h"
#include "layout/html_table.h"

namespace tessival::layout {

enum TTableJustify : int { tjNone = 0, tjCenter = 2, tjRight = 3 };

class TTableBlock : public TBlock {
 public:
  static constexpr int MaxHSpace = 40;
  static constexpr int MaxVSpace = 200;

  // `topLevel` is false for a table inside another table's cell: only a table of the
  // first level takes a percent HEIGHT.
  TTableBlock(TCellBasic* ownerCell, const html::TProperties& props,
              const html::TAttributeList& attributes, bool topLevel);

  std::unique_ptr<TSectionBase> Clone(TSectionList* document) const override;
  int Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) override;
  int Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
            IndentManager& indents) override;
  void RegisterPositions() override;
  int ComputeContentWidth(platform::Canvas& canvas, int availWidth, int availHeight) override;
  const char* KindName() const override { return "TableBlock"; }

  ThtmlTable* Table = nullptr;  // owned by the content cell
  int TableWidth = 0;           // pixels, or per mille with WidthIsPercent
  bool WidthIsPercent = false;
  int TableHeight = 0;  // pixels, or per mille with HeightIsPercent
  bool HeightIsPercent = false;
  int Justify = tjNone;
  int HSpace = 3;
  int VSpace = 0;
  platform::TColor BgColor = html::NoColor;
  int ShiftX = 0;  // how far the block moved right beside floats at the last layout

 private:
  TTableBlock(TSectionList* document, const TTableBlock& source);
};

}  // namespace tessival::layout
