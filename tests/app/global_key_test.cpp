// The global key: which keys it can take, and the real thing on a private X server: another
// client holds the primary selection, the key is sent through the X test extension, and
// the running program queries its last service with the selected text.
#include "app/global_key.h"

#include <poll.h>

#include <QKeySequence>
#include <QProcess>
#include <QSettings>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

#include "scratch_directory.h"
#include "web_peers.h"

#ifdef TESSIVAL_TEST_XTEST
#include <xcb/xcb.h>
#include <xcb/xtest.h>
#endif

namespace tessival::app {
namespace {

TEST(X11ChordOf, KeysAndModifiers) {
  struct Case {
    const char* key;
    std::optional<X11KeyChord> chord;
  };
  // clang-format off
  const Case cases[] = {
      {"Ctrl+Alt+Y",     X11KeyChord{'y', 4 | 8}},
      {"Shift+Meta+F12", X11KeyChord{0xFFC9, 1 | 64}},
      {"Ctrl+5",         X11KeyChord{'5', 4}},
      {"Alt+Space",      X11KeyChord{' ', 8}},
      {"Ctrl+PgDown",    X11KeyChord{0xFF56, 4}},
      {"",               std::nullopt},
      {"Ctrl+A, Ctrl+B", std::nullopt},
      {"Ctrl+Menu",      std::nullopt},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(X11ChordOf(QKeySequence::fromString(QString::fromLatin1(c.key))), c.chord) << c.key;
  }
  EXPECT_EQ(MakeNoGlobalKey()->Bind("Ctrl+Alt+Y"), GlobalKeyState::kUnavailable);
  EXPECT_EQ(MakeNoGlobalKey()->Bind(""), GlobalKeyState::kOff);
}

#ifdef TESSIVAL_TEST_XTEST

// A client of the private X server: owns the primary selection, sends keys.
class OtherClient {
 public:
  explicit OtherClient(const std::string& display) : connection_(xcb_connect(display.c_str(), nullptr)) {
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen_->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    targets_ = Atom("TARGETS");
    utf8_ = Atom("UTF8_STRING");
  }
  ~OtherClient() { xcb_disconnect(connection_); }
  OtherClient(const OtherClient&) = delete;
  OtherClient& operator=(const OtherClient&) = delete;

  bool ok() const { return xcb_connection_has_error(connection_) == 0; }

  void Select(const std::string& text) {
    text_ = text;
    xcb_set_selection_owner(connection_, window_, XCB_ATOM_PRIMARY, XCB_CURRENT_TIME);
    xcb_flush(connection_);
  }

  // True when another client holds a passive grab of Ctrl+Alt+Y.
  bool KeyIsTaken() {
    const auto cookie = xcb_grab_key_checked(connection_, 1, screen_->root,
                                             XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, Keycode('y'),
                                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_generic_error_t* error = xcb_request_check(connection_, cookie);
    std::free(error);
    if (error == nullptr) {
      xcb_ungrab_key(connection_, Keycode('y'), screen_->root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1);
    }
    xcb_flush(connection_);
    return error != nullptr;
  }

  void PressCtrlAltY() {
    const xcb_keycode_t keys[] = {Keycode(0xFFE3), Keycode(0xFFE9), Keycode('y')};  // Control_L, Alt_L
    for (const xcb_keycode_t key : keys) Fake(XCB_KEY_PRESS, key);
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) Fake(XCB_KEY_RELEASE, *it);
    xcb_flush(connection_);
  }

  // Answers the selection's requests for up to timeout_ms, waiting for them without spinning.
  void Serve(int timeout_ms) {
    pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
    ::poll(&fd, 1, timeout_ms);
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
      if ((event->response_type & 0x7F) == XCB_SELECTION_REQUEST) {
        Answer(*reinterpret_cast<xcb_selection_request_event_t*>(event));
      }
      std::free(event);
    }
    xcb_flush(connection_);
  }

