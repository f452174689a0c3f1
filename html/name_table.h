#pragma once
// Fixed sets of names (property names, colour names) looked up by text on hot paths: the
// names sit in an open-addressed hash table built at compile time, so a lookup is one hash
// over the text and, nearly always, one compare.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tessival::html {

// FNV-1a over every character: for keys whose beginnings and ends are much alike.
constexpr std::uint32_t HashWholeText(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

inline constexpr int NoName = -1;

// Slots (a power of two, well above the number of names) hold the index of a name or NoName.
template <std::size_t Slots>
using TNameSlots = std::array<int, Slots>;

// `name_at(i)` gives name i of `count`; `hash` is the table's hash function.
template <std::size_t Slots, typename Hash, typename NameAt>
constexpr TNameSlots<Slots> BuildNameSlots(int count, Hash hash, NameAt name_at) {
  static_assert((Slots & (Slots - 1)) == 0, "a power of two");
  TNameSlots<Slots> table{};
  for (int& slot : table) slot = NoName;
  for (int i = 0; i < count; ++i) {
    std::size_t at = hash(name_at(i)) & (Slots - 1);
    while (table[at] != NoName) at = (at + 1) & (Slots - 1);
    table[at] = i;
  }
  return table;
}

// The index of `name`, or NoName.
template <std::size_t Slots, typename Hash, typename NameAt>
constexpr int FindName(const TNameSlots<Slots>& table, std::string_view name, Hash hash,
                       NameAt name_at) {
  for (std::size_t at = hash(name) & (Slots - 1); table[at] != NoName; at = (at + 1) & (Slots - 1)) {
    if (name_at(table[at]) == name) return table[at];
  }
  return NoName;
}

}  // namespace tessival::html
