#include "html/attribute_list.h"

#include "html/ascii_text.h"

#include <memory>

namespace tessival::html {
void TAttributeList::Clear() {
  TFreeList<TAttribute>::Clear();
  id_.reset();
}

void TAttributeList::Add(Symbol symbol, std::int32_t numValue, std::string strValue,
                         std::string name) {
  auto attribute = std::make_unique<TAttribute>();
  attribute->Symbol = symbol;
  attribute->NumValue = numValue;
  attribute->StrValue = std::move(strValue);
  attribute->Name = std::move(name);
  TFreeList<TAttribute>::Add(std::move(attribute));
}

const TAttribute* TAttributeList::Find(Symbol symbol) const {
  for (const auto& attribute : *this) {
    if (attribute->Symbol == symbol) return attribute.get();
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

}  // namespace tessival::html
