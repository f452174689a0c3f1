// Fonts and widgets need the application before the first test asks for them.
#include <gtest/gtest.h>

#include "tests/widgets/qt_app_fixture.h"

namespace {

class GuiApplication : public ::testing::Environment {
 public:
  void SetUp() override { tessival::testing::EnsureQtApplication(); }
};

[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(
    new GuiApplication);

}  // namespace
