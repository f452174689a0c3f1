// Head elements (TITLE, BASE, META, LINK, STYLE, BGSOUND) and scripts, whose text goes to
// the viewer's script handler when it has one and is passed over otherwise.
#include <algorithm>
#include <memory>

#include "html/css_parser.h"
#include "html/text_util.h"
#include "layout/section_list.h"
#include "platform/scope_exit.h"
#include "reader/reader_charsets.h"
#include "reader/tag_reader_state.h"

namespace tessival::layout {

using namespace html;

namespace {

// The style-sheet reader takes the characters of a STYLE element straight from the
// tokenizer's raw reader: comments stay (old pages wrap a sheet in "<!--").
class TTokenizerCharSource final : public TCssCharSource {
 public:
  explicit TTokenizerCharSource(THtmlTokenizer& tokenizer) : Tok(tokenizer) {}
  char NextChar() override {
    Tok.ReadRawChar();
    return Tok.Ch();
  }
  char PeekChar() override { return Tok.PeekRawChar(); }

 private:
  THtmlTokenizer& Tok;
};

// A linked sheet as the style-sheet reader wants it: line ends as CR, tabs as spaces.
std::string SheetText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      if (i == 0 || text[i - 1] != '\r') out.push_back('\r');
    } else {
      out.push_back(c == '\t' ? ' ' : c);
    }
  }
  return out;
}

}  // namespace

void TTagReader::ParseTitle() {
  Head.Title.clear();
  Next();
  while (Sy() == TextToken) {
    Head.Title += Tok.Token().Text();
    Next();
  }
}

void TTagReader::ParseBase() {
  Head.Base = AttrText(HrefSy);
  Head.BaseTarget = AttrText(TargetSy);
  Next();
}

void TTagReader::ParseMeta() {
  const std::string httpEquiv = AttrText(HttpEqSy);
  const std::string name = AttrText(NameSy);
  const std::string content = AttrText(ContentSy);
  if (!Settings.ForFrameViewer && !Settings.TextConverted && ToLower(httpEquiv) == "content-type") {
    if (const auto match = CharsetOfDeclaration(content)) {
      if (match->EucJp) ConvertEucJp();
      Stack.Last().SetCharset(match->Charset);
      FontChanged();
    }
  }
  if (Handlers.OnMeta) Handlers.OnMeta(httpEquiv, name, content);
  Next();
}

void TTagReader::ConvertEucJp() {
  if (ConvertedToShiftJis) return;
  ConvertedToShiftJis = true;
  Text = EucJpToShiftJis(Text);
  Tok.ContinueIn(Text);
}

void TTagReader::ParseLinkTag() {
  const std::string href = AttrText(HrefSy);
  const std::string rel = AttrText(RelSy);
  const std::string rev = AttrText(RevSy);
  if (ToLower(rel) == "stylesheet" && !href.empty() && Handlers.OnStyleSheet) {
    try {
      std::string text;
      std::string base;
      if (Handlers.OnStyleSheet(href, text, base) && !text.empty()) ReadStyleSheetText(text, base);
    } catch (const std::exception&) {
      // A sheet that cannot be had leaves the page as it is.
    }
  }
  if (Handlers.OnLink) Handlers.OnLink(rel, rev, href);
  Next();
}

void TTagReader::ReadStyleSheetText(std::string_view text, std::string_view base) {
  const std::string sheet = SheetText(text);
  TStringCharSource source(sheet);
  char ch = ' ';
  ParseStyleSheet(Doc.Styles, ch, source, base);
}

void TTagReader::ParseBgSound() {
  const TAttribute* src = Attrs().Find(SrcSy);
  if (src && Handlers.OnSoundRequest) {
    const TAttribute* loop = Attrs().Find(LoopSy);
    Handlers.OnSoundRequest(src->StrValue, loop ? loop->NumValue : 1);
  }
  Next();
}

void TTagReader::ParseStyle() {
  // The tokenizer stays on the '>' of the tag; the sheet is read from there to the '<' of
  // the end tag, which the next token then reads.
  TTokenizerCharSource source(Tok);
  char ch = Tok.Ch();
  ParseStyleSheet(Doc.Styles, ch, source, Head.Base);
  Next();
}

void TTagReader::ParseScript() {
  const auto& handler = Doc.OnScript;
  const std::string name = handler ? AttrText(NameSy) : std::string();
  const std::string language = handler ? AttrText(LanguageSy) : std::string();
  std::string script;
  {
    Tok.SetScriptMode(true);
    const platform::ScopeExit plainAgain([this] { Tok.SetScriptMode(false); });
    for (Next(); Sy() != ScriptEndSy && Sy() != EofToken; Next()) {
      if (!handler) continue;
      // A "<" that does not end the script comes as a tag the tokenizer did not know;
      // its characters belong to the script all the same.
      script += Sy() == EolToken ? std::string("\r\n") : Tok.Token().Text();
    }
  }
  if (handler) {
    // The handler keeps the text: a zero-terminated buffer it owns from here on.
    auto buffer = std::make_unique<char[]>(script.size() + 1);
    std::copy(script.begin(), script.end(), buffer.get());
    buffer[script.size()] = '\0';
    handler(name, language, std::move(buffer));
  }
  Next();
}

}  // namespace tessival::layout
