// One application object for the whole suite: fonts and widgets need it, and Qt allows
// only one at a time.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class GuiApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "platform_qt_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiApplication);

}  // namespace
