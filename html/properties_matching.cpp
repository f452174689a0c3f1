// How an element picks its rules out of the style sheet.
#include <initializer_list>

#include "html/properties.h"
#include "html/style_list.h"

namespace tessival::html {

namespace {

std::string Join(std::initializer_list<std::string_view> pieces) {
  std::string key;
  for (std::string_view piece : pieces) key += piece;
  return key;
}

bool AncestorsOpen(const std::vector<TSimpleSelector>& ancestors, const TProperties* open) {
  for (const TSimpleSelector& ancestor : ancestors) {
    while (open && !ancestor.Matches(open->PropTag, open->PropClass, open->PropID, open->PropPseudo)) {
      open = open->Parent;
    }
    if (!open) return false;
    open = open->Parent;
  }
  return true;
}

}  // namespace

void TProperties::MergeStyleSheet(const TStyleList& styles, std::string_view tag,
                                  std::string_view pseudo, std::string_view id, std::string_view klass) {
  auto merge = [&](const std::string& key) {
    for (const TStyleEntry* entry : styles.EntriesOf(key)) Merge(*entry->Props);
  };
  const bool hasTag = !tag.empty(), hasClass = !klass.empty(), hasPseudo = !pseudo.empty();
  // Hovered and visited looks are built on top of the plain element, which already carries
  // the rules for its tag and class.
  const bool plain = pseudo != "hover" && pseudo != "visited";

  // From the general to the particular: each later key overrides the earlier ones.
  if (tag == "a" && hasPseudo) merge(Join({"::", pseudo}));
  if (plain && hasTag) merge(std::string(tag));
  if (hasPseudo) merge(Join({":", pseudo}));
  if (plain && hasClass) merge(Join({".", klass}));
  if (plain && hasTag && hasClass) merge(Join({tag, ".", klass}));
  if (hasTag && hasPseudo) merge(Join({tag, ":", pseudo}));
  if (hasClass && hasPseudo) merge(Join({".", klass, ":", pseudo}));
  if (hasTag && hasClass && hasPseudo) merge(Join({tag, ".", klass, ":", pseudo}));
  if (!id.empty()) {
    merge(Join({"#", id}));
    if (hasTag) merge(Join({tag, "#", id}));
    if (hasClass) merge(Join({".", klass, "#", id}));
    if (hasPseudo) merge(Join({"#", id, ":", pseudo}));
    if (hasTag && hasPseudo) merge(Join({tag, "#", id, ":", pseudo}));
    if (hasTag && hasClass) merge(Join({tag, ".", klass, "#", id}));
    if (hasClass && hasPseudo) merge(Join({".", klass, "#", id, ":", pseudo}));
    if (hasTag && hasClass && hasPseudo) merge(Join({tag, ".", klass, "#", id, ":", pseudo}));
  }

  // Descendant rules, grouped by what their subject names first (its tag, else its class,
  // else its id, else its pseudo-class) and kept in key order within a group. Each rule
  // sits in one group, so none is applied twice.
  const TAncestorFilter open = Parent ? Parent->OpenFilter : 0;
  auto scan = [&](const std::string& group) {
    const TStyleList::DescendantGroup* rules = styles.DescendantRules(group);
    if (!rules) return;
    for (const TStyleEntry* entry : *rules) {
      if ((entry->AncestorBits & ~open) == 0 && entry->Parts->Subject.Matches(tag, klass, id, pseudo) &&
          AncestorsOpen(entry->Parts->Ancestors, Parent)) {
        Merge(*entry->Props);
      }
    }
  };
  if (hasTag) scan(std::string(tag));
  if (hasClass) scan(Join({".", klass}));
  if (!id.empty()) scan(Join({"#", id}));
  if (hasPseudo) scan(Join({":", pseudo}));
}

bool TProperties::LinkLooksKeepable(const TStyleList& styles) const {
  // A style attribute is not part of the key, and a descendant rule that could match a
  // look depends on the elements above the link.
  if (PropStyle) return false;
  auto hasDescendantRules = [&](const std::string& group) {
    const TStyleList::DescendantGroup* rules = styles.DescendantRules(group);
    return rules && !rules->empty();
  };
  return !(hasDescendantRules(PropTag) ||
           (!PropClass.empty() && hasDescendantRules(Join({".", PropClass}))) ||
           (!PropID.empty() && hasDescendantRules(Join({"#", PropID}))) ||
           hasDescendantRules(":visited") || hasDescendantRules(":hover"));
}

}  // namespace tessival::html
