#include "layout/panel_obj.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "layout/font_obj.h"
#include "layout/section_list.h"

namespace tessival::layout {
namespace {

// Where a panel is parked until its first paint, and its size until the page gives one.
constexpr int ParkedPosition = -4000;
constexpr int DefaultPanelWidth = 30;
constexpr int DefaultPanelHeight = 20;
constexpr int PrintTextInset = 15;

double RatioOf(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !std::isfinite(value)) return 0;  // not a number: no ratio
  return value;
}

}  // namespace

TPanelObj::TPanelObj(TSectionList* document, int pos, const html::TAttributeList& attributes)
    : TFloatingObj(pos, attributes, FloatSpace), Document(document) {
  for (std::size_t i = 0; i < attributes.Count(); ++i) {
    const html::TAttribute& attribute = attributes[i];
    switch (attribute.Symbol) {
      case html::NameSy: Name = attribute.StrValue; break;
      case html::SrcSy: Source = attribute.StrValue; break;
      case html::TypeSy: Type = attribute.StrValue; break;
      case html::RatioSy: Ratio = RatioOf(attribute.StrValue); break;
      case html::HeightSy: SpecHeight_ = std::max(attribute.NumValue, 1); break;
      default: break;
    }
  }
  // A panel's width percentage is kept within 1..100 rather than dropped.
  if (const html::TAttribute* width = attributes.Find(html::WidthSy);
      width && width->StrValue.find('%') != std::string::npos) {
    SpecWidth = std::clamp(width->NumValue, 1, 100);
    WidthIsPercent = true;
  }
  TPanelHost* host = Document ? &Document->PanelHost : nullptr;
  if (host && host->Factory) Panel_ = host->Factory->CreatePanel();
  if (!Panel_) Panel_ = std::make_unique<platform::MemoryPanelWindow>();
  const int width = SpecWidth > 0 && !WidthIsPercent ? SpecWidth : DefaultPanelWidth;
  const int height = SpecHeight_ > 0 ? SpecHeight_ : DefaultPanelHeight;
  Panel_->SetBounds(ParkedPosition, ParkedPosition, width, height);
  Panel_->SetVisible(true);
  if (!Name.empty()) Panel_->SetName(Name);  // a name the window refuses is ignored
  if (host && host->OnPanelCreate) host->OnPanelCreate(Name, Type, Source, *Panel_);
  TotalWidth = Panel_->Width();
  TotalHeight = Panel_->Height();
  if (Document) Document->PanelList.push_back(this);
}

TPanelObj::TPanelObj(TSectionList* document, const TPanelObj& other)
    : TFloatingObj(other),
      Document(document),
      Ratio(other.Ratio),
      Name(other.Name),
      Source(other.Source),
      Type(other.Type),
      Panel_(std::make_unique<platform::MemoryPanelWindow>()),
      SpecHeight_(other.SpecHeight_) {
  Panel_->SetBounds(ParkedPosition, ParkedPosition, other.Panel_->Width(), other.Panel_->Height());
}

std::unique_ptr<TFloatingObj> TPanelObj::Clone(TSectionList* document) const {
  return std::unique_ptr<TFloatingObj>(new TPanelObj(document, *this));
}

TPanelObj::~TPanelObj() {
  if (!Document) return;
  std::erase(Document->PanelList, this);
  if (Document->PanelHost.OnPanelDestroy && !Document->IsCopy)
    Document->PanelHost.OnPanelDestroy(*Panel_);
}

void TPanelObj::Size(platform::Canvas& canvas, int availWidth, const TFontObj* run) {
  (void)canvas, (void)run;
  int width = Panel_->Width();
  int height = Panel_->Height();
  if (WidthIsPercent) width = std::max(availWidth * SpecWidth / 100, 1);
  if (Ratio > 0) height = std::max(static_cast<int>(std::lround(Ratio * width)), 1);
  if (width != Panel_->Width() || height != Panel_->Height())
    Panel_->SetBounds(Panel_->Left(), Panel_->Top(), width, height);
  TotalWidth = width;
  TotalHeight = height;
}

void TPanelObj::Paint(platform::Canvas& canvas, int x, const TFontObj* run, int baseline, int lineTop) {
  const int y = TopForLine(run, baseline, lineTop);
  DrawX = x;
  DrawY = y + (Document ? Document->YOffset : 0);
  if (Document && Document->Printing) {
    PrintPanel(canvas, x, y);
    return;
  }
  Panel_->SetBounds(x, y, TotalWidth, TotalHeight);
  Shown = true;
}

void TPanelObj::PrintPanel(platform::Canvas& canvas, int x, int y) {
  if (Document->PanelHost.OnPanelPrint) {
    platform::TBitmap bitmap(TotalWidth, TotalHeight, platform::PixelFormat::pf24bit);
    bitmap.Fill(Panel_->Color());
    Document->PanelHost.OnPanelPrint(*Panel_, bitmap);
    canvas.BitBlt(x, y, TotalWidth, TotalHeight, bitmap, 0, 0, platform::RasterOp::SRCCOPY);
    return;
  }
  const platform::TBrush oldBrush = canvas.SelectBrush(platform::TBrush::Solid(Panel_->Color()));
  const platform::TPen oldPen = canvas.SelectPen(platform::TPen{0, 1});
  canvas.Rectangle(x, y, x + TotalWidth, y + TotalHeight);
  canvas.SelectPen(oldPen);
  canvas.SelectBrush(oldBrush);
  if (AltText.empty()) return;
  const unsigned oldAlign = canvas.SetTextAlign(platform::TA_TOP);
  const platform::BkMode oldMode = canvas.SetBkMode(platform::BkMode::TRANSPARENT);
  const platform::Rect box{x + PrintTextInset, y + PrintTextInset, x + TotalWidth - PrintTextInset,
                           y + TotalHeight - PrintTextInset};
  canvas.SetTextColor(0);
  canvas.ExtTextOut(box.left, box.top, platform::ETO_CLIPPED, &box, AltText);
  canvas.SetBkMode(oldMode);
  canvas.SetTextAlign(oldAlign);
}

}  // namespace tessival::layout
