#pragma once
// The attributes of the tag just read, in the order they appear in the tag.
#include <cstdint>
#include <optional>
#include <string>

#include "html/free_list.h"
#include "html/symbols.h"

namespace tessival::html {

struct TAttribute {
  html::Symbol Symbol = OtherAttribute;
  std::int32_t NumValue = 0;
  std::string StrValue;  // as written, with character references resolved
  std::string Name;      // the name as written, kept for attributes outside the table
};

class TAttributeList : public TFreeList<TAttribute> {
 public:
  void Clear();
  void Add(Symbol symbol, std::int32_t numValue, std::string strValue, std::string name = {});
  // The first attribute with that symbol, or nullptr.
  const TAttribute* Find(Symbol symbol) const;
  std::string GetClass() const;
  // Lower-cased; cached after the first call until the list is cleared.
  const std::string& GetID() const;
  std::string GetTitle() const;

 private:
  mutable std::optional<std::string> id_;
};

}  // namespace tessival::html
