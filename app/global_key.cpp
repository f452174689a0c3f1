#include "app/global_key.h"

#include <QKeySequence>

namespace tessival::app {
namespace {

// The core protocol's modifier bits.
constexpr std::uint16_t kShiftMask = 1 << 0;
constexpr std::uint16_t kControlMask = 1 << 2;
constexpr std::uint16_t kMod1Mask = 1 << 3;  // Alt
constexpr std::uint16_t kMod4Mask = 1 << 6;  // Meta, the "Windows" key

// Key symbols of the keys without a printable character.
constexpr std::uint32_t kKeysymF1 = 0xFFBE;
// clang-format off
constexpr std::pair<int, std::uint32_t> kSpecialKeys[] = {
    {Qt::Key_Space, 0x0020}, {Qt::Key_Escape, 0xFF1B},  {Qt::Key_Tab, 0xFF09},
    {Qt::Key_Return, 0xFF0D}, {Qt::Key_Insert, 0xFF63}, {Qt::Key_Delete, 0xFFFF},
    {Qt::Key_Pause, 0xFF13}, {Qt::Key_Print, 0xFF61},   {Qt::Key_Home, 0xFF50},
    {Qt::Key_End, 0xFF57},   {Qt::Key_PageUp, 0xFF55},  {Qt::Key_PageDown, 0xFF56},
    {Qt::Key_Left, 0xFF51},  {Qt::Key_Up, 0xFF52},      {Qt::Key_Right, 0xFF53},
    {Qt::Key_Down, 0xFF54},
};
// clang-format on

std::optional<std::uint32_t> KeysymOf(int key) {
  // Letters are named by their lower-case symbol, the one the unshifted key carries.
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<std::uint32_t>(key - Qt::Key_A + 'a');
  if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
    return kKeysymF1 + static_cast<std::uint32_t>(key - Qt::Key_F1);
  for (const auto& [qt_key, keysym] : kSpecialKeys) {
    if (qt_key == key) return keysym;
  }
  if (key > 0x20 && key < 0x7F) return static_cast<std::uint32_t>(key);  // digits, punctuation
  return std::nullopt;
}

class NoGlobalKey : public GlobalKey {
 public:
  GlobalKeyState Bind(const std::string& key) override {
    return key.empty() ? GlobalKeyState::kOff : GlobalKeyState::kUnavailable;
  }
};

}  // namespace

std::unique_ptr<GlobalKey> MakeNoGlobalKey() { return std::make_unique<NoGlobalKey>(); }

QString DescribeGlobalKeyState(GlobalKeyState state, const QString& key) {
  switch (state) {
    case GlobalKeyState::kOff: return QStringLiteral("Keine globale Taste.");
    case GlobalKeyState::kActive: return QStringLiteral("Die globale Taste %1 ist aktiv.").arg(key);
    case GlobalKeyState::kTaken:
      return QStringLiteral("Die Taste %1 ist von einem anderen Programm belegt.").arg(key);
    case GlobalKeyState::kUnavailable:
      return QStringLiteral("Eine globale Taste ist hier nicht verf\u00fcgbar (kein X11).");
    case GlobalKeyState::kUnsupportedKey:
      return QStringLiteral("Die Taste %1 kann nicht global belegt werden.").arg(key);
  }
  return {};
}

std::optional<X11KeyChord> X11ChordOf(const QKeySequence& sequence) {
  if (sequence.count() != 1) return std::nullopt;
  const QKeyCombination combination = sequence[0];
  const std::optional<std::uint32_t> keysym = KeysymOf(combination.key());
  if (!keysym) return std::nullopt;
  X11KeyChord chord;
  chord.keysym = *keysym;
  const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
  if (modifiers.testFlag(Qt::ShiftModifier)) chord.modifiers |= kShiftMask;
  if (modifiers.testFlag(Qt::ControlModifier)) chord.modifiers |= kControlMask;
  if (modifiers.testFlag(Qt::AltModifier)) chord.modifiers |= kMod1Mask;
  if (modifiers.testFlag(Qt::MetaModifier)) chord.modifiers |= kMod4Mask;
  return chord;
}

}  // namespace tessival::app
