#include "layout/text_section.h"

namespace tessival::layout {

void TSection::CopySelection() {}
int TSection::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  return TSectionBase::Layout(args, pos, maxWidth, indents);
}
int TSection::Paint(platform::Canvas&, const platform::Rect&, int, int, int, IndentManager&) {
  return Top + SectionHeight;
}
int TSection::FindLink(platform::Canvas&, int, std::string&, TFormControlObj*&,
                       std::unique_ptr<html::TUrlTarget>&, int) {
  return 0;
}
int TSection::PositionAtPoint(platform::Canvas&, int, int, bool&, int&, int&, int&) { return -1; }
int TSection::FindText(int, std::string_view, bool) { return -1; }
bool TSection::PointOfPosition(platform::Canvas*, int, int&, int&) { return false; }
void TSection::GetWidthRange(platform::Canvas&, int& minWidth, int& maxWidth) {
  minWidth = maxWidth = 0;
}
int TSection::TextWidth(platform::Canvas&, int, int, bool) const { return 0; }
void TSection::SetLinkHover(TFontObj& run, bool hover) { run.SetHover(hover); }

}  // namespace tessival::layout
