#include "html/attribute_list.h"

#include "html/css_parser.h"
#include "html/properties.h"

#include "html/ascii_text.h"

namespace tessival::html {

TAttributeList::TAttributeList() = default;
TAttributeList::~TAttributeList() = default;
TAttributeList::TAttributeList(TAttributeList&&) noexcept = default;
TAttributeList& TAttributeList::operator=(TAttributeList&&) noexcept = default;

void TAttributeList::Clear() {
  count_ = 0;
  id_.reset();
}

void TAttributeList::Add(Symbol symbol, std::int32_t numValue, std::string_view strValue,
                         std::string_view name) {
  if (count_ == items_.size()) items_.push_back(std::make_unique<TAttribute>());
  TAttribute& attribute = *items_[count_++];
  attribute.Symbol = symbol;
  attribute.NumValue = numValue;
  attribute.StrValue.assign(strValue);
  attribute.Name.assign(name);
}

const TAttribute* TAttributeList::Find(Symbol symbol) const {
  for (std::size_t i = 0; i < count_; ++i) {
    if (items_[i]->Symbol == symbol) return items_[i].get();
  }
  return nullptr;
}

std::string TAttributeList::GetClass() const {
  const TAttribute* found = Find(ClassSy);
  return found ? ascii::ToLower(found->StrValue) : std::string();
}

const std::string& TAttributeList::GetID() const {
  if (!id_) {
    const TAttribute* found = Find(IDSy);
    id_ = found ? ascii::ToLower(found->StrValue) : std::string();
  }
  return *id_;
}

std::string TAttributeList::GetTitle() const {
  const TAttribute* found = Find(TitleSy);
  return found ? found->StrValue : std::string();
}

TProperties* TAttributeList::GetStyle() {
  const TAttribute* found = Find(StyleSy);
  if (found == nullptr) return nullptr;
  style_ = std::make_unique<TProperties>();
  ParseStyleAttribute(found->StrValue, *style_);
  return style_.get();
}

}  // namespace tessival::html
