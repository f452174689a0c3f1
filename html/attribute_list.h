#pragma once
// The attributes of the tag just read, in the order they appear in the tag.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/symbols.h"

namespace tessival::html {

class TProperties;

struct TAttribute {
  html::Symbol Symbol = OtherAttribute;
  std::int32_t NumValue = 0;
  std::string StrValue;  // as written, with character references resolved
  std::string Name;      // the name as written, kept for attributes outside the table
};

// Owns its attributes. The list is cleared for every tag, so cleared attributes are kept
// and refilled by the next tag's Add instead of being freed and allocated again; an
// attribute's address stays valid until the list is cleared.
class TAttributeList {
 public:
  TAttributeList();
  ~TAttributeList();
  TAttributeList(TAttributeList&&) noexcept;
  TAttributeList& operator=(TAttributeList&&) noexcept;

  void Clear();
  void Add(Symbol symbol, std::int32_t numValue, std::string_view strValue, std::string_view name = {});
  std::size_t Count() const { return count_; }
  const TAttribute& operator[](std::size_t index) const { return *items_[index]; }

  // The first attribute with that symbol, or nullptr.
  const TAttribute* Find(Symbol symbol) const;
  std::string GetClass() const;
  // Lower-cased; cached after the first call until the list is cleared.
  const std::string& GetID() const;
  std::string GetTitle() const;
  // The properties of the STYLE attribute, read afresh on every call (the previous ones
  // are freed), or nullptr when there is none.
  TProperties* GetStyle();

 private:
  std::vector<std::unique_ptr<TAttribute>> items_;  // the first count_ are in use
  std::size_t count_ = 0;
  mutable std::optional<std::string> id_;
  std::unique_ptr<TProperties> style_;
};

}  // namespace tessival::html
