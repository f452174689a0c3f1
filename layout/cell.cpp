#include "layout/cell.h"

#include <algorithm>

#include "layout/section_list.h"
#include "layout/text_section.h"

namespace tessival::layout {

TCellBasic::TCellBasic(TSectionList* document, std::string ownerTag)
    : Document(document), OwnerTag(std::move(ownerTag)) {}

TCellBasic::~TCellBasic() = default;

TSectionBase* TCellBasic::AddSection(std::unique_ptr<TSectionBase> section) {
  if (!section) return nullptr;
  if (auto* text = dynamic_cast<TSection*>(section.get())) {
    text->OwnerCell = this;
    text->FinishText();
    if (text->IsDroppable()) {
      // The runs leave the link list and the anchor its name as the section goes.
      for (const auto& run : text->Fonts().Runs())
        if (run->IsLinkRun() && Document) Document->RemoveLinkRun(*run);
      if (Document && !Document->IsCopy) Document->IDNameList.RemoveObject(text);
      return nullptr;
    }
  }
  section->Document = Document;
  Sections.push_back(std::move(section));
  return Sections.back().get();
}

namespace {

// What the document still knows of a section that goes: its names, its link runs and its
// place in the position list, for it and everything inside it.
void ForgetSection(TSectionList& document, const TSectionBase& section) {
  if (!document.IsCopy) document.IDNameList.RemoveObject(&section);
  std::erase(document.PositionList, &section);
  if (const auto* text = dynamic_cast<const TSection*>(&section))
    for (const auto& run : text->Fonts().Runs())
      if (run->Listed) document.RemoveLinkRun(*run);
  if (const TCellBasic* cell = section.ChildCell())
    for (const auto& child : cell->Items()) ForgetSection(document, *child);
}

}  // namespace

void TCellBasic::DeleteSection(const TSectionBase* section) {
  const auto found = std::find_if(Sections.begin(), Sections.end(),
                                  [section](const auto& item) { return item.get() == section; });
  if (found == Sections.end()) return;
  if (Document) ForgetSection(*Document, **found);
  Sections.erase(found);
}

TSectionBase* TCellBasic::LastFlowSection() const {
  for (auto it = Sections.rbegin(); it != Sections.rend(); ++it)
    if (!(*it)->IsAbsolutelyPositioned()) return it->get();
  return nullptr;
}

void TCellBasic::ReportProcessError(const TSectionBase* section, const EProcessError& error) {
  if (Document) Document->ShowError(error.what());
  DeleteSection(section);
}

int TCellBasic::DoLayout(const LayoutArgs& args, int& pos, int& maxWidth) {
  StartY = args.y;
  StartPos = pos;
  maxWidth = 0;
  ContentBottom = args.y;
  MinHitTop = NotLaidOut;
  DrawBottom = args.y;
  int height = 0;
  for (std::size_t i = 0; i < Sections.size();) {
    TSectionBase& section = *Sections[i];
    LayoutArgs sectionArgs = args;
    sectionArgs.y = args.y + height;
    int sectionMax = 0;
    try {
      height += section.Layout(sectionArgs, pos, sectionMax, *Indents);
    } catch (const EProcessError& error) {
      ReportProcessError(&section, error);
      continue;  // the next section moved into this slot
    }
    maxWidth = std::max(maxWidth, sectionMax);
    if (!section.IsAbsolutelyPositioned())
      ContentBottom = std::max(ContentBottom, section.ContentBottom);
    MinHitTop = std::min(MinHitTop, section.HitTop);
    DrawBottom = std::max(DrawBottom, section.HitBottom);
    ++i;
  }
  if (MinHitTop == NotLaidOut) MinHitTop = args.y;
  Length = pos - StartPos;
  SectionsHeight = height;
  return height;
}

void TCellBasic::GetWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth) {
  minWidth = 0;
  maxWidth = 0;
  for (const auto& section : Sections) {
    int sectionMin = 0, sectionMax = 0;
    section->GetWidthRange(canvas, sectionMin, sectionMax);
    minWidth = std::max(minWidth, sectionMin);
    maxWidth = std::max(maxWidth, sectionMax);
  }
}

int TCellBasic::Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft,
                      int x) {
  int bottom = StartY;
  for (const auto& section : Sections)
    bottom = section->Paint(canvas, clip, refTop, refLeft, x, *Indents);
  return bottom;
}

