#pragma once
// A horizontal rule: THorzLine is the line, THRBlock the block around it that gives it
// its width, margins and alignment.
#include <memory>

#include "layout/block.h"

namespace tessival::layout {

enum THorzAlign : int { haLeft = 1, haCenter = 2, haRight = 3 };

class THorzLine : public TSectionBase {
 public:
  // Reads SIZE, WIDTH, ALIGN, COLOR and NOSHADE; the size, width and colour are written
  // into the element's properties, so the block around the line sizes its box from them.
  THorzLine(TSectionList* document, const html::TAttributeList& attributes, html::TProperties& props);

  std::unique_ptr<TSectionBase> Clone(TSectionList* document) const override;
  void CopySelection() override;
  int Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) override;
  int Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
            IndentManager& indents) override;
  const char* KindName() const override { return "Rule"; }

  static constexpr int kDefaultSize = 2;
  static constexpr int kMaxSize = 20;

  int RuleSize = kDefaultSize;
  int Align = haCenter;
  platform::TColor RuleColor = html::NoColor;
  bool NoShade = false;
  // Layout results: the line's x (relative to the x it was given) and width.
  int RuleX = 0;
  int RuleWidth = 0;

 private:
  THorzLine(TSectionList* document, const THorzLine& source);
  void PaintEngraved(platform::Canvas& canvas, const platform::Rect& rect) const;
};

class THRBlock : public TBlock {
 public:
  // Takes the line into its content cell.
  THRBlock(TCellBasic* ownerCell, const html::TProperties& props, std::unique_ptr<THorzLine> line);

  std::unique_ptr<TSectionBase> Clone(TSectionList* document) const override;
  int ComputeContentWidth(platform::Canvas& canvas, int availWidth, int availHeight) override;
  const char* KindName() const override { return "RuleBlock"; }

  int Align = haCenter;
  THorzLine* Line;  // in the content cell

 private:
  THRBlock(TSectionList* document, const THRBlock& source);
};

}  // namespace tessival::layout
