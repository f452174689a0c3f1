#pragma once
// Case of Windows-1252 letters, as the system's locale rules give it for the German code
// page: ASCII letters, the accented letters of 0xC0..0xFE and the few in 0x8A..0x9F.
// Text transforms and case-blind search use it.
namespace tessival::layout {

constexpr char Upper1252(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char>(c - 32);
  if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<char>(c - 16);
  if (c == 0xFF) return static_cast<char>(0x9F);
  return ch;
}

constexpr char Lower1252(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char>(c + 32);
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<char>(c + 16);
  if (c == 0x9F) return static_cast<char>(0xFF);
  return ch;
}

}  // namespace tessival::layout
