#pragma once
// One property value: empty, an integer (lengths' sentinels, colours, flags), a
// floating-point number (font sizes after combining) or the text as written.
//
// A style sheet stores a text in some hundred thousand slots and every element copies its
// parent's, so a text of up to InlineRoom characters (nearly every one a sheet holds) is kept
// inside the value itself; only a longer one takes room of its own, owned by the value.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace tessival::html {

class PropValue {
 public:
  static constexpr std::size_t InlineRoom = 24;

  PropValue() noexcept {}  // NOLINT: an empty value leaves its room unset, as nothing reads it
  PropValue(int value) noexcept : Kind(TKind::Int) { Number.Int = value; }           // NOLINT: a value
  PropValue(double value) noexcept : Kind(TKind::Double) { Number.Double = value; }  // NOLINT: a value
  PropValue(std::string_view text) : Number{} { SetText(text); }                     // NOLINT: a value
  PropValue(const std::string& text) : PropValue(std::string_view(text)) {}          // NOLINT: a value
  PropValue(const PropValue& other);
  PropValue(PropValue&& other) noexcept;
  PropValue& operator=(const PropValue& other);
  PropValue& operator=(PropValue&& other) noexcept;
  ~PropValue() { Release(); }

  // The same kind holding the same number or the same characters.
  bool operator==(const PropValue& other) const;
  bool IsEmpty() const { return Kind == TKind::Empty; }
  const int* IntValue() const { return Kind == TKind::Int ? &Number.Int : nullptr; }
  const double* DoubleValue() const { return Kind == TKind::Double ? &Number.Double : nullptr; }
  std::optional<std::string_view> TextValue() const {
    if (Kind != TKind::Text) return std::nullopt;
    return std::string_view(OnHeap ? Number.Heap.Data : Number.Inline, Length);
  }
  // Makes this a text, reusing room of its own where the text fits; `text` may be a view of
  // this value's own text.
  void SetText(std::string_view text) {
    if (OnHeap || text.size() > InlineRoom) {
      SetLongText(text);
      return;
    }
    CopyShort(Number.Inline, text.data(), text.size());
    Length = static_cast<std::uint32_t>(text.size());
    Kind = TKind::Text;
  }

 private:
  enum class TKind : std::uint8_t { Empty, Int, Double, Text };

  void Release() noexcept {
    if (OnHeap) delete[] Number.Heap.Data;
    OnHeap = false;
  }
  void CopyFrom(const PropValue& other);
  void SetLongText(std::string_view text);

  // Copies at most InlineRoom characters in a few overlapping pieces, every piece read before
  // any is written, so that `from` may overlap `to`: most texts are stored through here.
  static void CopyShort(char* to, const char* from, std::size_t count) {
    if (count >= 8) {
      std::uint64_t first, middle, last;
      std::memcpy(&first, from, 8);
      std::memcpy(&middle, from + count / 2 - 4, 8);
      std::memcpy(&last, from + count - 8, 8);
      std::memcpy(to, &first, 8);
      std::memcpy(to + count / 2 - 4, &middle, 8);
      std::memcpy(to + count - 8, &last, 8);
    } else if (count >= 4) {
      std::uint32_t first, last;
      std::memcpy(&first, from, 4);
      std::memcpy(&last, from + count - 4, 4);
      std::memcpy(to, &first, 4);
      std::memcpy(to + count - 4, &last, 4);
    } else if (count > 0) {
      const char first = from[0], middle = from[count / 2], last = from[count - 1];
      to[0] = first;
      to[count / 2] = middle;
      to[count - 1] = last;
    }
  }

  union Storage {
    int Int;
    double Double;
    char Inline[InlineRoom];
    struct {
      char* Data;  // owned
      std::size_t Capacity;
    } Heap;  // a text longer than InlineRoom
  } Number;
  std::uint32_t Length = 0;  // of a text
  TKind Kind = TKind::Empty;
  bool OnHeap = false;
};

}  // namespace tessival::html
