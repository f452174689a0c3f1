#include "app/query_encoding.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "app/in_out_error.h"
#include "html/charset_tables.h"
#include "platform/screen_cursor.h"

namespace tessival::app {
namespace {

// The byte whose escape is sent for each byte, or -1 when the byte goes out unchanged.
constexpr std::array<int, 256> BuildEscapeTable() {
  std::array<int, 256> table{};
  for (int& entry : table) entry = -1;
  table[32] = 32;
  table[124] = 166;  // "|" travels as the escape of the broken bar
  for (int b = 145; b <= 156; ++b) table[b] = b;
  table[158] = 158;
  table[159] = 159;
  for (int b = 161; b <= 163; ++b) table[b] = b;
  table[165] = 165;
  for (int b = 167; b <= 172; ++b) table[b] = b;
  table[174] = 174;
  table[175] = 173;  // the macron travels as the escape of the soft hyphen
  for (int b = 176; b <= 214; ++b) table[b] = b;
  for (int b = 216; b <= 255; ++b) table[b] = b;
  return table;
}

constexpr std::array<int, 256> kEscape = BuildEscapeTable();

std::string ReadWholeFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) throw EInOutError("Cannot open file \"" + name + "\". " + std::strerror(errno));
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EInOutError("Read error in file \"" + name + "\"");
  return data;
}

[[noreturn]] void ThrowReadBeyondEnd(const std::string& name) {
  throw EInOutError("Read beyond end of file \"" + name + "\"");
}

char ThreeByteCharacter(unsigned char b1, unsigned char b2, unsigned char b3) {
  if (b1 == 0xE2 && b2 == 0x80) {
    switch (b3) {
      case 0x9E: return static_cast<char>(132);  // low double quotation mark
      case 0x9C: return static_cast<char>(148);  // left double quote → the right one
      case 0x9A: return static_cast<char>(130);  // low single quotation mark
      case 0x98: return static_cast<char>(146);  // left single quote → the right one
    }
  }
  return '?';
}

std::string ConvertUtf8Bytes(const std::string& in, const std::string& source_name, std::ofstream& out) {
  std::string converted;
  converted.reserve(in.size());
  std::size_t i = 0;
  const auto next = [&]() -> unsigned char {
    if (i >= in.size()) {
      out.write(converted.data(), static_cast<std::streamsize>(converted.size()));
      ThrowReadBeyondEnd(source_name);
    }
    return static_cast<unsigned char>(in[i++]);
  };
  while (i < in.size()) {
    const unsigned char b1 = next();
    if (b1 < 128) {
      converted += static_cast<char>(b1);
    } else if ((b1 & 224) == 192) {
      const unsigned char b2 = next();
      if ((b2 & 192) == 128) {
        const unsigned value = ((b1 & 31u) << 6) | (b2 & 63u);
        converted += value < 256 ? static_cast<char>(value) : '?';
      } else {
        converted += "??";  // the second byte is consumed with the bad pair
      }
    } else if ((b1 & 240) == 224) {
      const unsigned char b2 = next();
      const unsigned char b3 = next();
      converted += ThreeByteCharacter(b1, b2, b3);
    } else {
      converted += '?';
    }
  }
  return converted;
}

void AppendEscape(std::string& out, int byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[(byte >> 4) & 15];
  out += kHex[byte & 15];
}

void AppendAsciiByte(std::string& out, char c) {
  const int escape = kEscape[static_cast<unsigned char>(c)];
  if (escape < 0) out += c;
  else AppendEscape(out, escape);
}

void AppendUtf8Escapes(std::string& out, std::uint32_t code_point) {
  if (code_point < 0x800) {
    AppendEscape(out, static_cast<int>(0xC0 | (code_point >> 6)));
  } else {
    AppendEscape(out, static_cast<int>(0xE0 | (code_point >> 12)));
    AppendEscape(out, static_cast<int>(0x80 | ((code_point >> 6) & 0x3F)));
  }
  AppendEscape(out, static_cast<int>(0x80 | (code_point & 0x3F)));
}

}  // namespace

std::string EncodeQueryText(const std::string& text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (const char c : text) AppendAsciiByte(out, c);
  return out;
}

std::string EncodeQueryTextUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    // "|" travels as the broken bar, as in the single-byte form, but as that character's
    // UTF-8 bytes: a lone "%A6" is no character at all in UTF-8.
    if (byte < 0x80 && kEscape[byte] < 0x80) {
      AppendAsciiByte(out, c);
      continue;
    }
    if (byte < 0x80) {
      AppendUtf8Escapes(out, static_cast<std::uint32_t>(kEscape[byte]));
      continue;
    }
    const std::uint32_t code_point = html::CodePointOfByte(html::PageCharset::kWindows1252, byte);
    AppendUtf8Escapes(out, code_point != 0 ? code_point : byte);
  }
  return out;
}

std::string SpacesToPlus(std::string text) {
  for (char& c : text) {
    if (c == ' ') c = '+';
  }
  return text;
}

std::string LineBreaksToSpaces(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

void ConvertUtf8Page(const std::string& source_name, const std::string& destination_name) {
  platform::BusyCursor busy;
  const std::string in = ReadWholeFile(source_name);
  std::ofstream out(destination_name, std::ios::binary | std::ios::trunc);
  if (!out) {
    throw EInOutError("Cannot create file \"" + destination_name + "\". " + std::strerror(errno));
  }
  const std::string converted = ConvertUtf8Bytes(in, source_name, out);
  out.write(converted.data(), static_cast<std::streamsize>(converted.size()));
  out.close();
  if (!out) throw EInOutError("Write error in file \"" + destination_name + "\"");
}

}  // namespace tessival::app
