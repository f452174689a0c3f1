#pragma once
// Runs the tokenizer over a text and records what each token said.
#include <string>
#include <vector>

#include "html/html_tokenizer.h"

namespace tessival::html::test {

struct Tok {
  Symbol sy;
  std::string text;
  std::vector<std::int32_t> positions;
};

inline Tok Current(const THtmlTokenizer& reader) {
  return {reader.Sy(), reader.Token().Text(), reader.Token().Positions()};
}

// All tokens up to (not including) the end of the text.
inline std::vector<Tok> Tokenize(THtmlTokenizer& reader, const std::string& html, int limit = 100000) {
  reader.Reset(html);
  reader.ReadChar();
  std::vector<Tok> tokens;
  for (reader.ReadToken(); reader.Sy() != EofToken && limit-- > 0; reader.ReadToken()) {
    tokens.push_back(Current(reader));
  }
  return tokens;
}

inline std::vector<Tok> Tokenize(const std::string& html) {
  THtmlTokenizer reader;
  return Tokenize(reader, html);
}

inline std::string TextOf(const std::vector<Tok>& tokens) {
  std::string text;
  for (const Tok& tok : tokens) text += tok.text;
  return text;
}

}  // namespace tessival::html::test
