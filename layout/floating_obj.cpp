#include "layout/floating_obj.h"

#include <algorithm>
#include <cstdlib>

#include "html/style_values.h"
#include "html/text_util.h"
#include "layout/case_1252.h"
#include "layout/font_obj.h"

namespace tessival::layout {
namespace {

int SpaceOf(const html::TAttribute& attribute) {
  return std::min(std::abs(attribute.NumValue), MaxObjectSpace);
}

// A margin the style gives in pixels, or nothing.
std::optional<int> StyleMargin(const html::TProperties& props, html::PropIndex index) {
  const html::TVMarginArray margins = props.GetVMarginArray();
  const html::PropValue& value = margins[static_cast<std::size_t>(index - html::BoxFirst)];
  if (value.IsEmpty()) return std::nullopt;
  if (const int* number = value.IntValue(); number && *number == html::UnsetValue) return std::nullopt;
  const html::TBoxPixels pixels = props.BoxPixels(0);
  return pixels.Pixels[static_cast<std::size_t>(index - html::BoxFirst)];
}

}  // namespace

int ObjAlignFromAttribute(const std::string& value) {
  std::string align(html::Trim(value));
  for (char& c : align) c = Upper1252(c);
  if (align == "TOP") return oaTop;
  if (align == "MIDDLE" || align == "ABSMIDDLE") return oaMiddle;
  if (align == "LEFT") return oaLeftFloat;
  if (align == "RIGHT") return oaRightFloat;
  return oaBottom;
}

TFloatingObj::TFloatingObj(int pos, const html::TAttributeList& attributes, int defaultHSpace)
    : Pos(pos) {
  for (std::size_t i = 0; i < attributes.Count(); ++i) {
    const html::TAttribute& attribute = attributes[i];
    switch (attribute.Symbol) {
      case html::AlignSy: Align = ObjAlignFromAttribute(attribute.StrValue); break;
      case html::HSpaceSy:
        HSpaceLeft = HSpaceRight = SpaceOf(attribute);
        HSpaceGiven_ = true;
        break;
      case html::VSpaceSy: VSpaceTop = VSpaceBottom = SpaceOf(attribute); break;
      case html::WidthSy:
        if (attribute.StrValue.find('%') != std::string::npos) {
          if (attribute.NumValue >= 1 && attribute.NumValue <= 100) {
            SpecWidth = attribute.NumValue;
            WidthIsPercent = true;
          }
        } else if (attribute.NumValue > 0) {
          SpecWidth = attribute.NumValue;
        }
        break;
      case html::AltSy: AltText = attribute.StrValue; break;
      case html::TitleSy: Title = attribute.StrValue; break;
      default: break;
    }
  }
  if (Title.empty()) Title = AltText;
  if (!HSpaceGiven_) HSpaceLeft = HSpaceRight = Floats() ? FloatSpace : defaultHSpace;
}

int TFloatingObj::TopForLine(const TFontObj* run, int baseline, int lineTop) const {
  switch (Align) {
    case oaTop:
    case oaLeftFloat:
    case oaRightFloat: return lineTop + VSpaceTop;
    case oaMiddle: {
      const int descent = run ? run->Descent() : 0;
      const int textHeight = run ? run->TextHeight() : 0;
      return baseline + descent - textHeight / 2 - (TotalHeight + VSpaceBottom - VSpaceTop) / 2;
    }
    default: return baseline - TotalHeight - VSpaceBottom;
  }
}

void TFloatingObj::ApplyStyle(const html::TProperties& props) {
  switch (props.Float()) {
    case html::TFloatSide::fsLeft: Align = oaLeftFloat; break;
    case html::TFloatSide::fsRight: Align = oaRightFloat; break;
    default:
      switch (props.VerticalAlign()) {
        case html::TAlignmentType::aTop: Align = oaTop; break;
        case html::TAlignmentType::aMiddle: Align = oaMiddle; break;
        case html::TAlignmentType::aBaseline: Align = oaBaseline; break;
        case html::TAlignmentType::aBottom: Align = oaBottom; break;
        case html::TAlignmentType::aNone: break;
      }
      break;
  }
  if (Title.empty()) Title = props.PropTitle;
  if (auto margin = StyleMargin(props, html::piMarginLeft)) HSpaceLeft = *margin;
  if (auto margin = StyleMargin(props, html::piMarginRight)) HSpaceRight = *margin;
  if (auto margin = StyleMargin(props, html::piMarginTop)) VSpaceTop = *margin;
  if (auto margin = StyleMargin(props, html::piMarginBottom)) VSpaceBottom = *margin;
  // A float the style gives no right space keeps a little room on both sides.
  if (Floats() && !StyleMargin(props, html::piMarginRight) && !HSpaceGiven_)
    HSpaceLeft = HSpaceRight = FloatSpace;
}

}  // namespace tessival::layout
