#pragma once
// The tag reader: HTML text in, a document of sections out. It reads the tokenizer's
// tokens once, front to back, and builds layout objects the moment a construct is read;
// each element's style is computed then, from the stack of open elements and the
// document's style sheet. There is no separate element tree.
//
// It has a layer of its own above layout/: it creates sections and blocks, and the
// layout objects know nothing of the markup they were built from.
//
// Malformed markup never stops it: unknown tags, and tags whose constructs this reader does
// not build yet, are passed over and the text around them is read on to the end.
#include <functional>
#include <string>
#include <string_view>

#include "html/html_tokenizer.h"

namespace tessival::layout {

class TSectionList;

// What the viewer that asks for a document contributes.
struct TReaderSettings {
  int MarginWidth = 10;  // the viewer's margins, which BODY may override
  int MarginHeight = 5;
  // A frame viewer ignores the character set a META tag declares.
  bool ForFrameViewer = false;
  // The text was already converted from the page's own set into the engine's, so a set a
  // META tag declares describes bytes that are no longer there: it is only reported.
  bool TextConverted = false;
};

// The viewer's handlers; each may be left empty.
struct TReaderHandlers {
  html::TIncludeType OnInclude;
  std::function<void(const std::string& src, int loop)> OnSoundRequest;
  std::function<void(const std::string& httpEquiv, const std::string& name, const std::string& content)>
      OnMeta;
  std::function<void(const std::string& rel, const std::string& rev, const std::string& href)> OnLink;
  // Fetches a linked style sheet: true with its text and the base its own addresses are
  // relative to. A failure is passed over.
  std::function<bool(const std::string& href, std::string& text, std::string& base)> OnStyleSheet;
};

// What the head of a document said.
struct TDocumentHead {
  std::string Title;
  std::string Base;
  std::string BaseTarget;
};

// Builds the whole text into `document`, which the caller has cleared and given its fonts
// (SetFonts). Returns normally whatever the text holds; a comment open at the end keeps
// everything before it.
TDocumentHead ParseDocument(std::string_view text, TSectionList& document,
                            const TReaderSettings& settings = {}, const TReaderHandlers& handlers = {});

// Builds a plain-text document: every line of the text is one line of fixed-pitch text.
void ParseTextDocument(std::string_view text, TSectionList& document);

}  // namespace tessival::layout
