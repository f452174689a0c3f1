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
                                  std::string_view pseudo, std::string_view id,
                                  std::string_view klass) {
  const auto& entries = styles.Entries();
  auto merge = [&](const std::string& key) {
    const auto [first, last] = entries.equal_range(key);
    for (auto it = first; it != last; ++it) Merge(*it->second.Props);
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

  // Descendant rules sit in the sorted sheet right behind the simple rules of their subject
  // ("p 11pre" behind "p"), so each scan reads only the keys that begin with what the
  // element is. A subject that names a tag is read in the tag scan alone, one that names a
  // class (and no tag) in the class scan, so no rule is applied twice.
  auto scan = [&](std::string_view prefix, auto&& scannedHere) {
    for (char separator : {' ', '#', '.', ':'}) {
      const std::string start = Join({prefix, std::string_view(&separator, 1)});
      for (auto it = entries.lower_bound(start);
           it != entries.end() && it->first.starts_with(start); ++it) {
        const TSelectorKeyParts& parts = it->second.Parts;
        if (parts.Ancestors.empty() || !scannedHere(parts.Subject)) continue;
        if (!parts.Subject.Matches(tag, klass, id, pseudo)) continue;
        if (AncestorsOpen(parts.Ancestors, Parent)) Merge(*it->second.Props);
      }
    }
  };
  if (hasTag) scan(tag, [](const TSimpleSelector&) { return true; });
  if (hasClass) scan(Join({".", klass}), [](const TSimpleSelector& s) { return s.Tag.empty(); });
  if (!id.empty()) {
    scan(Join({"#", id}), [](const TSimpleSelector& s) { return s.Tag.empty() && s.Class.empty(); });
  }
  if (hasPseudo) {
    scan(Join({":", pseudo}), [](const TSimpleSelector& s) {
      return s.Tag.empty() && s.Class.empty() && s.ID.empty();
    });
  }
}

}  // namespace tessival::html
