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

void TFontObj::SetVariants(const html::TFontInfoArray& variants) {
  FontVariants = variants;
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
  metrics_valid_ = false;
}

void TFontObj::EnsureMetrics(platform::Canvas& canvas) const {
  if (metrics_valid_) return;
  const platform::LogFont previous = canvas.SelectFont(Logical);
  const platform::TextMetrics& tm = canvas.GetTextMetrics();
  metrics_.FontHeight = tm.tmHeight + tm.tmExternalLeading;
  metrics_.TextHeight = tm.tmHeight;
  metrics_.MaxCharWidth = tm.tmMaxCharWidth;
  metrics_.Descent = tm.tmDescent;
  metrics_.Overhang = (Font.Style & html::fsItalic) ? tm.tmHeight / 10 : 0;
  metrics_valid_ = true;
  canvas.SelectFont(previous);
}

void TFontObj::Select(platform::Canvas& canvas) const {
  canvas.SelectFont(Logical);
  if (!metrics_valid_) EnsureMetrics(canvas);
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
