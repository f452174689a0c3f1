#include "layout/section_base.h"

#include "layout/indent_manager.h"
#include "layout/section_list.h"

namespace tessival::layout {

std::unique_ptr<TSectionBase> TSectionBase::Clone(TSectionList* document) const {
  auto copy = std::make_unique<TSectionBase>(document);
  copy->SectionHeight = SectionHeight;
  copy->DrawHeight = DrawHeight;
  copy->StartPos = StartPos;
  copy->Length = Length;
  copy->ZIndex = ZIndex;
  return copy;
}

int TSectionBase::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  StartPos = pos;
  DrawHeight = SectionHeight;
  maxWidth = indents.Width;
  AnchorTop = HitTop = Top = args.y;
  ContentLeft = args.x;
  ContentBottom = args.y + SectionHeight;
  HitBottom = args.y + DrawHeight;
  return SectionHeight;
}

int TSectionBase::Paint(platform::Canvas&, const platform::Rect&, int, int, int, IndentManager&) {
  return Top + SectionHeight;
}

int TSectionBase::FindLink(platform::Canvas&, int, std::string&, TFormControlObj*&,
                           std::unique_ptr<html::TUrlTarget>&, int) {
  return 0;
}

bool TSectionBase::FindImageAt(int, int, int&, int&, TImageObj*&) { return false; }

int TSectionBase::PositionAtPoint(platform::Canvas&, int, int, bool&, int&, int&, int&) { return -1; }

int TSectionBase::FindText(int, std::string_view, bool) { return -1; }

int TSectionBase::DocPosOf(int, SearchDirection) const { return -1; }

bool TSectionBase::PointOfPosition(platform::Canvas*, int, int&, int&) { return false; }

bool TSectionBase::CharAt(int, char&, const TSectionBase*&) const { return false; }

void TSectionBase::GetWidthRange(platform::Canvas&, int& minWidth, int& maxWidth) {
  minWidth = 0;
  maxWidth = 0;
}

void TSectionBase::RegisterPositions() { Document->PositionList.push_back(this); }

}  // namespace tessival::layout
