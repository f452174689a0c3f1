#pragma once
// Document panels as Qt widgets: a white frame with a single border, a child of the widget
// the viewer paints documents on.
#include <QPointer>

#include "platform/panel_window.h"

class QFrame;
class QWidget;

namespace tessival::platform {

class QtPanelWindow final : public PanelWindow {
 public:
  explicit QtPanelWindow(QWidget* parent);
  ~QtPanelWindow() override;
  QtPanelWindow(const QtPanelWindow&) = delete;
  QtPanelWindow& operator=(const QtPanelWindow&) = delete;

  void SetBounds(int x, int y, int width, int height) override;
  int Left() const override;
  int Top() const override;
  int Width() const override;
  int Height() const override;
  void SetVisible(bool visible) override;
  bool Visible() const override;
  bool SetName(const std::string& name) override;
  TColor Color() const override { return 0xFFFFFF; }
  // The widget the host fills (null once its parent has gone).
  QFrame* Widget() const { return frame_; }

 private:
  QPointer<QFrame> frame_;
};

class QtPanelWindowFactory final : public PanelWindowFactory {
 public:
  explicit QtPanelWindowFactory(QWidget* parent) : parent_(parent) {}
  std::unique_ptr<PanelWindow> CreatePanel() override {
    return std::make_unique<QtPanelWindow>(parent_);
  }

 private:
  QWidget* parent_;
};

}  // namespace tessival::platform
