#pragma once
// Values found by a text key, for the style sheet's rules: every element asks for some twenty
// keys and every rule of a sheet for one or two, so a key is hashed once, inline, and found
// in one open-addressed table. The keys are views: whoever adds one keeps its text alive for
// as long as the index holds it. Values never move once added.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>
#include <utility>
#include <vector>

#include "html/name_table.h"

namespace tessival::html {

template <typename Value>
class TKeyIndex {
 public:
  Value* Find(std::string_view key) { return const_cast<Value*>(std::as_const(*this).Find(key)); }
  const Value* Find(std::string_view key) const {
    if (Slots.empty()) return nullptr;
    const std::uint32_t hash = HashOf(key);
    for (std::size_t at = hash & Mask(); Slots[at].Number != 0; at = (at + 1) & Mask()) {
      const Slot& slot = Slots[at];
      if (slot.Hash == hash && Values[slot.Number - 1].first == key)
        return &Values[slot.Number - 1].second;
    }
    return nullptr;
  }

  // The value under `key`, made empty if there was none.
  Value& FindOrAdd(std::string_view key) {
    if ((Values.size() + 1) * 4 > Slots.size() * 3) Grow();
    const std::uint32_t hash = HashOf(key);
    std::size_t at = hash & Mask();
    for (; Slots[at].Number != 0; at = (at + 1) & Mask()) {
      const Slot& slot = Slots[at];
      if (slot.Hash == hash && Values[slot.Number - 1].first == key)
        return Values[slot.Number - 1].second;
    }
    Values.emplace_back(key, Value{});
    Slots[at] = {hash, static_cast<std::uint32_t>(Values.size())};
    return Values.back().second;
  }

  void Clear() {
    Slots.clear();
    Values.clear();
  }

 private:
  struct Slot {
    std::uint32_t Hash = 0;
    std::uint32_t Number = 0;  // of the value, counted from 1; 0 for a free slot
  };

  static std::uint32_t HashOf(std::string_view key) { return HashWholeText(key); }
  std::size_t Mask() const { return Slots.size() - 1; }

  void Grow() {
    std::vector<Slot> old = std::move(Slots);
    Slots.assign(old.empty() ? 64 : old.size() * 2, Slot{});
    for (const Slot& slot : old) {
      if (slot.Number == 0) continue;
      std::size_t at = slot.Hash & Mask();
      while (Slots[at].Number != 0) at = (at + 1) & Mask();
      Slots[at] = slot;
    }
  }

  std::vector<Slot> Slots;  // a power of two in size, at most three quarters used
  std::deque<std::pair<std::string_view, Value>> Values;
};

}  // namespace tessival::html
