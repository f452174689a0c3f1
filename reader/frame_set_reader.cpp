#include "reader/frame_set_reader.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "html/ascii_text.h"
#include "html/html_tokenizer.h"
#include "html/url_helpers.h"
#include "platform/bounded_file.h"
#include "reader/reader_charsets.h"

namespace tessival::layout {

using html::Symbol;

TFrameSetSource TFrameSetSource::FromFile(const std::string& file_name) {
  platform::BoundedFile file = platform::ReadBoundedFile(file_name, platform::kDocumentFileLimit);
  if (!file.ok()) throw platform::EStreamError("Cannot open file " + file_name);
  return TFrameSetSource(std::move(file.bytes));
}

TFrameSetSource TFrameSetSource::FromBuffer(const char* buffer, std::size_t size) {
  return TFrameSetSource(buffer == nullptr ? std::string() : std::string(buffer, size));
}

TFrameSetSource TFrameSetSource::FromStrings(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return TFrameSetSource(std::move(text));
}

TFrameSetSource TFrameSetSource::FromStream(platform::TStream& stream) {
  std::string text;
  stream.SetPosition(0);
  char chunk[4096];
  for (std::size_t got; (got = stream.Read(chunk, sizeof chunk)) > 0;) text.append(chunk, got);
  return TFrameSetSource(std::move(text));
}

TFrameSetSource TFrameSetSource::FromText(std::string text) { return TFrameSetSource(std::move(text)); }

namespace {

// The tags that show a page has body content, so no frame set can follow.
bool StartsBody(Symbol sy) {
  switch (sy) {
    case html::BodySy:
    case html::PSy:
    case html::HeadingSy:
    case html::HRSy:
    case html::OLSy:
    case html::ULSy:
    case html::DirSy:
    case html::MenuSy:
    case html::DLSy:
    case html::AddressSy:
    case html::BlockQuoteSy:
    case html::PreSy:
    case html::ImageSy:
    case html::TableSy:
    case html::FormSy: return true;
    default: return false;
  }
}

class FrameSetReader {
 public:
  FrameSetReader(std::string_view text, TFrameViewerBase* viewer, const std::string& directory,
                 const TFrameSetHandlers& handlers)
      : viewer_(viewer), directory_(directory), handlers_(handlers) {
    // A text in ISO-2022-JP is read in Shift-JIS, as the document reader does.
    text_ = HasIso2022JpEscape(text) ? Iso2022JpToShiftJis(text) : std::string(text);
    tok_.Reset(text_);
  }

  // Reads the first token; like every read it may throw on a broken comment.
  void Start() {
    tok_.ReadChar();
    tok_.ReadToken();
  }

  const TFrameSetHead& Head() const { return head_; }

  // Reads the head until body content or the end; FRAMESET elements are read as they come.
  void ReadDocument(TFrameSetNode& top) {
    while (Sy() != html::EofToken && !StartsBody(Sy())) {
      switch (Sy()) {
        case html::TitleSy: ReadTitle(); break;
        case html::BaseSy:
          head_.Base = Attr(html::HrefSy);
          head_.BaseTarget = Attr(html::TargetSy);
          Next();
          break;
        case html::MetaSy: ReadMeta(); break;
        case html::BgSoundSy: ReadBgSound(); break;
        case html::ScriptSy: ReadScript(); break;
        case html::NoFramesSy: SkipNoFrames(); break;
        case html::FrameSetSy: ReadFrameSet(top); break;
        default: Next(); break;
      }
    }
  }

  // True at a FRAMESET tag, false at body content or the end.
  bool FindsFrameSet() {
    while (Sy() != html::EofToken && !StartsBody(Sy())) {
      if (Sy() == html::FrameSetSy) return true;
      if (Sy() == html::ScriptSy) {
        ReadScript();
      } else {
        Next();
      }
    }
    return false;
  }

 private:
  Symbol Sy() const { return tok_.Sy(); }
  void Next() { tok_.ReadToken(); }
  std::string Attr(Symbol symbol) const {
    const html::TAttribute* attr = tok_.Attributes().Find(symbol);
    return attr ? attr->StrValue : std::string();
  }

