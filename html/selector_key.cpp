#include "html/selector_key.h"

#include <algorithm>

#include "html/text_util.h"

namespace tessival::html {

namespace {

constexpr std::size_t MaxKeyParts = 10;

// Calls `take` with each space-separated part of `text` in order, at most `limit` of them.
template <typename Take>
void ForEachPart(std::string_view text, std::size_t limit, Take take) {
  for (std::size_t count = 0; count < limit; ++count) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (text.empty()) break;
    const auto space = text.find(' ');
    take(text.substr(0, space));
    if (space == std::string_view::npos) break;
    text.remove_prefix(space);
  }
}

}  // namespace

bool TSimpleSelector::Matches(std::string_view tag, std::string_view klass, std::string_view id,
                              std::string_view pseudo) const {
  return (Tag.empty() || Tag == tag) && (Class.empty() || Class == klass) && (ID.empty() || ID == id) &&
         (Pseudo.empty() || Pseudo == pseudo);
}

TSimpleSelector ParseSimpleSelector(std::string_view text) {
  TSimpleSelector selector;
  std::string* field = &selector.Tag;
  while (!text.empty()) {
    const std::size_t mark = text.find_first_of(".#:");
    field->append(text.substr(0, mark));
    if (mark == std::string_view::npos) break;
    switch (text[mark]) {
      case '.': field = &selector.Class; break;
      case '#': field = &selector.ID; break;
      default: field = &selector.Pseudo; break;
    }
    text.remove_prefix(mark + 1);
  }
  return selector;
}

std::string MakeSelectorKey(std::string_view selector, int& runningNumber) {
  // Most selectors are simple, and a simple selector is its own key.
  if (selector.find(' ') == std::string_view::npos) return std::string(selector);
  std::vector<std::string_view> parts;
  parts.reserve(4);  // a selector rarely has more parts
  ForEachPart(selector, std::string_view::npos,
              [&parts](std::string_view part) { parts.push_back(part); });
  if (parts.size() <= 1) return std::string(parts.empty() ? std::string_view{} : parts[0]);
  std::string key(parts.back());
  key += ' ';
  key += std::to_string(parts.size() - 1);
  key += std::to_string(runningNumber++);
  for (auto it = parts.rbegin() + 1; it != parts.rend(); ++it) {
    key += *it;
    key += ' ';
  }
  return key;
}

TSelectorKeyParts ParseSelectorKey(std::string_view key) {
  TSelectorKeyParts result;
  if (key.find(' ') == std::string_view::npos) {
    result.Subject = ParseSimpleSelector(key);
    return result;
  }
  std::size_t count = 0;
  ForEachPart(key, MaxKeyParts, [&](std::string_view part) {
    if (count == 0) {
      result.Subject = ParseSimpleSelector(part);
    } else {
      if (count == 1) {
        while (!part.empty() && IsAsciiDigit(part.front())) part.remove_prefix(1);
      }
      result.Ancestors.push_back(ParseSimpleSelector(part));
    }
    ++count;
  });
  return result;
}

namespace {

TAncestorFilter BitOf(char kind, std::string_view name) {
  if (name.empty()) return 0;
  std::uint64_t hash = 1469598103934665603ull ^ static_cast<unsigned char>(kind);
  for (char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return TAncestorFilter{1} << (hash >> 58);
}

}  // namespace

TAncestorFilter FilterBitsOf(std::string_view tag, std::string_view klass, std::string_view id) {
  return BitOf('t', tag) | BitOf('.', klass) | BitOf('#', id);
}

TAncestorFilter FilterBitsOf(const std::vector<TSimpleSelector>& ancestors) {
  TAncestorFilter bits = 0;
  for (const auto& a : ancestors) bits |= FilterBitsOf(a.Tag, a.Class, a.ID);
  return bits;
}

}  // namespace tessival::html
