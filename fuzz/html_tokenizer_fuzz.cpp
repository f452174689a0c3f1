// Tokenizes arbitrary bytes to the end of the text. The first byte picks the reader's
// modes and code page, so every mode meets hostile input. With its top bit set, the same
// text is read a second time as an included text, which takes the reader's slow,
// character-by-character way throughout: both readings must give the same tokens.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "html/html_tokenizer.h"
#include "html/id_name_list.h"

using namespace tessival::html;

namespace {

struct Reading {
  std::vector<std::pair<Symbol, std::string>> tokens;
  bool open_comment = false;
};

void SetModes(THtmlTokenizer& reader, std::uint8_t flags, bool withScript) {
  static constexpr int kPages[] = {0, 1, 2, 1250, 1251, 1252, 932, 874};
  reader.SetPreFormatted(flags & 0x01);
  reader.SetTextAreaMode(flags & 0x04);
  reader.SetTextCodePage(kPages[(flags >> 4) & 7]);
  if (withScript) reader.SetScriptMode(flags & 0x02);
}

// `document` is reset and its first character read before the script mode goes on, so
// that an include directive at its start is expanded in every mode.
Reading Read(THtmlTokenizer& reader, const std::string& document, std::uint8_t flags,
             std::size_t budget) {
  Reading reading;
  try {
    reader.Reset(document);
    SetModes(reader, flags, false);
    reader.ReadChar();
    SetModes(reader, flags, true);
    do {
      reader.ReadToken();
      reading.tokens.emplace_back(reader.Sy(), reader.Token().Text());
      // Every token consumes at least one character; a reader that stops advancing
      // runs out of this budget.
      if (budget-- == 0) __builtin_trap();
    } while (reader.Sy() != EofToken);
  } catch (const EParseError&) {
    reading.open_comment = true;  // reported, not fatal
  }
  return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  const std::string html(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t budget = 8 * size + 16;

  TIDNameList names;
  THtmlTokenizer reader;
  reader.SetIDNameList(&names);
  if (flags & 0x08) {
    reader.SetOnInclude([&](const std::string&, const std::vector<std::string>& params,
                            std::string& buffer) { buffer = html.substr(0, params.size() * 7); });
  }
  const Reading direct = Read(reader, html, flags, budget);

  if ((flags & 0x80) && !(flags & 0x08)) {
    THtmlTokenizer slow;
    slow.SetOnInclude([&](const std::string&, const std::vector<std::string>&, std::string& buffer) {
      buffer = html;
    });
    const Reading included = Read(slow, "<!--#i-->", flags, budget);
    if (included.tokens != direct.tokens || included.open_comment != direct.open_comment) {
      __builtin_trap();
    }
  }
  return 0;
}
