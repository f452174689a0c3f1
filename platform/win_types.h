#pragma once
// The handful of message-passing types the engine shares with its window messages.
#include <cstdint>

namespace tessival::platform {

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Message numbers keep their classic values so the engine's own numbering (WM_USER + n)
// reads the same as everywhere else.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_USER = 0x0400;

}  // namespace tessival::platform
