#pragma once
// A document's style sheet: property sets filed under selector keys (selector_key.h), kept
// sorted with duplicates allowed; entries under one key keep the order they were added in.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "html/properties.h"
#include "html/selector_key.h"

namespace tessival::html {

struct TStyleEntry {
  std::unique_ptr<TProperties> Props;
  TSelectorKeyParts Parts;  // the key read once, for descendant matching
};

// Arguments of Initialize: the viewer's defaults.
struct TStyleDefaults {
  std::string FontName = "Times New Roman";
  std::string PreFontName = "Courier New";
  int MarginWidth = 10;
  int MarginHeight = 5;
  int Charset = 1;
  bool UnderlineLinks = true;
  TColor HoverColor = 0x0000FF;
  TColor VisitedColor = 0x800080;
  TColor LinkColor = 0xFF0000;
  TColor TextColor = 0;
  double FontSize = 12;  // points
};

class TStyleList {
 public:
  using Map = std::multimap<std::string, TStyleEntry, std::less<>>;

  TStyleList();

  void Clear();
  // Sets one property of a rule from the style sheet; false for a name the model does not
  // hold.
  bool AddModifyProp(std::string_view selector, std::string_view propertyName,
                     std::string_view value);
  TProperties& AddObject(std::string_view key, std::unique_ptr<TProperties> props);
  TProperties& AddDuplicate(std::string_view key, const TProperties& props);
  void SetLinkColor(std::string_view state, TColor color);
  void Initialize(const TStyleDefaults& defaults);

  const TProperties* DefaultProperties() const { return Default; }
  double DefaultFontSize() const { return DefFontSize; }
  // A rule for ":hover" was read: links must follow the mouse.
  bool LinksActive() const { return HoverRules; }
  // The key for a selector text as the CSS reader collects it; advances the running number
  // for descendant selectors.
  std::string KeyOf(std::string_view selector) { return MakeSelectorKey(selector, SeqNumber); }

  const Map& Entries() const { return Items; }
  std::size_t Count() const { return Items.size(); }
  // The first entry under exactly this key.
  TProperties* Find(std::string_view key);
  const TProperties* Find(std::string_view key) const;

 private:
  static constexpr int FirstSeqNumber = 10;

  TProperties& FindOrAdd(std::string_view key);
  void SetColorProp(std::string_view key, PropIndex index, TColor color);

  Map Items;
  const TProperties* Default = nullptr;
  double DefFontSize = 12;
  int SeqNumber = FirstSeqNumber;
  bool HoverRules = false;
};

}  // namespace tessival::html
