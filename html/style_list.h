#pragma once
// A document's style sheet: property sets filed under selector keys (selector_key.h), with
// duplicates allowed; entries under one key keep the order they were added in, and Entries
// gives them all sorted by key.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "html/key_index.h"
#include "html/link_looks_cache.h"
#include "html/properties.h"
#include "html/selector_key.h"

namespace tessival::html {

struct TStyleEntry {
  std::string Key;
  TProperties* Props = nullptr;  // owned by the style list
  // The key read once, for descendant matching, when matching first asks for descendant
  // rules; a simple rule is found by its key and has none.
  mutable std::unique_ptr<const TSelectorKeyParts> Parts;
  mutable TAncestorFilter AncestorBits = 0;
};

// One longhand a style-sheet rule declares, read once for all the selectors of the rule.
struct TDeclaredValue {
  PropIndex Index;
  std::string_view Text;
  std::optional<TColor> Color;  // for a colour slot, the colour read from Text
};

// One selector of a style-sheet rule being read: its entry is found (or made) when the rule
// sets its first longhand and then kept for the rest of the rule.
struct TRuleEntry {
  std::string_view Selector;
  TProperties* Props = nullptr;
  TProperties* LinkProps = nullptr;  // for "a": the viewer's link entry, which it sets too
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
  // Every entry in key order; entries under one key in the order they were added.
  using EntryList = std::vector<const TStyleEntry*>;
  // Descendant rules in key order. Rules arrive in any order and are read far more often
  // than added, so a group is sorted into a flat list when it is first read after a change.
  using DescendantGroup = std::vector<const TStyleEntry*>;

  TStyleList();

  void Clear();
  // Sets one property of a rule from the style sheet; false for a name the model does not
  // hold.
  bool AddModifyProp(std::string_view selector, std::string_view propertyName, std::string_view value);
  // The same for a name already looked up.
  void AddModifyProp(std::string_view selector, PropIndex index, std::string_view value);
  // The same for a colour slot (color, background-color, border-color) whose value is
  // already parsed; nothing for text that is no colour. Lets a reader parse a colour once
  // for all the selectors of a rule.
  void AddModifyColor(std::string_view selector, PropIndex index, std::optional<TColor> color);
  // One longhand of a rule for one of its selectors: the same as AddModifyProp (for a
  // colour slot AddModifyColor), with the selector's entry found once for the whole rule.
  void AddModifyValue(TRuleEntry& rule, const TDeclaredValue& value) {
    // After a rule's first longhand its entry is known: a text for an entry other than A's
    // goes straight into its slot.
    LinkLooks.Clear();
    if (rule.Props && !rule.LinkProps && !IsColorSlot(value.Index))
      rule.Props->SetByIndex(value.Index, value.Text);
    else AddModifyValueFully(rule, value);
  }
  static bool IsColorSlot(PropIndex index) {
    return index == piColor || index == piBackgroundColor || index == piBorderColor;
  }
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

  const EntryList& Entries() const;
  std::size_t Count() const { return Items.size(); }
  // The descendant rules whose subject is read under `group`: its tag when it names one,
  // else ".class", else "#id", else ":pseudo" (see ScanGroupOf).
  const DescendantGroup* DescendantRules(std::string_view group) const;
  static std::string ScanGroupOf(const TSimpleSelector& subject);
  // The first entry under exactly this key.
  TProperties* Find(std::string_view key);
  const TProperties* Find(std::string_view key) const;
  // Every entry under exactly this key, in the order they were added; empty when none.
  std::span<const TStyleEntry* const> EntriesOf(std::string_view key) const;
  // Links' looks already worked out under the present rules; any change to a rule forgets
  // them (so does handing out a rule to change, through Find).
  TLinkLooksCache& LinkLooksCache() const { return LinkLooks; }

 private:
  static constexpr int FirstSeqNumber = 10;

  void AddModifyValueFully(TRuleEntry& rule, const TDeclaredValue& value);
  TProperties& FindOrAdd(std::string_view key);
  TProperties& FindOrMake(std::string_view key);  // FindOrAdd without the last-key shortcut
  TProperties& AddEntry(std::string_view key, TProperties& props);
  TProperties& MakeProperties();
  void SetColorProp(std::string_view key, PropIndex index, TColor color);
  void ApplyColor(TProperties& props, std::string_view selector, PropIndex index,
                  std::optional<TColor> color);

  struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };

  // The entries in the order they were added (a deque, so that they never move), found by
  // key through a hash index: every element asks for some twenty keys, and a sheet is read
  // far more often by key than in order. The sorted order is made only when asked for.
  std::deque<TStyleEntry> Items;
  // The property sets of the entries: those handed to AddObject, and those the style list
  // made itself for new rules, made in blocks because a sheet makes thousands of them.
  static constexpr std::size_t MadeBlock = 16;
  std::vector<std::unique_ptr<TProperties>> Given;
  std::vector<std::unique_ptr<TProperties[]>> Made;
  std::size_t MadeInLastBlock = 0;
  // The entries under one key: most keys have one, which needs no list of its own.
  struct KeyEntries {
    const TStyleEntry* First = nullptr;
    std::vector<const TStyleEntry*> All;  // every entry, once there is more than one
  };
  TKeyIndex<KeyEntries> ByKey;
  mutable EntryList Sorted;
  mutable bool SortedStale = false;
  struct GroupIndex {
    std::multimap<std::string_view, const TStyleEntry*> Sorted;  // keyed by the entry's key
    DescendantGroup Flat;
    bool Stale = false;
  };
  mutable std::unordered_map<std::string, GroupIndex, StringHash, std::equal_to<>> Descendants;
  // Descendant rules added since matching last asked: reading a sheet only files them, and
  // they are read into parts and groups all at once when they are first needed.
  mutable std::vector<const TStyleEntry*> Unindexed;
  void IndexDescendants() const;
  std::string LastModifiedKey;
  TProperties* LastModified = nullptr;
  const TProperties* Default = nullptr;
  double DefFontSize = 12;
  int SeqNumber = FirstSeqNumber;
  bool HoverRules = false;
  mutable TLinkLooksCache LinkLooks;
};

}  // namespace tessival::html
