#pragma once
// The display depth class: the screen's bits per pixel (times planes) read once and
// classed as 4 (up to 4 bits), 8 (5 to 8 bits) or 24 (more). Palette handling, colour
// reduction and the program palette depend on it.
//
// The Qt side reports the real screen once at start-up (RecordScreenBits); until then the
// class is 24. Tests force a class with ScopedDisplayDepth so the palette paths run on a
// true-colour machine.

namespace tessival::platform {

class DisplayDepth {
 public:
  // The class now in force: 4, 8 or 24.
  static int Class();
  // Classes a screen's bits per pixel; only the first call has an effect, as the depth
  // is read once.
  static void RecordScreenBits(int bits_per_pixel);
  static int ClassOfBits(int bits_per_pixel);

 private:
  friend class ScopedDisplayDepth;
  static int& Forced();
};

// Forces a display class for the lifetime of the object (tests and tools).
class ScopedDisplayDepth {
 public:
  explicit ScopedDisplayDepth(int depth_class);
  ~ScopedDisplayDepth();
  ScopedDisplayDepth(const ScopedDisplayDepth&) = delete;
  ScopedDisplayDepth& operator=(const ScopedDisplayDepth&) = delete;

 private:
  int previous_;
};

}  // namespace tessival::platform
