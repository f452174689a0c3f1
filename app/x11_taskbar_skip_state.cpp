// The skip-taskbar state on X11: the _NET_WM_STATE_SKIP_TASKBAR atom in the window's
// _NET_WM_STATE property (read by the window manager when the window is mapped) and the
// _NET_WM_STATE client message to the root window (for a window already managed).
#include <QGuiApplication>
#include <QWidget>

#include "app/taskbar_skip_state.h"

#if defined(TESSIVAL_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>
#define TESSIVAL_X11_SKIP_TASKBAR 1
#endif

namespace tessival::app {
namespace {

class NoTaskbarSkipState : public TaskbarSkipState {
 public:
  bool Supported() const override { return false; }
  void SetWhileHidden(QWidget&, bool) override {}
  void RequestWhileShown(QWidget&, bool) override {}
};

#ifdef TESSIVAL_X11_SKIP_TASKBAR

class X11TaskbarSkipState : public TaskbarSkipState {
 public:
  explicit X11TaskbarSkipState(xcb_connection_t* connection)
      : connection_(connection),
        state_(Atom("_NET_WM_STATE")),
        skip_taskbar_(Atom("_NET_WM_STATE_SKIP_TASKBAR")) {}

  bool Supported() const override { return state_ != XCB_ATOM_NONE && skip_taskbar_ != XCB_ATOM_NONE; }

  void SetWhileHidden(QWidget& window, bool skip) override {
    const auto id = static_cast<xcb_window_t>(window.winId());
    std::vector<xcb_atom_t> atoms = CurrentStates(id);
    atoms.erase(std::remove(atoms.begin(), atoms.end(), skip_taskbar_), atoms.end());
    if (skip) atoms.push_back(skip_taskbar_);
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, id, state_, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(atoms.size()), atoms.data());
    xcb_flush(connection_);
  }

  void RequestWhileShown(QWidget& window, bool skip) override {
    constexpr std::uint32_t kRemove = 0, kAdd = 1, kFromApplication = 1;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window.winId());
    event.type = state_;
    event.data.data32[0] = skip ? kAdd : kRemove;
    event.data.data32[1] = skip_taskbar_;
    event.data.data32[3] = kFromApplication;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    xcb_send_event(connection_, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection_);
  }

 private:
  xcb_atom_t Atom(const char* name) const {
    const auto cookie = xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)),
                                        name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
  }

  std::vector<xcb_atom_t> CurrentStates(xcb_window_t window) const {
    constexpr std::uint32_t kMaxAtoms = 64;
    const auto cookie = xcb_get_property(connection_, 0, window, state_, XCB_ATOM_ATOM, 0, kMaxAtoms);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
    std::vector<xcb_atom_t> atoms;
    if (reply != nullptr && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
      const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
      atoms.assign(values, values + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return atoms;
  }

  xcb_connection_t* connection_;
  xcb_atom_t state_;
  xcb_atom_t skip_taskbar_;
};

#endif

}  // namespace

std::unique_ptr<TaskbarSkipState> MakeDesktopTaskbarSkipState() {
#ifdef TESSIVAL_X11_SKIP_TASKBAR
  // Other platforms may answer for the X11 interface too (the offscreen one does, with
  // no connection), so the platform's name decides.
  if (qGuiApp != nullptr && QGuiApplication::platformName() == QLatin1String("xcb")) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && x11->connection() != nullptr) {
      return std::make_unique<X11TaskbarSkipState>(x11->connection());
    }
  }
#endif
  return std::make_unique<NoTaskbarSkipState>();
}

}  // namespace tessival::app
