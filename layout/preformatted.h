#pragma once
// Preformatted text: one source line per section, its spaces kept as written and never
// wrapped. A long line widens the document instead.
#include <cstddef>
#include <memory>

#include "layout/text_section.h"

namespace tessival::layout {

class TPreFormated : public TSection {
 public:
  using TSection::TSection;

  // The reader's characters, every space kept and no break allowed anywhere.
  void AddPreText(const html::TokenObj& tokens, const html::TProperties& current);

  // An empty line still takes its height.
  bool IsDroppable() const override { return false; }
  std::unique_ptr<TSectionBase> Clone(TSectionList* document) const override;
  int Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) override;
  void GetWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth) override;
  const char* KindName() const override { return "Pre"; }

  // A line wider than this asks no more than this of a table cell's minimum.
  static constexpr int kMaxMinimumWidth = 2000;
  // Tab stops fall on every eighth column of a line.
  static constexpr std::size_t kTabWidth = 8;
  // The column a tab at `column` moves on to; plain-text pages line up at the same stops.
  static constexpr std::size_t NextTabStop(std::size_t column) {
    return (column / kTabWidth + 1) * kTabWidth;
  }

 protected:
  std::unique_ptr<TSection> MakeBlank(TSectionList* document,
                                      const html::TProperties& props) const override;
};

// A page break for printing; it takes no room on the screen.
class TPage : public TSectionBase {
 public:
  using TSectionBase::TSectionBase;
  std::unique_ptr<TSectionBase> Clone(TSectionList* document) const override;
  int Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) override;
  int Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
            IndentManager& indents) override;
  const char* KindName() const override { return "Page"; }
};

}  // namespace tessival::layout
