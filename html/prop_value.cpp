#include "html/prop_value.h"

#include <bit>

#include <cstring>
#include <limits>

namespace tessival::html {

PropValue::PropValue(const PropValue& other) : Number{} { CopyFrom(other); }

PropValue::PropValue(PropValue&& other) noexcept
    : Number(other.Number), Length(other.Length), Kind(other.Kind), OnHeap(other.OnHeap) {
  other.OnHeap = false;
  other.Kind = TKind::Empty;
}

PropValue& PropValue::operator=(const PropValue& other) {
  if (this != &other) {
    if (other.OnHeap) {
      SetText(*other.TextValue());
    } else {
      Release();
      CopyFrom(other);
    }
  }
  return *this;
}

PropValue& PropValue::operator=(PropValue&& other) noexcept {
  if (this != &other) {
    Release();
    Number = other.Number;
    Length = other.Length;
    Kind = other.Kind;
    OnHeap = other.OnHeap;
    other.OnHeap = false;
    other.Kind = TKind::Empty;
  }
  return *this;
}

// Expects no room of its own.
void PropValue::CopyFrom(const PropValue& other) {
  if (other.OnHeap) {
    SetText(*other.TextValue());
    return;
  }
  Number = other.Number;
  Length = other.Length;
  Kind = other.Kind;
}

void PropValue::SetLongText(std::string_view text) {
  // No sheet holds a value of four gigabytes; one beyond that is cut rather than wrapped.
  text = text.substr(0, std::numeric_limits<std::uint32_t>::max());
  if (text.size() <= InlineRoom) {
    // The text may lie in the room given up here: moved in before that room is freed.
    char* held = OnHeap ? Number.Heap.Data : nullptr;
    if (!text.empty()) std::memmove(Number.Inline, text.data(), text.size());
    delete[] held;
    OnHeap = false;
  } else if (OnHeap && Number.Heap.Capacity >= text.size()) {
    std::memmove(Number.Heap.Data, text.data(), text.size());
  } else {
    char* room = new char[text.size()];
    std::memcpy(room, text.data(), text.size());
    Release();
    Number.Heap.Data = room;
    Number.Heap.Capacity = text.size();
    OnHeap = true;
  }
  Length = static_cast<std::uint32_t>(text.size());
  Kind = TKind::Text;
}

bool PropValue::operator==(const PropValue& other) const {
  if (Kind != other.Kind) return false;
  switch (Kind) {
    case TKind::Empty: return true;
    case TKind::Int: return Number.Int == other.Number.Int;
    // Bit for bit, so that a remembered result is never reused for a value that merely
    // compares equal (0 and -0).
    case TKind::Double:
      return std::bit_cast<std::uint64_t>(Number.Double) ==
             std::bit_cast<std::uint64_t>(other.Number.Double);
    case TKind::Text: return TextValue() == other.TextValue();
  }
  return false;
}

}  // namespace tessival::html
