#pragma once
// The window a document's PANEL element stands for: a plain child window on the viewer's
// paint panel that the host application fills. The document only creates, places, sizes,
// shows and hides it; what is inside belongs to the host.
#include <memory>
#include <string>

#include "platform/colors.h"

namespace tessival::platform {

class PanelWindow {
 public:
  virtual ~PanelWindow() = default;
  virtual void SetBounds(int x, int y, int width, int height) = 0;
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
  // False when the window system refuses the name; the panel then keeps its old one.
  virtual bool SetName(const std::string& name) = 0;
  virtual TColor Color() const = 0;
};

// Made by the viewer for its paint panel.
class PanelWindowFactory {
 public:
  virtual ~PanelWindowFactory() = default;
  virtual std::unique_ptr<PanelWindow> CreatePanel() = 0;
};

// A panel that only remembers what it was told: for documents without a window (tools,
// printing copies) and for tests.
class MemoryPanelWindow final : public PanelWindow {
 public:
  void SetBounds(int x, int y, int width, int height) override {
    left_ = x, top_ = y, width_ = width, height_ = height;
  }
  int Left() const override { return left_; }
  int Top() const override { return top_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetVisible(bool visible) override { visible_ = visible; }
  bool Visible() const override { return visible_; }
  bool SetName(const std::string& name) override {
    name_ = name;
    return true;
  }
  const std::string& Name() const { return name_; }
  TColor Color() const override { return 0xFFFFFF; }

 private:
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = false;
  std::string name_;
};

}  // namespace tessival::platform
