#pragma once
// A notification area that records what is asked of it in a log that outlives it, and
// clicks on command.
#include <string>
#include <vector>

#include "app/tray_area.h"

namespace tessival::app {

class FakeTrayArea : public TrayArea {
 public:
  explicit FakeTrayArea(std::vector<std::string>& log, bool accepts = true)
      : calls(log), accepts_(accepts) {}

  bool Add(const QIcon&, const QString& tip) override {
    calls.push_back("add " + tip.toStdString());
    return accepts_;
  }
  void Modify(const QIcon&, const QString& tip) override {
    calls.push_back("modify " + tip.toStdString());
  }
  void Remove() override { calls.push_back("remove"); }

  void Mouse(platform::UINT mouse_message) const { ReportMouse(mouse_message); }

  std::vector<std::string>& calls;

 private:
  bool accepts_;
};

}  // namespace tessival::app
