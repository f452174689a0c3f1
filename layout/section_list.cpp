#include "layout/section_list.h"

#include <algorithm>

#include "layout/form_control_obj.h"
#include "layout/image_obj.h"
#include "layout/text_section.h"
#include "platform/program_palette.h"
#include "platform/scope_exit.h"

namespace tessival::layout {

TSectionList::TSectionList(platform::MessageBoxes* messages, bool isCopy)
    : TCell(this, "default"), IsCopy(isCopy), Messages(messages) {}

TSectionList::~TSectionList() {
  // Sections go first: they still reach the document's lists while they are freed.
  Sections.clear();
  AnimationList.clear();
  FormControlList.clear();
  FormList.clear();
}

void TSectionList::SetFonts(const html::TStyleDefaults& defaults, platform::TColor background,
                            bool overLinksActive) {
  Styles.Initialize(defaults);
  PreFontName = defaults.PreFontName.substr(0, 32);
  LinkUnderline = defaults.UnderlineLinks;
  LinksActive = overLinksActive;
  Background = background;
}

void TSectionList::Clear() {
  Sections.clear();
  FormControlList.clear();
  FormList.clear();
  AnimationList.clear();
  AnimationTimer.reset();
  AnimationTicked = false;
  MapList.clear();
  Images.Clear();
  BackgroundUrl.clear();
  BackgroundTried = false;
  BackgroundBitmap = BackgroundMask = nullptr;
  BackgroundFrame.reset();
  LinkFonts.clear();
  SharedVariants.Clear();
  SharedGivenBoxes.Clear();
  PositionList.clear();
  DrawList.clear();
  if (!IsCopy) {
    IDNameList.Clear();
    Styles.Clear();
  }
  ActiveLinkFont = nullptr;
  ActiveImage = nullptr;
  SelStart = SelEnd = 0;
  SectionCount = 0;
  Length = 0;
}

int TSectionList::Layout(platform::Canvas& canvas, int y, int& pos, int& maxWidth, int availHeight,
                         int availWidth) {
  ++LayoutCount;
  StopAnimationTimer();
  SizeFormControls(canvas);
  canvas.SetTextJustification(0, 0);
  LayoutArgs args;
  args.canvas = &canvas;
  args.x = 0;
  args.y = y;
  args.availHeight = availHeight;
  args.availWidth = availWidth;
  const int height = TCell::DoLayout(args, pos, maxWidth);
  if (!IsCopy) HideOrParkControls();
  if (!IsCopy && PositionList.empty()) RegisterPositions();
  StartAnimationTimer();
  return height;
}

int TSectionList::Paint(platform::Canvas& canvas, const platform::Rect& clip, int x, int limitWidth) {
  PageBottom = YOffset + clip.bottom;
  PageShortened = false;
  StopAnimationTimer();
  const platform::TPalette* palette = platform::ProgramPalette();
  const platform::TPalette* oldPalette = nullptr;
  if (palette) {
    oldPalette = canvas.SelectPalette(palette);
    canvas.RealizePalette();
  }
  DrawList.clear();
  int bottom = 0;
  {
    const platform::ScopeExit restorePalette([&] {
      if (palette) canvas.SelectPalette(oldPalette);
    });
    bottom = TCell::Paint(canvas, clip, 0, 0, x, limitWidth);
    // Floating pictures lie on top of the text beside them.
    for (const TImageRec& rec : DrawList)
      rec.Image->Paint(*rec.Canvas, rec.X, rec.FontObj, rec.YBaseline, rec.Y);
    DrawList.clear();
  }
  // Panels that scrolled out of the pass are not left standing where they were.
  if (ScrollPending && !Printing) {
    HideOrParkControls();
    for (TPanelObj* panel : PanelList)
      if (!panel->Shown) panel->Panel().SetVisible(false);
  }
  ScrollPending = false;
  StartAnimationTimer();
  return bottom;
}

void TSectionList::SetYOffset(int y) {
  YOffset = y;
  ScrollPending = true;
  for (TPanelObj* panel : PanelList) panel->Shown = false;
  for (TFormControlObj* control : FormControlList) control->Shown = false;
}

void TSectionList::LightLink(TFontObj* run, bool hover) {
  if (run) TSection::SetLinkHover(*run, hover);
}

int TSectionList::FindLink(platform::Canvas& canvas, int x, std::string& title,
                           TFormControlObj*& formControl, std::unique_ptr<html::TUrlTarget>& urlTarget,
                           int y) {
  TFontObj* previousLink = ActiveLinkFont;
  TImageObj* previousImage = ActiveImage;
  ActiveLinkFont = nullptr;
  ActiveImage = nullptr;
  const int found = TCellBasic::FindLink(canvas, x, title, formControl, urlTarget, y);
  if (previousImage != ActiveImage) {
    if (previousImage) previousImage->SetHoverState(hsNormal);
    if (ActiveImage) ActiveImage->SetHoverState(LeftButtonDown ? hsPressed : hsHover);
  }
  if (LinksActive && previousLink != ActiveLinkFont) {
    LightLink(previousLink, false);
    LightLink(ActiveLinkFont, true);
    if (OnInvalidate) OnInvalidate();
  }
  return found;
}

void TSectionList::ClearHover() {
  if (LinksActive && ActiveLinkFont) {
    LightLink(ActiveLinkFont, false);
    if (OnInvalidate) OnInvalidate();
  }
  if (ActiveImage) ActiveImage->SetHoverState(hsNormal);
  ActiveLinkFont = nullptr;
  ActiveImage = nullptr;
}

TSectionBase* TSectionList::FindSectionAtY(int y, int& sectionY, int& index) const {
  for (int i = static_cast<int>(PositionList.size()); i-- > 0;) {
    const int anchor = PositionList[i]->AnchorY();
    if (anchor <= y) {
      sectionY = anchor;
      index = i;
      return PositionList[i];
    }
  }
  return nullptr;
}

int TSectionList::DocPosOf(int sourcePos, SearchDirection direction) const {
  const int found = TCellBasic::DocPosOf(sourcePos, direction);
  return found >= 0 ? found : Length + 1;
}

std::optional<int> TSectionList::YOfSourcePos(std::int32_t sourcePos) const {
  const int docPos = TCellBasic::DocPosOf(sourcePos, SearchDirection::Forward);
  if (docPos < 0) return std::nullopt;
  int y = 0, x = 0;
  auto* self = const_cast<TSectionList*>(this);  // positions are read, nothing changes
  if (!self->TCellBasic::PointOfPosition(nullptr, docPos, y, x)) return std::nullopt;
  return y;
}

int TSectionList::CopySelectionTo(html::SelTextCount& buffer) {
  SelectionBuffer = &buffer;
  TCellBasic::CopySelection();
  SelectionBuffer = nullptr;
  return buffer.Terminate();
}

int TSectionList::GetSelLength() {
  if (SelStart >= SelEnd) return 0;
  html::SelTextCount counter;
  return CopySelectionTo(counter);
}

void TSectionList::CopyToClipboard() {
  if (SelStart >= SelEnd) return;
  html::ClipBuffer buffer;
  CopySelectionTo(buffer);
}

int TSectionList::GetSelTextBuf(char* buffer, int size) {
  if (size >= 1) buffer[0] = '\0';
  if (SelStart >= SelEnd) return 0;
  html::SelTextBuf target(buffer, size);
  return CopySelectionTo(target);
}

std::shared_ptr<const html::TFontInfoArray> TSectionList::ShareVariants(
    const html::TFontInfoArray& variants) {
  return SharedVariants.Share(variants);
}

std::shared_ptr<const TGivenBox> TSectionList::ShareGivenBox(const TGivenBox& box) {
  return SharedGivenBoxes.Share(box);
}

void TSectionList::AddLinkRun(TFontObj& run) {
  if (run.Listed) return;
  LinkFonts.push_back(&run);
  run.Listed = true;
}

void TSectionList::RemoveLinkRun(const TFontObj& run) {
  // Runs leave while their section is being finished: they are near the end.
  const auto at = std::find(LinkFonts.rbegin(), LinkFonts.rend(), &run);
  if (at != LinkFonts.rend()) LinkFonts.erase(std::next(at).base());
  const_cast<TFontObj&>(run).Listed = false;
  if (ActiveLinkFont == &run) ActiveLinkFont = nullptr;
}

void TSectionList::ReportSectionProgress(int sectionNumber) {
  if (IsCopy || !OnProgress || SectionCount <= 0 || sectionNumber % 50 != 0) return;
  OnProgress(LayoutProgressStage, ProgressBase + sectionNumber * (100 - ProgressBase) / SectionCount);
}

void TSectionList::ShowError(const std::string& message) const {
  if (Messages) Messages->ShowError(message);
}

}  // namespace tessival::layout
