#pragma once
// The style properties of one element: the 48 values, which of them the element set itself,
// and what the element is (tag, class, id, pseudo-class) for matching the style sheet.
#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <string_view>

#include "html/font_info.h"
#include "html/my_font.h"
#include "html/selector_key.h"
#include "html/style_values.h"

namespace tessival::html {

class TStyleList;

// The address inside "url(...)" without surrounding quotes; a text without "url(" is taken
// as the address itself.
std::string ExtractUrl(std::string_view text);

// Where a background sits along one axis.
enum class TBackgroundPlace { bpTop, bpCenter, bpBottom, bpLeft, bpRight, bpPercent, bpLength };
struct TBackgroundPosition {
  TBackgroundPlace PosType = TBackgroundPlace::bpLength;
  int Value = 0;
  bool RepeatD = true;
};
struct TBackgroundPositions {
  TBackgroundPosition X, Y;
};

enum class TAlignmentType { aNone, aTop, aMiddle, aBaseline, aBottom };
enum class TFloatSide { fsNotGiven, fsLeft, fsRight, fsNone };
enum class TClearSide { csNotGiven, csLeft, csRight, csBoth, csNone };
// In the order of the names they are read from.
enum TListStyleType : int {
  lbBlank,
  lbCircle,
  lbDecimal,
  lbDisc,
  lbLowerAlpha,
  lbLowerRoman,
  lbNone,
  lbSquare,
  lbUpperAlpha,
  lbUpperRoman,
};
enum TPositionType : int { posStatic = 0, posAbsolute = 1, posRelative = 2 };

// Properties background-color (8) to left (29), the box of an element.
constexpr int BoxFirst = piBackgroundColor;
constexpr int BoxCount = piLeft - piBackgroundColor + 1;
using TVMarginArray = std::array<PropValue, BoxCount>;
struct TBoxPixels {
  std::array<int, BoxCount> Pixels{};
  std::bitset<BoxCount> ParagraphSpace;  // the length was the default paragraph space
};

struct TTextIndent {
  int Value = 0;
  bool Percent = false;
};

class TProperties {
 public:
  TProperties();

  // --- building an element's properties
  void Assign(const TProperties& other);
  void CopyDefault(const TProperties& defaults);
  // Takes over what children inherit. `parent` must stay open while this element is: the
  // descendant rules of the style sheet look at the chain of open elements through it.
  void Inherit(const TProperties& parent);
  void Combine(const TStyleList& styles, std::string_view tag, const TProperties* styleProps,
               std::string_view title, std::string_view pseudo, std::string_view id,
               std::string_view klass);
  // After an element below this one was closed out of order.
  void ReInherit(const TProperties& parent, const TStyleList& styles);
  void Merge(const TProperties& source);
  void AssignProperty(PropIndex index, PropValue value);
  void SetByName(std::string_view name, std::string_view text);
  void SetByIndex(PropIndex index, std::string_view text) {
    // Most slots keep the text as written: set here, without a call, as a sheet sets
    // thousands of them.
    if (StoresTextAsWritten(index)) SetText(index, text);
    else SetReadValue(index, text);
  }
  void SetCharset(int charset);
  void UpdateTextBackground();

  // --- raw access
  const PropValue& Prop(PropIndex index) const { return Props[index]; }
  void SetProp(PropIndex index, PropValue value);
  bool IsAssigned(PropIndex index) const { return Assigned[index]; }

  // --- fonts
  TMyFont GetFont() const;
  ThtFontInfo GetFontInfo() const;

  // --- what layout reads
  std::optional<std::string> BackgroundImage() const;
  TBackgroundPositions BackgroundPosition(int emSize, int exSize) const;
  TAlignmentType VerticalAlign() const;
  TFloatSide Float() const;
  TClearSide Clear() const;
  TListStyleType ListStyleType() const;
  std::optional<std::string> ListStyleImage() const;
  TPositionType Position() const;
  bool Hidden() const;
  int ZIndex() const;
  bool DisplayNone() const;
  int LineHeight(int fontHeight) const;
  TTextIndent TextIndent() const;
  bool PageBreakBefore() const;
  bool PageBreakAfter() const;
  bool PageBreakInsideAvoid() const;
  TColor BackgroundColor() const;
  TColor Color() const;
  bool HasBorderStyle() const;
  TVMarginArray GetVMarginArray() const;
  TBoxPixels BoxPixels(int width) const;

  // --- identity and inherited state (read by the tag reader and layout)
  std::string PropTag, PropClass, PropID, PropPseudo, PropTitle;
  const TProperties* PropStyle = nullptr;  // the element's style attribute, owned elsewhere
  const TProperties* Parent = nullptr;     // the open element this one inherited from
  TColor TextBackground = NoColor;
  int CharSet = 1;
  int CodePage = 0;
  int EmSize = 16;
  int ExSize = 8;
  double DefaultFontSize = 12;  // the document's, for keyword sizes
  bool InLink = false;
  std::optional<TFontInfoArray> FontInfoArray;  // the four looks of a link
  // This element and every open element above it, summarised for descendant matching.
  TAncestorFilter OpenFilter = 0;

 private:
  static constexpr bool StoresTextAsWritten(PropIndex index) {
    return index != piBorderStyle && index != piColor && index != piBackgroundColor &&
           index != piBorderColor && index != piVisibility && index != piTextTransform &&
           index != piZIndex && !(index >= piBorderTopStyle && index <= piBorderLeftStyle);
  }
  // SetByIndex for the slots that read their text or set others with it.
  void SetReadValue(PropIndex index, std::string_view text);
  // Stores text in a slot, reusing the room of the text it held.
  void SetText(PropIndex index, std::string_view text) {
    Props[index].SetText(text);
    CachedFont.reset();
  }
  void ApplyLinkFontChange(PropIndex index, const PropValue& value);
  void ComputeLinkFonts(const TStyleList& styles);
  bool LinkLooksKeepable(const TStyleList& styles) const;
  TFontInfoArray WorkOutLinkLooks(const TStyleList& styles) const;
  void MergeStyleSheet(const TStyleList& styles, std::string_view tag, std::string_view pseudo,
                       std::string_view id, std::string_view klass);
  void ResolveFontSize(double reference);
  void MeasureParentFont(const TProperties& parent);
  double FontSizePoints() const;

  std::array<PropValue, PropCount> Props;
  std::bitset<PropCount> Assigned;
  mutable std::optional<TMyFont> CachedFont;
};

}  // namespace tessival::html
