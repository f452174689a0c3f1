#pragma once
// Font runs of a text section: from an offset on, the characters use this font, belong to
// this link and carry this title.
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

#include "html/font_info.h"
#include "html/my_font.h"
#include "html/url_target.h"
#include "platform/canvas.h"
#include "platform/font.h"

namespace tessival::layout {

class TSection;

// Where the tag reader's sub/superscript state puts a run.
enum class TVShift { vsNone = 0, vsLowered = 1, vsRaised = 2 };

class TFontObj {
 public:
  TFontObj(TSection* section, int pos, const html::TMyFont& font, std::string title);

  // Replaces the font (the run keeps its place, link and title); the metrics are taken
  // again at the next use.
  void SetFont(const html::TMyFont& font);
  // A link run's four looks; without them the run shows its own font whatever the state.
  // Runs of one link share them.
  void SetVariants(std::shared_ptr<const html::TFontInfoArray> variants);
  void DropVariants() { FontVariants.reset(); }
  bool IsLinkRun() const { return !UrlTarget.Url().empty(); }
  void SetVisited(bool visited);
  void SetHover(bool hover);

  // Selects the run's font on the canvas (only the text colour when it is selected).
  void Select(platform::Canvas& canvas) const;
  // The run's font as this kind of canvas realises it, for measuring without selecting;
  // kept until the font changes. Takes the metrics too.
  const platform::RealisedFont& Realised(platform::Canvas& canvas) const;
  void EnsureMetrics(platform::Canvas& canvas) const { Realised(canvas); }
  const platform::LogFont& LogicalFont() const { return Logical; }

  TSection* Section;  // not owned
  int Pos;            // offset of the run's first character in its section
  html::TMyFont Font;
  std::shared_ptr<const html::TFontInfoArray> FontVariants;
  bool Visited = false;
  bool Hover = false;
  TVShift VShift = TVShift::vsNone;
  html::TUrlTarget UrlTarget;
  std::string Title;
  bool Listed = false;  // in the document's link-font list

  // Metrics (valid after EnsureMetrics).
  int FontHeight() const { return Metrics().FontHeight; }
  int TextHeight() const { return Metrics().TextHeight; }
  int MaxCharWidth() const { return Metrics().MaxCharWidth; }
  int Descent() const { return Metrics().Descent; }
  int Overhang() const { return Metrics().Overhang; }

 private:
  struct RunMetrics {
    int FontHeight = 0;  // height + external leading
    int TextHeight = 0;
    int MaxCharWidth = 0;
    int Descent = 0;
    int Overhang = 0;  // italic fonts lean past their advance
  };
  const RunMetrics& Metrics() const { return metrics_; }
  void UpdateLogical();

  platform::LogFont Logical;
  mutable RunMetrics metrics_;
  mutable std::shared_ptr<const platform::RealisedFont> realised_;
  mutable const std::type_info* realised_for_ = nullptr;  // the kind of canvas
};

// The runs of one section in offset order; every offset belongs to the last run starting
// at or before it.
class TFontList {
 public:
  int Count() const { return static_cast<int>(runs_.size()); }
  TFontObj& operator[](int index) { return *runs_[index]; }
  const TFontObj& operator[](int index) const { return *runs_[index]; }
  TFontObj& Last() { return *runs_.back(); }
  const TFontObj& Last() const { return *runs_.back(); }
  TFontObj& Add(std::unique_ptr<TFontObj> run);
  // The index of the run holding an offset (0 for offsets before the first run).
  int IndexAt(int offset) const;
  const TFontObj& FontAt(int offset) const { return *runs_[IndexAt(offset)]; }
  // Characters from `offset` to the start of the next run, or to `end`.
  int CharsToNextRun(int offset, int end) const;
  // Removes the runs for which `drop` is true, keeping the order of the others.
  template <typename Drop>
  void RemoveIf(Drop drop) {
    std::erase_if(runs_, [&](const std::unique_ptr<TFontObj>& run) { return drop(*run); });
  }
  const std::vector<std::unique_ptr<TFontObj>>& Runs() const { return runs_; }

 private:
  std::vector<std::unique_ptr<TFontObj>> runs_;
};

}  // namespace tessival::layout
