#include "layout/font_obj.h"

#include <algorithm>

namespace tessival::layout {

TFontObj::TFontObj(TSection* section, int pos, const html::TMyFont& font, std::string title)
    : Section(section), Pos(pos), Font(font), Title(std::move(title)) {
  UpdateLogical();
}

void TFontObj::SetFont(const html::TMyFont& font) {
  Font = font;
  UpdateLogical();
}

void TFontObj::SetVariants(std::shared_ptr<const html::TFontInfoArray> variants) {
  FontVariants = std::move(variants);
  SetHover(Hover);
}

void TFontObj::SetVisited(bool visited) {
  Visited = visited;
  SetHover(Hover);
}

void TFontObj::SetHover(bool hover) {
  Hover = hover;
  if (!FontVariants) return;
  const int state = (Visited ? html::lfVisited : 0) + (Hover ? html::lfHover : 0);
  SetFont(html::TMyFont::FromInfo((*FontVariants)[state]));
}

void TFontObj::UpdateLogical() {
  Logical.name = Font.Name;
  Logical.height = platform::PointsToPixels(Font.Size);
  Logical.style = static_cast<platform::TFontStyles>(Font.Style & 0x0F);
  Logical.color = Font.Color;
  Logical.charset = static_cast<std::uint8_t>(Font.Charset);
  realised_.reset();
}

const platform::RealisedFont& TFontObj::Realised(platform::Canvas& canvas) const {
  // Metrics differ between kinds of canvas (screen fonts, fixed test metrics), never
  // between two canvases of one kind.
  if (realised_ && realised_for_ == &typeid(canvas)) return *realised_;
  realised_ = canvas.RealiseFont(Logical);
  realised_for_ = &typeid(canvas);
  const platform::TextMetrics& tm = realised_->metrics;
  metrics_.FontHeight = tm.tmHeight + tm.tmExternalLeading;
  metrics_.TextHeight = tm.tmHeight;
  metrics_.MaxCharWidth = tm.tmMaxCharWidth;
  metrics_.Descent = tm.tmDescent;
  metrics_.Overhang = (Font.Style & html::fsItalic) ? tm.tmHeight / 10 : 0;
  return *realised_;
}

void TFontObj::Select(platform::Canvas& canvas) const {
  if (canvas.Font() == Logical) canvas.SetTextColor(Logical.color);
  else canvas.SelectFont(Logical);
}

TFontObj& TFontList::Add(std::unique_ptr<TFontObj> run) {
  runs_.push_back(std::move(run));
  return *runs_.back();
}

int TFontList::IndexAt(int offset) const {
  // Runs are in offset order: the last run starting at or before the offset.
  const auto after = std::upper_bound(runs_.begin(), runs_.end(), offset,
                                      [](int value, const std::unique_ptr<TFontObj>& run) {
                                        return value < run->Pos;
                                      });
  const auto index = static_cast<int>(after - runs_.begin()) - 1;
  return std::max(index, 0);
}

int TFontList::CharsToNextRun(int offset, int end) const {
  const int next = IndexAt(offset) + 1;
  if (next < Count()) return std::min(runs_[next]->Pos, end) - offset;
  return end - offset;
}

}  // namespace tessival::layout