 private:
  xcb_atom_t Atom(const char* name) {
    const auto cookie = xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)),
                                        name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
  }

  xcb_keycode_t Keycode(xcb_keysym_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto* reply = xcb_get_keyboard_mapping_reply(
        connection_,
        xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<std::uint8_t>(count)),
        nullptr);
    xcb_keycode_t found = 0;
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(reply);
    for (int i = 0; i < count * reply->keysyms_per_keycode && found == 0; ++i) {
      if (symbols[i] == keysym)
        found = static_cast<xcb_keycode_t>(setup->min_keycode + i / reply->keysyms_per_keycode);
    }
    std::free(reply);
    return found;
  }

  void Fake(std::uint8_t type, xcb_keycode_t key) {
    xcb_test_fake_input(connection_, type, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  }

  void Answer(const xcb_selection_request_event_t& request) {
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = request.property;
    notify.time = request.time;
    if (request.target == targets_) {
      const xcb_atom_t offered[] = {targets_, utf8_, XCB_ATOM_STRING};
      xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                          XCB_ATOM_ATOM, 32, 3, offered);
    } else {
      xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                          request.target, 8, static_cast<std::uint32_t>(text_.size()), text_.data());
    }
    xcb_send_event(connection_, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notify));
  }

  xcb_connection_t* connection_;
  xcb_screen_t* screen_ = nullptr;
  xcb_window_t window_ = 0;
  xcb_atom_t targets_ = 0, utf8_ = 0;
  std::string text_;
};

class GlobalKeyOnX11Test : public ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    if (!nginx_.Start()) GTEST_SKIP() << "nginx is not available: " << nginx_.error();
    nginx_.AddFile("cgi-bin/wort_www", "<html>Wortschatz</html>\n");
    xserver_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!xserver_.waitForStarted() || !xserver_.waitForReadyRead(10000))
      GTEST_SKIP() << "Xvfb does not start";
    display_ = ":" + xserver_.readLine().trimmed().toStdString();
  }
  void TearDown() override {
    program_.kill();
    program_.waitForFinished();
    xserver_.kill();
    xserver_.waitForFinished();
    ScratchDirectoryTest::TearDown();
  }

  net::testing::NginxPeer nginx_;
  QProcess xserver_;
  QProcess program_;
  std::string display_;
};

TEST_F(GlobalKeyOnX11Test, KeyQueriesTheLastServiceWithTheSelection) {
  {  // The settings of an earlier run: Wortschatz was used last.
    QSettings settings(QString::fromStdString((dir() / "tessival" / "tessival.ini").string()),
                       QSettings::IniFormat);
    settings.setValue(QStringLiteral("Query/LastService"), QStringLiteral("Wortschatz"));
  }
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(display_));
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir().string()));
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(dir().string()));
  environment.insert(QStringLiteral("TESSIVAL_SERVICE_HOST"), QString::fromStdString(nginx_.address()));
  // Under the sanitizers the strict string checks stop the X keyboard library's own start
  // (it reads a string past its buffer's end); the program is killed, so leaks are moot.
  if (environment.contains(QStringLiteral("ASAN_OPTIONS")))
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
  program_.setProcessEnvironment(environment);
  program_.setWorkingDirectory(QString::fromStdString(dir().string()));
  program_.start(QStringLiteral(TESSIVAL_PROGRAM), {});
  ASSERT_TRUE(program_.waitForStarted());

  OtherClient other(display_);
  ASSERT_TRUE(other.ok());
  for (int i = 0; i < 300 && !other.KeyIsTaken(); ++i) QTest::qWait(50);
  ASSERT_TRUE(other.KeyIsTaken()) << program_.readAllStandardError().toStdString();
  other.Select("Auswahl");
  other.PressCtrlAltY();
  for (int i = 0; i < 200 && ReadFile("wortschatz.htm").empty(); ++i) other.Serve(50);
  EXPECT_EQ(ReadFile("wortschatz.htm"), "<html>Wortschatz</html>\n");
  EXPECT_NE(ReadFile("url.txt").find("Wort=Auswahl&"), std::string::npos) << ReadFile("url.txt");
}

#endif

}  // namespace
}  // namespace tessival::app
