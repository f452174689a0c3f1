#include "platform/screen_cursor.h"

namespace tessival::platform {
namespace {

struct CursorState {
  TCursor cursor = TCursor::crDefault;
  std::function<void(TCursor)> backend;
};

CursorState& State() {
  static CursorState state;
  return state;
}

}  // namespace

TCursor ScreenCursor::Get() { return State().cursor; }

void ScreenCursor::Set(TCursor cursor) {
  CursorState& state = State();
  state.cursor = cursor;
  if (state.backend) state.backend(cursor);
}

void ScreenCursor::SetBackend(std::function<void(TCursor)> backend) {
  State().backend = std::move(backend);
}

}  // namespace tessival::platform
