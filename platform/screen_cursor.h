#pragma once
// The screen cursor: one for the whole program, as on the desktop. The engine sets it
// (the hourglass while fetching or converting); the application installs a backend that
// shows it.
#include <functional>

namespace tessival::platform {

enum class TCursor { crDefault, crHourGlass, crVSplit, crHSplit, crHandPoint, crIBeam };

class ScreenCursor {
 public:
  static TCursor Get();
  static void Set(TCursor cursor);
  // Called with every new cursor; empty = no display (tests, tools).
  static void SetBackend(std::function<void(TCursor)> backend);
};

// Shows the hourglass for its lifetime and then restores whatever cursor was there, also
// when the work in between throws.
class BusyCursor {
 public:
  BusyCursor() : saved_(ScreenCursor::Get()) { ScreenCursor::Set(TCursor::crHourGlass); }
  ~BusyCursor() { ScreenCursor::Set(saved_); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  TCursor saved_;
};

}  // namespace tessival::platform
