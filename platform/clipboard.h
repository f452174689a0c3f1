#pragma once
// The desktop clipboard, as plain text in the engine's single-byte code page.
// The program has one clipboard, like the desktop it runs on: `Clipboard::System()` is the
// one in use (the Qt one inside the application, an in-memory one in tests and tools).
#include <cstdint>
#include <optional>
#include <string>

namespace tessival::platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The clipboard's text, or nothing when it holds no text.
  virtual std::optional<std::string> GetText() = 0;
  virtual void SetText(const std::string& text) = 0;
  // Grows whenever something new is put on the clipboard by another program, so a reader
  // can tell a real change from being asked again. The program's own copies (a selection
  // copied in its text pane) do not count: it knows what it copied.
  virtual std::uint64_t OutsideChanges() const = 0;

  static Clipboard& System();
  // Installs the clipboard that System() returns; nullptr goes back to the in-memory one.
  // The caller keeps ownership and must outlive its installation.
  static void SetSystem(Clipboard* clipboard);
};

// A clipboard that lives in memory only; every change counts as one from outside.
class MemoryClipboard : public Clipboard {
 public:
  std::optional<std::string> GetText() override { return text_; }
  void SetText(const std::string& text) override {
    text_ = text;
    ++changes_;
  }
  std::uint64_t OutsideChanges() const override { return changes_; }
  void Clear() {
    text_.reset();
    ++changes_;
  }

 private:
  std::optional<std::string> text_;
  std::uint64_t changes_ = 0;
};

}  // namespace tessival::platform