  void ReadTitle() {
    head_.Title.clear();
    Next();
    while (Sy() == html::TextToken) {
      head_.Title += tok_.Token().Text();
      Next();
    }
  }

  void ReadMeta() {
    if (handlers_.OnMeta)
      handlers_.OnMeta(Attr(html::HttpEqSy), Attr(html::NameSy), Attr(html::ContentSy));
    Next();
  }

  void ReadBgSound() {
    const html::TAttribute* src = tok_.Attributes().Find(html::SrcSy);
    if (src && handlers_.OnSoundRequest) {
      const html::TAttribute* loop = tok_.Attributes().Find(html::LoopSy);
      handlers_.OnSoundRequest(src->StrValue, loop ? loop->NumValue : 1);
    }
    Next();
  }

  void ReadScript() {
    const std::string name = Attr(html::NameSy);
    const std::string language = Attr(html::LanguageSy);
    std::string script;
    tok_.SetScriptMode(true);
    struct ModeReset {
      html::THtmlTokenizer& tok;
      ~ModeReset() { tok.SetScriptMode(false); }
    } reset{tok_};
    for (Next(); Sy() != html::ScriptEndSy && Sy() != html::EofToken; Next()) {
      script += Sy() == html::EolToken ? std::string("\r\n") : tok_.Token().Text();
    }
    tok_.SetScriptMode(false);
    if (handlers_.OnScript) handlers_.OnScript(name, language, script);
    Next();
  }

  void SkipNoFrames() {
    while (Sy() != html::NoFramesEndSy && Sy() != html::EofToken) Next();
    Next();
  }

  // The attributes are still those of the FRAMESET tag the reader stands on.
  void ReadFrameSet(TFrameSetNode& set) {
    viewer_->ApplyFrameSetAttributes(set, tok_.Attributes());
    Next();
    ++nesting_;
    while (Sy() != html::FrameSetEndSy && Sy() != html::EofToken) {
      switch (Sy()) {
        case html::FrameSetSy:
          // Hostile nesting must not exhaust the stack; deeper sets read as not there.
          if (nesting_ < kMaxNesting) {
            ReadFrameSet(viewer_->CreateSubFrameSet(set));
          } else {
            Next();
          }
          break;
        case html::FrameSy:
          viewer_->CreateFrame(set, tok_.Attributes(), FrameDirectory());
          Next();
          break;
        case html::NoFramesSy: SkipNoFrames(); break;
        case html::ScriptSy: ReadScript(); break;
        default: Next(); break;
      }
    }
    --nesting_;
    viewer_->FinishFrameSet(set);
    Next();
  }

  static constexpr int kMaxNesting = 64;
  int nesting_ = 0;

  std::string text_;
  html::THtmlTokenizer tok_;
  // Where a frame's relative source is found: beside the document, or under the
  // document's local BASE; the base "DosPath" leaves sources to plain expansion (empty).
  // A web base names nothing a file can be read from, so the document's directory stays.
  std::string FrameDirectory() const {
    if (head_.Base.empty()) return directory_;
    const std::string base = html::ToLower(head_.Base);
    if (base == "dospath") return {};
    if (html::IsFullUrl(base) && !base.starts_with("file:")) return directory_;
    return html::UrlToFileName(html::GetBase(head_.Base));
  }

  TFrameViewerBase* viewer_;
  std::string directory_;
  const TFrameSetHandlers& handlers_;
  TFrameSetHead head_;
};

}  // namespace

TFrameSetHead ParseFrameSet(const TFrameSetSource& source, TFrameViewerBase& viewer, TFrameSetNode& top,
                            const std::string& directory, const TFrameSetHandlers& handlers) {
  FrameSetReader reader(source.Text(), &viewer, directory, handlers);
  try {
    reader.Start();
    reader.ReadDocument(top);
  } catch (const std::exception&) {
    // An unterminated comment or a similar break ends the reading; what was read stands.
  }
  return reader.Head();
}

bool IsFrameDocument(const TFrameSetSource& source) {
  try {
    const TFrameSetHandlers none;
    FrameSetReader reader(source.Text(), nullptr, {}, none);
    reader.Start();
    return reader.FindsFrameSet();
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace tessival::layout
