#include "layout/preformatted.h"

#include <algorithm>

#include "layout/section_list.h"

namespace tessival::layout {

void TPreFormated::AddPreText(const html::TokenObj& tokens, const html::TProperties& current) {
  // A space goes in as the non-breaking marker, which finishing passes over and turns
  // back into a space that may not break: so runs and leading spaces survive.
  html::TokenObj kept;
  const std::string_view text = tokens.Text();
  const auto& positions = tokens.Positions();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\t') {
      kept.AddChar(text[i] == ' ' ? NoBreakSpaceChar : text[i], positions[i]);
      continue;
    }
    // A tab moves on to the next tab stop, so columns written with tabs stay aligned.
    const std::size_t column = Text().size() + static_cast<std::size_t>(kept.Count());
    for (std::size_t c = column; c < NextTabStop(column); ++c)
      kept.AddChar(NoBreakSpaceChar, positions[i]);
  }
  AddTokens(kept, current, BreakRule::NoBreak);
}

std::unique_ptr<TSectionBase> TPreFormated::Clone(TSectionList* document) const {
  return TSection::Clone(document);
}

std::unique_ptr<TSection> TPreFormated::MakeBlank(TSectionList* document,
                                                  const html::TProperties& props) const {
  return std::make_unique<TPreFormated>(document, false, OwnerCell, nullptr, props, nullptr);
}

int TPreFormated::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  if (!Text().empty()) {
    const int height = TSection::Layout(args, pos, maxWidth, indents);
    int minWidth = 0, widest = 0;
    GetWidthRange(*args.canvas, minWidth, widest);
    maxWidth = std::max(maxWidth, widest);
    return height;
  }
  // An empty source line: the height of its font in points, and no line.
  const int height = Fonts().Runs().empty() ? 0 : Fonts().Runs().front()->Font.Size;
  TSection::Layout(args, pos, maxWidth, indents);
  SectionHeight = DrawHeight = height;
  ContentBottom = HitBottom = args.y + height;
  maxWidth = 0;
  return height;
}

void TPreFormated::GetWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth) {
  TSection::GetWidthRange(canvas, minWidth, maxWidth);
  minWidth = std::min(kMaxMinimumWidth, maxWidth);
}

std::unique_ptr<TSectionBase> TPage::Clone(TSectionList* document) const {
  return std::make_unique<TPage>(document);
}

int TPage::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  (void)indents;
  StartPos = pos;
  Length = 0;
  Top = AnchorTop = HitTop = HitBottom = ContentBottom = args.y;
  SectionHeight = DrawHeight = maxWidth = 0;
  return 0;
}

int TPage::Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
                 IndentManager& indents) {
  (void)canvas;
  (void)refTop;
  (void)refLeft;
  (void)x;
  (void)indents;
  if (!Document || !Document->Printing) return Top;
  // A break right at the top of a page would leave that page empty.
  constexpr int kMinimumPageLength = 5;
  const int windowY = Top - Document->YOffset;
  if (Top > Document->YOffset + kMinimumPageLength && windowY >= clip.top && windowY < clip.bottom &&
      Top < Document->PageBottom)
    Document->PageBottom = Top;
  return Top;
}

}  // namespace tessival::layout
