#pragma once
// One property value: empty, an integer (lengths' sentinels, colours, flags), a
// floating-point number (font sizes after combining) or the text as written.
//
// A style sheet stores a text in some hundred thousand slots and every element copies its
// parent's, so a text of up to InlineRoom characters (nearly every one a sheet holds) is kept
// inside the value itself; only a longer one takes room of its own, owned by the value.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessival::html {

class PropValue {
 public:
  static constexpr std::size_t InlineRoom = 24;

  PropValue() noexcept : Number{} {}
  PropValue(int value) noexcept : Kind(TKind::Int) { Number.Int = value; }           // NOLINT: a value
  PropValue(double value) noexcept : Kind(TKind::Double) { Number.Double = value; }  // NOLINT: a value
  PropValue(std::string_view text) : Number{} { SetText(text); }                     // NOLINT: a value
  PropValue(const std::string& text) : PropValue(std::string_view(text)) {}          // NOLINT: a value
  PropValue(const PropValue& other);
  PropValue(PropValue&& other) noexcept;
  PropValue& operator=(const PropValue& other);
  PropValue& operator=(PropValue&& other) noexcept;
  ~PropValue() { Release(); }

  bool IsEmpty() const { return Kind == TKind::Empty; }
  const int* IntValue() const { return Kind == TKind::Int ? &Number.Int : nullptr; }
  const double* DoubleValue() const { return Kind == TKind::Double ? &Number.Double : nullptr; }
  std::optional<std::string_view> TextValue() const {
    if (Kind != TKind::Text) return std::nullopt;
    return std::string_view(OnHeap ? Number.Heap.Data : Number.Inline, Length);
  }
  // Makes this a text, reusing room of its own where the text fits; `text` may be a view of
  // this value's own text.
  void SetText(std::string_view text);

 private:
  enum class TKind : std::uint8_t { Empty, Int, Double, Text };

  void Release() noexcept {
    if (OnHeap) delete[] Number.Heap.Data;
    OnHeap = false;
  }
  void CopyFrom(const PropValue& other);

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
