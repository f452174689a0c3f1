// Tokenizes arbitrary bytes to the end of the text. The first byte picks the reader's
// modes and code page, so every mode meets hostile input; includes are answered with a
// slice of the input itself.
#include <cstddef>
#include <cstdint>
#include <string>

#include "html/html_tokenizer.h"
#include "html/id_name_list.h"

using namespace tessival::html;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  const std::string html(reinterpret_cast<const char*>(data + 1), size - 1);

  TIDNameList names;
  THtmlTokenizer reader;
  reader.SetIDNameList(&names);
  if (flags & 0x08) {
    reader.SetOnInclude([&](const std::string&, const std::vector<std::string>& params,
                            std::string& buffer) {
      buffer = html.substr(0, params.size() * 7);
    });
  }
  reader.Reset(html);
  reader.SetPreFormatted(flags & 0x01);
  reader.SetScriptMode(flags & 0x02);
  reader.SetTextAreaMode(flags & 0x04);
  static constexpr int kPages[] = {0, 1, 2, 1250, 1251, 1252, 932, 874};
  reader.SetTextCodePage(kPages[(flags >> 4) & 7]);
  try {
    reader.ReadChar();
    // Every token consumes at least one character, so the count is bounded by the size;
    // the limit turns a reader that stops advancing into a visible failure.
    std::size_t budget = 8 * size + 16;
    do {
      reader.ReadToken();
      if (reader.Sy() == EolToken || reader.Sy() == TextToken) (void)reader.Token().Text();
      if (budget-- == 0) __builtin_trap();
    } while (reader.Sy() != EofToken);
  } catch (const EParseError&) {
    // An open comment at the end of the text is reported, not fatal.
  }
  return 0;
}
