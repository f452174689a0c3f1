#pragma once
// A clean-up that runs when a scope is left, however it is left: the one place for what
// would otherwise be written twice, once in a catch-all block that rethrows and once after
// it.
#include <exception>
#include <utility>

namespace tessival::platform {

template <class Cleanup>
class ScopeExit {
 public:
  explicit ScopeExit(Cleanup cleanup)
      : cleanup_(std::move(cleanup)), exceptions_(std::uncaught_exceptions()) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

  // A clean-up that fails on the normal way out reports its own fault. One that fails while
  // an exception is already on its way is passed over: the first fault is the one the
  // caller hears of (a second one leaving here would end the program).
  ~ScopeExit() noexcept(false) {
    if (std::uncaught_exceptions() <= exceptions_) {
      cleanup_();
      return;
    }
    try {
      cleanup_();
    } catch (...) {  // NOLINT(bugprone-empty-catch): the first fault is already on its way
    }
  }

 private:
  Cleanup cleanup_;
  int exceptions_;
};

}  // namespace tessival::platform
