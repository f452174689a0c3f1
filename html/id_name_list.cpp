#include "html/id_name_list.h"

#include <algorithm>

#include "html/ascii_text.h"

namespace tessival::html {
namespace {

bool LessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return ascii::Byte(ascii::Lower(x)) < ascii::Byte(ascii::Lower(y));
  });
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return !LessNoCase(a, b) && !LessNoCase(b, a);
}

}  // namespace

int TChPosObj::YPosition() const {
  if (locator_ == nullptr) return 0;
  return locator_->YOfSourcePos(source_pos_).value_or(0);
}

std::vector<TIDNameList::Entry>::iterator TIDNameList::LowerBound(std::string_view name) {
  return std::lower_bound(entries_.begin(), entries_.end(), name,
                          [](const Entry& entry, std::string_view key) {
                            return LessNoCase(entry.name, key);
                          });
}

void TIDNameList::Insert(Entry entry) {
  auto at = LowerBound(entry.name);
  if (at != entries_.end() && EqualNoCase(at->name, entry.name)) {
    at = entries_.erase(at);  // frees the old anchor when the list owned it
  }
  entries_.insert(at, std::move(entry));
}

void TIDNameList::AddObject(std::string_view name, TIDObject* object) {
  Insert(Entry{std::string(name), object, nullptr});
}

void TIDNameList::AddChPosObject(std::string_view name, std::int32_t sourcePos) {
  auto anchor = std::make_unique<TChPosObj>(locator_, sourcePos);
  TIDObject* object = anchor.get();
  Insert(Entry{std::string(name), object, std::move(anchor)});
}

void TIDNameList::Clear() { entries_.clear(); }

void TIDNameList::RemoveObject(const TIDObject* object) {
  std::erase_if(entries_, [object](const Entry& entry) { return entry.object == object; });
}

const TIDObject* TIDNameList::Find(std::string_view name) const {
  auto at = std::lower_bound(entries_.begin(), entries_.end(), name,
                             [](const Entry& entry, std::string_view key) {
                               return LessNoCase(entry.name, key);
                             });
  if (at == entries_.end() || !EqualNoCase(at->name, name)) return nullptr;
  return at->object;
}

}  // namespace tessival::html