int TCellBasic::FindLink(platform::Canvas& canvas, int x, std::string& title,
                         TFormControlObj*& formControl, std::unique_ptr<html::TUrlTarget>& urlTarget,
                         int y) {
  for (const auto& section : Sections) {
    if (y < section->HitTop || y >= section->HitBottom) continue;
    if (const int found = section->FindLink(canvas, x, title, formControl, urlTarget, y)) return found;
  }
  return 0;
}

bool TCellBasic::FindImageAt(int x, int y, int& localX, int& localY, TImageObj*& image) {
  for (const auto& section : Sections) {
    if (y < section->HitTop || y >= section->HitBottom) continue;
    if (section->FindImageAt(x, y, localX, localY, image)) return true;
  }
  return false;
}

int TCellBasic::PositionAtPoint(platform::Canvas& canvas, int x, int y, bool& insideText,
                                int& lineHeight, int& lineTop, int& charX) {
  for (const auto& section : Sections) {
    if (y < section->HitTop || y >= section->HitBottom) continue;
    const int pos = section->PositionAtPoint(canvas, x, y, insideText, lineHeight, lineTop, charX);
    if (pos >= 0) return pos;
  }
  return -1;
}

int TCellBasic::FindText(int fromPos, std::string_view text, bool matchCase) {
  for (const auto& section : Sections) {
    if (section->StartPos + section->Length <= fromPos) continue;
    const int found = section->FindText(fromPos, text, matchCase);
    if (found >= 0) return found;
  }
  return -1;
}

int TCellBasic::SourcePosOf(int docPos) const {
  if (!CoversPosition(docPos)) return -1;
  for (const auto& section : Sections) {
    const int found = section->SourcePosOf(docPos);
    if (found >= 0) return found;
  }
  return -1;
}

int TCellBasic::DocPosOf(int sourcePos, SearchDirection direction) const {
  const auto ask = [&](const auto& section) { return section->DocPosOf(sourcePos, direction); };
  if (direction == SearchDirection::Forward) {
    for (const auto& section : Sections)
      if (const int found = ask(section); found >= 0) return found;
  } else {
    for (auto it = Sections.rbegin(); it != Sections.rend(); ++it)
      if (const int found = ask(*it); found >= 0) return found;
  }
  return -1;
}

bool TCellBasic::PointOfPosition(platform::Canvas* canvas, int pos, int& y, int& x) {
  if (!CoversPosition(pos)) return false;
  for (const auto& section : Sections)
    if (section->PointOfPosition(canvas, pos, y, x)) return true;
  return false;
}

bool TCellBasic::CharAt(int pos, char& ch, const TSectionBase*& section) const {
  if (!CoversPosition(pos)) return false;
  for (const auto& item : Sections)
    if (item->CharAt(pos, ch, section)) return true;
  return false;
}

void TCellBasic::CopySelection() {
  if (!Document) return;
  for (const auto& section : Sections) {
    const int start = section->StartPos;
    const int end = start + section->Length;
    if (end > Document->SelStart && start < Document->SelEnd) section->CopySelection();
  }
}

void TCellBasic::RegisterPositions() {
  for (const auto& section : Sections) section->RegisterPositions();
}

TCell::TCell(TSectionList* document, std::string ownerTag) : TCellBasic(document, std::move(ownerTag)) {
  Indents = &OwnIndents;
}

int TCell::DoLayout(const LayoutArgs& args, int& pos, int& maxWidth) {
  OwnIndents.Clear();
  OwnIndents.Reset(0, args.availWidth);
  OwnIndents.Width = args.availWidth;
  LaidOutWidth = args.availWidth;
  ScopedIndentOwner owner(OwnIndents, this);
  const int left = OwnIndents.PushLeft(0, args.y);
  const int right = OwnIndents.PushRight(args.availWidth, args.y);
  const int height = TCellBasic::DoLayout(args, pos, maxWidth);
  OwnIndents.PopRight(right);
  OwnIndents.PopLeft(left);
  return std::max(height, OwnIndents.FloatBottom() - args.y);
}

int TCell::Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
                 int limitWidth) {
  OwnIndents.Reset(x, x + LaidOutWidth);
  OwnIndents.Width = limitWidth;
  PaintY = StartY;
  return TCellBasic::Paint(canvas, clip, refTop, refLeft, x);
}

}  // namespace tessival::layout
