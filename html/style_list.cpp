#include "html/style_list.h"

#include <algorithm>

#include "html/color_parser.h"

namespace tessival::html {

TStyleList::TStyleList() = default;

void TStyleList::Clear() {
  LinkLooks.Clear();
  ByKey.Clear();
  Sorted.clear();
  SortedStale = false;
  Items.clear();
  Given.clear();
  Made.clear();
  MadeInLastBlock = 0;
  Descendants.clear();
  Unindexed.clear();
  LastModified = nullptr;
  Default = nullptr;
  SeqNumber = FirstSeqNumber;
  HoverRules = false;
}

TProperties& TStyleList::AddObject(std::string_view key, std::unique_ptr<TProperties> props) {
  TProperties& given = *props;
  Given.push_back(std::move(props));
  return AddEntry(key, given);
}

TProperties& TStyleList::MakeProperties() {
  if (Made.empty() || MadeInLastBlock == MadeBlock) {
    Made.push_back(std::make_unique<TProperties[]>(MadeBlock));
    MadeInLastBlock = 0;
  }
  return Made.back()[MadeInLastBlock++];
}

TProperties& TStyleList::AddEntry(std::string_view key, TProperties& props) {
  LinkLooks.Clear();
  props.PropTag = std::string(key);
  props.DefaultFontSize = DefFontSize;
  TStyleEntry& entry = Items.emplace_back();
  entry.Key = key;
  entry.Props = &props;
  KeyEntries& entries = ByKey.FindOrAdd(entry.Key);
  if (!entries.First) {
    entries.First = &entry;
  } else {
    if (entries.All.empty()) entries.All.push_back(entries.First);
    entries.All.push_back(&entry);
  }
  SortedStale = true;
  // Only a descendant rule is matched part by part; a simple one is found by its key.
  if (key.find(' ') != std::string_view::npos) Unindexed.push_back(&entry);
  return *entry.Props;
}

void TStyleList::IndexDescendants() const {
  for (const TStyleEntry* entry : Unindexed) {
    entry->Parts = std::make_unique<const TSelectorKeyParts>(ParseSelectorKey(entry->Key));
    entry->AncestorBits = FilterBitsOf(entry->Parts->Ancestors);
    if (entry->Parts->Ancestors.empty()) continue;
    GroupIndex& group = Descendants[ScanGroupOf(entry->Parts->Subject)];
    group.Sorted.emplace(entry->Key, entry);
    group.Stale = true;
  }
  Unindexed.clear();
}

const TStyleList::EntryList& TStyleList::Entries() const {
  if (SortedStale) {
    Sorted.clear();
    for (const TStyleEntry& entry : Items) Sorted.push_back(&entry);
    std::stable_sort(Sorted.begin(), Sorted.end(),
                     [](const TStyleEntry* a, const TStyleEntry* b) { return a->Key < b->Key; });
    SortedStale = false;
  }
  return Sorted;
}

TProperties& TStyleList::AddDuplicate(std::string_view key, const TProperties& props) {
  auto copy = std::make_unique<TProperties>();
  copy->Assign(props);
  return AddObject(key, std::move(copy));
}

std::span<const TStyleEntry* const> TStyleList::EntriesOf(std::string_view key) const {
  const KeyEntries* found = ByKey.Find(key);
  if (!found) return {};
  const KeyEntries& entries = *found;
  if (entries.All.empty()) return {&entries.First, 1};
  return entries.All;
}

TProperties* TStyleList::Find(std::string_view key) {
  LinkLooks.Clear();  // the caller may change the rule
  const KeyEntries* entries = ByKey.Find(key);
  return entries ? entries->First->Props : nullptr;
}

const TProperties* TStyleList::Find(std::string_view key) const {
  const KeyEntries* entries = ByKey.Find(key);
  return entries ? entries->First->Props : nullptr;
}

TProperties& TStyleList::FindOrAdd(std::string_view key) {
  LinkLooks.Clear();
  // AddModifyProp is called for several properties of the same selector in a row.
  if (LastModified && LastModifiedKey == key) return *LastModified;
  TProperties& props = FindOrMake(key);
  LastModifiedKey = key;
  LastModified = &props;
  return props;
}

TProperties& TStyleList::FindOrMake(std::string_view key) {
  TProperties* props = Find(key);
  return props ? *props : AddEntry(key, MakeProperties());
}

void TStyleList::SetColorProp(std::string_view key, PropIndex index, TColor color) {
  if (TProperties* props = Find(key)) props->SetProp(index, ColorValue(color));
}

std::string TStyleList::ScanGroupOf(const TSimpleSelector& subject) {
  if (!subject.Tag.empty()) return subject.Tag;
  if (!subject.Class.empty()) return "." + subject.Class;
  if (!subject.ID.empty()) return "#" + subject.ID;
  return ":" + subject.Pseudo;
}

const TStyleList::DescendantGroup* TStyleList::DescendantRules(std::string_view group) const {
  if (!Unindexed.empty()) IndexDescendants();
  const auto it = Descendants.find(group);
  if (it == Descendants.end()) return nullptr;
  GroupIndex& index = it->second;
  if (index.Stale) {
    index.Flat.clear();
    for (const auto& [key, entry] : index.Sorted) index.Flat.push_back(entry);
    index.Stale = false;
  }
  return &index.Flat;
}

void TStyleList::SetLinkColor(std::string_view state, TColor color) {
  SetColorProp("::" + std::string(state), piColor, color);
}

bool TStyleList::AddModifyProp(std::string_view selector, std::string_view propertyName,
                               std::string_view value) {
  const auto index = PropertyIndexOf(propertyName);
  if (!index) return false;
  AddModifyProp(selector, *index, value);
  return true;
}

void TStyleList::AddModifyProp(std::string_view selector, PropIndex index, std::string_view value) {
  if (IsColorSlot(index)) {
    AddModifyColor(selector, index, ColorFromString(value, false));
    return;
  }
  if (selector.find(":hover") != std::string_view::npos) HoverRules = true;
  FindOrAdd(selector).SetByIndex(index, value);
  // A rule for A is a rule for every link.
  if (selector == "a") AddModifyProp("::link", index, value);
}

void TStyleList::AddModifyColor(std::string_view selector, PropIndex index,
                                std::optional<TColor> color) {
  if (selector.find(":hover") != std::string_view::npos) HoverRules = true;
  ApplyColor(FindOrAdd(selector), selector, index, color);
  if (selector == "a") AddModifyColor("::link", index, color);
}

void TStyleList::ApplyColor(TProperties& props, std::string_view selector, PropIndex index,
                            std::optional<TColor> color) {
  if (index != piColor) {
    props.SetProp(index, ColorValue(color.value_or(NoColor)));
  } else if (color) {
    props.SetProp(piColor, ColorValue(*color));
    if (selector == ":link") {
      SetColorProp("::hover", piColor, *color);
      SetColorProp("::visited", piColor, *color);
    } else if (selector == ":visited") {
      SetColorProp("::hover", piColor, *color);
    }
  }
}

void TStyleList::AddModifyValueFully(TRuleEntry& rule, const TDeclaredValue& value) {
  LinkLooks.Clear();
  if (!rule.Props) {
    if (rule.Selector.find(":hover") != std::string_view::npos) HoverRules = true;
    rule.Props = &FindOrMake(rule.Selector);
    // A rule for A is a rule for every link.
    if (rule.Selector == "a") rule.LinkProps = &FindOrMake("::link");
  }
  auto apply = [&](TProperties& props, std::string_view selector) {
    if (IsColorSlot(value.Index)) ApplyColor(props, selector, value.Index, value.Color);
    else props.SetByIndex(value.Index, value.Text);
  };
  apply(*rule.Props, rule.Selector);
  if (rule.LinkProps) apply(*rule.LinkProps, "::link");
}

}  // namespace tessival::html
