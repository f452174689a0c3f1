// The global key on X11: a passive grab of the key on the root window, once for each state
// of Num Lock and Caps Lock (the grab matches modifiers exactly), and a native event filter
// that sees the grabbed presses before Qt does.
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeySequence>
#include <QTimer>

#include "app/global_key.h"

#if defined(TESSIVAL_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <vector>
#define TESSIVAL_X11_GLOBAL_KEY 1
#endif

namespace tessival::app {

#ifdef TESSIVAL_X11_GLOBAL_KEY
namespace {

constexpr std::uint16_t kLockMask = XCB_MOD_MASK_LOCK;
constexpr std::uint16_t kNumLockMask = XCB_MOD_MASK_2;
constexpr std::array<std::uint16_t, 4> kIgnoredModifierSets = {0, kLockMask, kNumLockMask,
                                                               kLockMask | kNumLockMask};

class X11GlobalKey : public GlobalKey, public QAbstractNativeEventFilter {
 public:
  explicit X11GlobalKey(xcb_connection_t* connection)
      : connection_(connection), root_(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root) {
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  ~X11GlobalKey() override {
    Release();
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }
  X11GlobalKey(const X11GlobalKey&) = delete;
  X11GlobalKey& operator=(const X11GlobalKey&) = delete;

  GlobalKeyState Bind(const std::string& key) override {
    Release();
    if (key.empty()) return GlobalKeyState::kOff;
    const std::optional<X11KeyChord> chord = X11ChordOf(
        QKeySequence::fromString(QString::fromStdString(key), QKeySequence::PortableText));
    const xcb_keycode_t keycode = chord ? KeycodeOf(chord->keysym) : 0;
    if (keycode == 0) return GlobalKeyState::kUnsupportedKey;
    grabbed_keycode_ = keycode;
    for (const std::uint16_t ignored : kIgnoredModifierSets) {
      const xcb_void_cookie_t cookie = xcb_grab_key_checked(connection_, 1, root_,
                                                            chord->modifiers | ignored, keycode,
                                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
      // Another client's grab of the same key and modifiers ends in an access error.
      if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
        std::free(error);
        Release();
        return GlobalKeyState::kTaken;
      }
      grabbed_.push_back(static_cast<std::uint16_t>(chord->modifiers | ignored));
    }
    keycode_ = keycode;
    modifiers_ = chord->modifiers;
    return GlobalKeyState::kActive;
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (keycode_ == 0 || type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS) return false;
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    const auto modifiers = static_cast<std::uint16_t>(press->state & ~(kLockMask | kNumLockMask) & 0xFF);
    if (press->detail != keycode_ || modifiers != modifiers_) return false;
    // The query waits for its answer: it runs from the loop, not inside the filter.
    QTimer::singleShot(0, this, [this] {
      if (on_pressed) on_pressed();
    });
    return true;
  }

 private:
  xcb_keycode_t KeycodeOf(std::uint32_t keysym) const {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto cookie = xcb_get_keyboard_mapping(connection_, setup->min_keycode,
                                                 static_cast<std::uint8_t>(count));
    xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(connection_, cookie,
                                                                             nullptr);
    if (reply == nullptr) return 0;
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(reply);
    const int per_key = reply->keysyms_per_keycode;
    xcb_keycode_t found = 0;
    for (int i = 0; i < count && found == 0; ++i) {
      for (int j = 0; j < per_key && j < 2; ++j) {  // the plain and the shifted symbol
        if (symbols[i * per_key + j] == keysym)
          found = static_cast<xcb_keycode_t>(setup->min_keycode + i);
      }
    }
    std::free(reply);
    return found;
  }

  void Release() {
    for (const std::uint16_t modifiers : grabbed_)
      xcb_ungrab_key(connection_, grabbed_keycode_, root_, modifiers);
    grabbed_.clear();
    keycode_ = 0;
    xcb_flush(connection_);
  }

  xcb_connection_t* connection_;
  xcb_window_t root_;
  xcb_keycode_t keycode_ = 0;  // the key pressed; 0 while none is held
  std::uint16_t modifiers_ = 0;
  xcb_keycode_t grabbed_keycode_ = 0;  // the key of the grabs in grabbed_
  std::vector<std::uint16_t> grabbed_;
};

}  // namespace
#endif

std::unique_ptr<GlobalKey> MakeDesktopGlobalKey() {
#ifdef TESSIVAL_X11_GLOBAL_KEY
  // The offscreen platform answers for the X11 interface too, with no connection: the
  // platform's name decides.
  if (qGuiApp != nullptr && QGuiApplication::platformName() == QLatin1String("xcb")) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && x11->connection() != nullptr)
      return std::make_unique<X11GlobalKey>(x11->connection());
  }
#endif
  return MakeNoGlobalKey();
}

}  // namespace tessival::app
