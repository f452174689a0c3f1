#pragma once
// A key that reaches the program wherever the input focus is (X11 only: a passive grab on
// the root window). Pressed, it calls on_pressed from the event loop.
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QKeySequence;

namespace tessival::app {

enum class GlobalKeyState { kOff, kActive, kTaken, kUnavailable, kUnsupportedKey };

// The dialog's line for a state, naming the key.
QString DescribeGlobalKeyState(GlobalKeyState state, const QString& key);

class GlobalKey : public QObject {
 public:
  // Takes key (portable text, "Ctrl+Alt+Y"; empty for none), giving up the one held.
  virtual GlobalKeyState Bind(const std::string& key) = 0;
  std::function<void()> on_pressed;
};

// The X11 one where the program runs on X11; the unavailable one elsewhere.
std::unique_ptr<GlobalKey> MakeDesktopGlobalKey();
// Answers kUnavailable for every key (kOff for none).
std::unique_ptr<GlobalKey> MakeNoGlobalKey();

// A key as X11 names it: the key symbol of its unshifted key and the modifier mask.
struct X11KeyChord {
  std::uint32_t keysym = 0;
  std::uint16_t modifiers = 0;
  bool operator==(const X11KeyChord& other) const = default;
};

// Nothing for an empty sequence, one of more keys than one, or a key without an X11 symbol
// the grab could use.
std::optional<X11KeyChord> X11ChordOf(const QKeySequence& sequence);

}  // namespace tessival::app
