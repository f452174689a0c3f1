#pragma once
// The keys under which the style sheet files its rules.
//
// A simple selector is kept as written (lower case): "p", ".note", "a:hover", "td.x#y".
// A descendant selector "a b c" is kept as its subject, a space, the number of ancestors and
// the sheet's running number written together, then the ancestors from the nearest outwards,
// each followed by a space: with running number 10 that is "c 210b a ". Leading with the
// subject puts every rule for an element next to its simple rules in the sorted sheet.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessival::html {

struct TSimpleSelector {
  std::string Tag, Class, ID, Pseudo;

  // Each part the selector names must be equal; parts it leaves out match anything.
  bool Matches(std::string_view tag, std::string_view klass, std::string_view id,
               std::string_view pseudo) const;
};

TSimpleSelector ParseSimpleSelector(std::string_view text);

// The key of a selector text (already lower case and trimmed). A descendant selector takes
// `runningNumber` and advances it.
std::string MakeSelectorKey(std::string_view selector, int& runningNumber);

struct TSelectorKeyParts {
  TSimpleSelector Subject;
  std::vector<TSimpleSelector> Ancestors;  // nearest first
};

// Splits a key into its subject and ancestors; at most ten parts are read.
TSelectorKeyParts ParseSelectorKey(std::string_view key);

// A 64-bit summary of tags, classes and ids, one bit per name. If a rule's ancestors need a
// bit that the open elements' summary lacks, the rule cannot match and the walk up the open
// elements is saved; a shared bit proves nothing, the walk then decides.
using TAncestorFilter = std::uint64_t;
TAncestorFilter FilterBitsOf(std::string_view tag, std::string_view klass, std::string_view id);
TAncestorFilter FilterBitsOf(const std::vector<TSimpleSelector>& ancestors);

}  // namespace tessival::html
