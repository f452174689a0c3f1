#pragma once
// The desktop clipboard, as plain text in the engine's single-byte code page.
// The program has one clipboard, like the desktop it runs on: `Clipboard::System()` is the
// one in use (the Qt one inside the application, an in-memory one in tests and tools).
#include <optional>
#include <string>

namespace tessival::platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The clipboard's text, or nothing when it holds no text.
  virtual std::optional<std::string> GetText() = 0;
  virtual void SetText(const std::string& text) = 0;

  static Clipboard& System();
  // Installs the clipboard that System() returns; nullptr goes back to the in-memory one.
  // The caller keeps ownership and must outlive its installation.
  static void SetSystem(Clipboard* clipboard);
};

// A clipboard that lives in memory only.
class MemoryClipboard : public Clipboard {
 public:
  std::optional<std::string> GetText() override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }
  void Clear() { text_.reset(); }

 private:
  std::optional<std::string> text_;
};

}  // namespace tessival::platform
