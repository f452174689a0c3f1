// The clean-up guard: it runs on every way out, and a clean-up that fails while a fault is
// already on its way never replaces that fault.
#include "platform/scope_exit.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tessival::platform {
namespace {

struct Exit {
  const char* name;
  bool throws_in_scope;
  bool cleanup_throws;
  const char* reported;  // what the caller catches, "" for nothing
};

TEST(ScopeExitTest, CleansUpOnEveryWayOutAndReportsTheFirstFault) {
  const Exit exits[] = {
      {"normal", false, false, ""},
      {"fault in the scope", true, false, "scope"},
      {"fault in the clean-up", false, true, "cleanup"},
      {"both: the first wins", true, true, "scope"},
  };
  for (const Exit& exit : exits) {
    int cleanups = 0;
    std::string reported;
    try {
      const ScopeExit guard([&] {
        ++cleanups;
        if (exit.cleanup_throws) throw std::runtime_error("cleanup");
      });
      if (exit.throws_in_scope) throw std::runtime_error("scope");
    } catch (const std::runtime_error& error) {
      reported = error.what();
    }
    EXPECT_EQ(cleanups, 1) << exit.name;
    EXPECT_EQ(reported, exit.reported) << exit.name;
  }
}

}  // namespace
}  // namespace tessival::platform
