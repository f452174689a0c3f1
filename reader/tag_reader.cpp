#include "reader/tag_reader.h"

#include <algorithm>

#include "html/color_parser.h"
#include "html/text_util.h"
#include "layout/block_li.h"
#include "layout/preformatted.h"
#include "layout/section_list.h"
#include "platform/scope_exit.h"
#include "reader/reader_charsets.h"
#include "reader/tag_reader_state.h"

namespace tessival::layout {

using namespace html;

SymbolSet MakeSet(std::initializer_list<Symbol> symbols) {
  SymbolSet set;
  for (const Symbol symbol : symbols) set.set(symbol);
  return set;
}

namespace {

// The font-change elements and their end tags.
const SymbolSet& FontChangeSymbols() {
  static const SymbolSet set = MakeSet(
      {BSy,         ISy,       EmSy,     StrongSy,   USy,       CiteSy,     VarSy,     TTSy,
       CodeSy,      KbdSy,     SampSy,   SSy,        StrikeSy,  SpanSy,     SubSy,     SupSy,
       BigSy,       SmallSy,   FontSy,   BaseFontSy, BEndSy,    IEndSy,     EmEndSy,   StrongEndSy,
       UEndSy,      CiteEndSy, VarEndSy, TTEndSy,    CodeEndSy, KbdEndSy,   SampEndSy, SEndSy,
       StrikeEndSy, SpanEndSy, SubEndSy, SupEndSy,   BigEndSy,  SmallEndSy, FontEndSy});
  return set;
}

// What the body reader hands to the inline reader.
const SymbolSet& BodyInlineSymbols() {
  static const SymbolSet set = FontChangeSymbols() |
                               MakeSet({BRSy,    HeadingSy,  HeadingEndSy,  HRSy,      PreSy,
                                        ImageSy, ASy,        AEndSy,        TextToken, TableSy,
                                        InputSy, TextAreaSy, TextAreaEndSy, SelectSy,  MapSy,
                                        PageSy,  ScriptSy,   PanelSy,       NoBrSy,    NoBrEndSy,
                                        WbrSy});
  return set;
}

// What a paragraph holds; anything else ends it as if its end tag had come.
const SymbolSet& ParagraphSymbols() {
  static const SymbolSet set = FontChangeSymbols() |
                               MakeSet({BRSy, ImageSy, ASy, AEndSy, TextToken, InputSy, TextAreaSy,
                                        TextAreaEndSy, SelectSy, MapSy, PageSy, ScriptSy, ScriptEndSy,
                                        PanelSy, NoBrSy, NoBrEndSy, WbrSy, UnknownTagToken});
  return set;
}

// What a heading holds besides paragraphs and DIVs.
const SymbolSet& HeadingSymbols() {
  static const SymbolSet set = FontChangeSymbols() |
                               MakeSet({BRSy, HRSy, ImageSy, ASy, AEndSy, TextToken, InputSy, TextAreaSy,
                                        TextAreaEndSy, SelectSy, ScriptSy, ScriptEndSy, PanelSy, NoBrSy,
                                        NoBrEndSy, WbrSy});
  return set;
}

// ALIGN as a text-align value, or empty when it names none.
std::string TextAlignOfAttribute(std::string_view align) {
  std::string lower = ToLower(align);
  if (lower == "left" || lower == "center" || lower == "right" || lower == "justify") return lower;
  if (lower == "middle") return "center";
  return {};
}

// The attributes of a tag kept past the next token.
struct TSavedTag {
  std::string Align, Class, ID, Style, Title;
  TElementInfo Info() const { return {Class, ID, Style, Title, {}}; }
};

TSavedTag SaveTag(const TAttributeList& attrs) {
  TSavedTag tag;
  if (const TAttribute* align = attrs.Find(AlignSy)) tag.Align = align->StrValue;
  tag.Class = attrs.GetClass();
  tag.ID = attrs.GetID();
  if (const TAttribute* style = attrs.Find(StyleSy)) tag.Style = style->StrValue;
  tag.Title = attrs.GetTitle();
  return tag;
}

}  // namespace

void SetTextAlign(TProperties& props, std::string_view align) {
  const std::string value = TextAlignOfAttribute(align);
  if (!value.empty()) props.AssignProperty(piTextAlign, PropValue(value));
}

const SymbolSet& FontChangeSymbolSet() { return FontChangeSymbols(); }
const SymbolSet& BodyInlineSymbolSet() { return BodyInlineSymbols(); }

// ---------------------------------------------------------------------------------------
// Set-up and the current section

TTagReader::TTagReader(TSectionList& document, const TReaderSettings& settings,
                       const TReaderHandlers& handlers)
    : Doc(document),
      Settings(settings),
      Handlers(handlers),
      Stack(document.Styles),
      Sizes(document.Styles.DefaultFontSize()) {}

void TTagReader::Start(std::string_view text) {
  if (HasIso2022JpEscape(text)) {
    Text = Iso2022JpToShiftJis(text);
    ConvertedToShiftJis = true;
  } else {
    Text.assign(text);
  }
  Tok.Reset(Text);
  Tok.SetIDNameList(&Doc.IDNameList);
  if (Handlers.OnInclude) Tok.SetOnInclude(Handlers.OnInclude);
  if (Doc.OnProgress) {
    Tok.SetOnProgress([this](int stage, int value) { Doc.OnProgress(stage, value); }, 75);
  }
  Stack.Reset();
  if (ConvertedToShiftJis) Stack.Last().SetCharset(ShiftJisCharset);
  Tok.SetTextCodePage(Stack.Last().CodePage);
  auto body = std::make_unique<TBodyBlock>(&Doc, Stack.Last(), nullptr);
  Body = body.get();
  Doc.AddSection(std::move(body));
  Cell = Body->ContentCell.get();
  UrlTarget.Clear();
  InLink = NoBreak = false;
  VShift = TVShift::vsNone;
  BaseFontSize = DefaultBaseFontSize;
  Head = {};
  ListLevel = Nesting = TableDepth = 0;
  OpenSection();
}

void TTagReader::Finish() {
  CloseSection();
  Stack.Clear();
  UrlTarget.Clear();
  Text.clear();
}

std::string TTagReader::AttrText(Symbol symbol) const {
  const TAttribute* attr = Tok.Attributes().Find(symbol);
  return attr ? attr->StrValue : std::string();
}

TElementInfo TTagReader::InfoFromTag(std::string_view pseudo) {
  // The views point into the attribute list, which stays as it is until the next token.
  const TAttributeList& attrs = Tok.Attributes();
  TElementInfo info;
  if (const TAttribute* klass = attrs.Find(ClassSy)) info.Class = klass->StrValue;
  if (const TAttribute* id = attrs.Find(IDSy)) info.ID = id->StrValue;
  if (const TAttribute* style = attrs.Find(StyleSy)) info.Style = style->StrValue;
  if (const TAttribute* title = attrs.Find(TitleSy)) info.Title = title->StrValue;
  info.Pseudo = pseudo;
  return info;
}

TProperties& TTagReader::Push(std::string_view name, std::string_view pseudo) {
  return Stack.PushElement(name, InfoFromTag(pseudo));
}

TProperties& TTagReader::PushInline(std::string_view name, std::string_view pseudo) {
  // An inline element's own background colour is drawn behind its text; a block's is its
  // box's, so only running text takes it over this way.
  TProperties& props = Push(name, pseudo);
  props.UpdateTextBackground();
  return props;
}

void TTagReader::Pop(std::string_view name) { Stack.PopElement(name); }

TElementScope::TElementScope(TTagReader& reader, std::string_view name)
    : reader_(reader), depth_(reader.Stack.Count()), props_(reader.Push(name)) {}

TElementScope::TElementScope(TTagReader& reader, std::string_view name, const TElementInfo& info)
    : reader_(reader), depth_(reader.Stack.Count()), props_(reader.Stack.PushElement(name, info)) {}

void TElementScope::Close() {
  PopOnly();
  reader_.FontChanged();
}

void TElementScope::PopOnly() { reader_.Stack.PopTo(depth_); }

void TTagReader::FontChanged() {
  Tok.SetTextCodePage(Stack.Last().CodePage);
  if (Section) Section->ChangeFont(Stack.Last(), VShift);
}

void TTagReader::OpenSection(const TAttributeList* attributes) {
  CloseSection();
  Section = std::make_unique<TSection>(&Doc, Cell->Empty(), Cell, &UrlTarget, Stack.Last(), attributes);
  // The sub/superscript state outlives sections.
  if (VShift != TVShift::vsNone) Section->ChangeFont(Stack.Last(), VShift);
}

TSection& TTagReader::CurrentSection() {
  if (!Section) OpenSection();
  return *Section;
}

void TTagReader::CloseSection() {
  if (!Section) return;
  std::unique_ptr<TSection> section = std::move(Section);
  Cell->AddSection(std::move(section));
}

TCellBasic* TTagReader::EnterBlock() {
  CloseSection();
  auto block = std::make_unique<TBlock>(Cell, Stack.Last(), nullptr);
  TBlock* made = block.get();
  Cell->AddSection(std::move(block));
  TCellBasic* outer = Cell;
  Cell = made->ContentCell.get();
  return outer;
}

void TTagReader::LeaveBlock(TCellBasic* outer) {
  CloseSection();
  TBlock::DropTrailingMargin(*Cell);
  Cell = outer;
}

void TTagReader::SeparateSkipped(Symbol sy) {
  static const SymbolSet lineStarters = MakeSet(
      {OLSy,         ULSy,         DirSy,           MenuSy,       DLSy,      LISy,    DDSy,
       DTSy,         OLEndSy,      ULEndSy,         DirEndSy,     MenuEndSy, DLEndSy, AddressSy,
       AddressEndSy, BlockQuoteSy, BlockQuoteEndSy, FormSy,       FormEndSy, TableSy, TableEndSy,
       TRSy,         TREndSy,      CaptionSy,       CaptionEndSy, HRSy,      PreSy,   PreEndSy});
  if (lineStarters[sy]) CloseSection();
  else if ((sy == TDSy || sy == THSy) && Section)
    Section->AddChar(' ', Tok.TagStartPos(), TextBreakRule());
}

// ---------------------------------------------------------------------------------------
// Whole documents

TDocumentHead TTagReader::ReadDocument(std::string_view text) {
  Start(text);
  const platform::ScopeExit finish([this] { Finish(); });
  try {
    Tok.ReadChar();
    Next();
    ParseBody({});
  } catch (const EParseError&) {
    // A comment open at the end: the document ends where it began.
  }
  return Head;
}

void TTagReader::ReadTextDocument(std::string_view text) {
  Start(text);
  Tok.SetScriptMode(true);
  Tok.SetPreFormatted(true);
  Stack.PushElement("pre");
  OpenSection();
  // A line is a text section that never breaks: its
  // spaces do not break or collapse, and an empty line keeps its height with a line break.
  auto endLine = [this](bool empty, std::int32_t pos) {
    if (empty) CurrentSection().AddChar(LineBreakChar, pos, BreakRule::NoBreak);
    OpenSection();
  };
  bool lineEmpty = true;
  const platform::ScopeExit finish([this] { Finish(); });
  for (Tok.ReadRawChar(); !Tok.AtEof(); Tok.ReadRawChar()) {
    const char ch = Tok.Ch();
    if (ch == '\r') {
      endLine(lineEmpty, Tok.Pos());
      lineEmpty = true;
      continue;
    }
    if (Tok.CameFromTab()) {
      // A plain-text page reads as preformatted text: its columns line up at the same tab stops.
      const std::size_t column = CurrentSection().Text().size();
      for (std::size_t c = column; c < TPreFormated::NextTabStop(column); ++c)
        CurrentSection().AddChar(NoBreakSpaceChar, Tok.Pos(), BreakRule::NoBreak);
    } else {
      CurrentSection().AddChar(ch == ' ' ? NoBreakSpaceChar : ch, Tok.Pos(), BreakRule::NoBreak);
    }
    lineEmpty = false;
  }
}

// ---------------------------------------------------------------------------------------
// Structure readers

void TTagReader::ParseBody(const SymbolSet& termSet) {
  while (!termSet[Sy()] && Sy() != EofToken) {
    const Symbol sy = Sy();
    if (BodyInlineSymbols()[sy]) {
      ParseInline();
      continue;
    }
    switch (sy) {
      case TitleSy: ParseTitle(); break;
      case BodySy: ParseBodyTag(); break;
      case PSy: ParseParagraph(termSet); break;
      case BaseSy: ParseBase(); break;
      case LinkSy: ParseLinkTag(); break;
      case BgSoundSy: ParseBgSound(); break;
      case MetaSy: ParseMeta(); break;
      case StyleSy: ParseStyle(); break;
      case CenterSy: ParseCenter(termSet); break;
      case DivSy: ParseDiv(termSet); break;
      case OLSy:
      case ULSy:
      case DirSy:
      case MenuSy:
      case DLSy:
        ParseList(sy, termSet);
        if (!termSet[Sy()]) Next();
        break;
      case LISy: ParseListItem(lkNoList, 1, termSet, false, '1'); break;
      case DDSy:
      case DTSy: ParseListItem(lkDefinition, 1, termSet, false, '1'); break;
      case AddressSy:
      case BlockQuoteSy:
      case FormSy: ParseBlockContainer(sy, termSet); break;
      case FormEndSy:
        Form = nullptr;
        Next();
        break;
      default:  // unknown, or built by a later part of the reader
        SeparateSkipped(sy);
        Next();
        break;
    }
  }
}

void TTagReader::ParseBodyTag() {
  // White space before BODY (the line ends around the head) leaves the body empty.
  const auto onlySpace = [](const TSection& section) {
    return !section.HasAnchor && section.Text().find_first_not_of(' ') == std::string::npos;
  };
  const bool bodyEmpty = Body->ContentCell->Empty() && (!Section || onlySpace(*Section));
  if (!bodyEmpty) {
    Next();
    return;
  }
  Section.reset();
  TProperties& props = Push("body");
  const TAttributeList& attrs = Attrs();
  const auto colorOf = [&](Symbol symbol) -> std::optional<TColor> {
    const TAttribute* attr = attrs.Find(symbol);
    if (!attr) return std::nullopt;
    const std::optional<TColor> color = ColorFromString(attr->StrValue, false);
    if (!color) return std::nullopt;
    return *color | PaletteRelative;
  };
  if (auto color = colorOf(TextSy)) props.AssignProperty(piColor, PropValue(static_cast<int>(*color)));
  if (auto color = colorOf(BgColorSy)) {
    props.AssignProperty(piBackgroundColor, PropValue(static_cast<int>(*color)));
  }
  if (const TAttribute* image = attrs.Find(BackgroundSy)) {
    props.AssignProperty(piBackgroundImage, PropValue("url(" + image->StrValue + ")"));
    Doc.SetBackgroundImage(image->StrValue);
  }
  if (auto color = colorOf(LinkSy)) Doc.Styles.SetLinkColor("link", *color);
  if (auto color = colorOf(VLinkSy)) Doc.Styles.SetLinkColor("visited", *color);
  if (auto color = colorOf(OLinkSy)) {
    Doc.Styles.SetLinkColor("hover", *color);
    Doc.LinksActive = true;
  }
  int marginWidth = Settings.MarginWidth;
  int marginHeight = Settings.MarginHeight;
  const TAttribute* width = attrs.Find(MarginWidthSy);
  const TAttribute* height = attrs.Find(MarginHeightSy);
  if (width) marginWidth = std::clamp(width->NumValue, 0, 200);
  if (height) marginHeight = std::clamp(height->NumValue, 0, 200);
  props.AssignProperty(piMarginLeft, PropValue(marginWidth));
  props.AssignProperty(piMarginRight, PropValue(marginWidth));
  props.AssignProperty(piMarginTop, PropValue(marginHeight));
  props.AssignProperty(piMarginBottom, PropValue(marginHeight));
  Doc.DeleteSection(Body);
  auto body = std::make_unique<TBodyBlock>(&Doc, props, &attrs);
  Body = body.get();
  Doc.AddSection(std::move(body));
  Cell = Body->ContentCell.get();
  OpenSection();
  Next();
}

void TTagReader::ParseParagraph(const SymbolSet& termSet) {
  if (termSet[PSy]) return;
  CloseSection();
  TSavedTag tag = SaveTag(Attrs());
  Tok.SkipWhiteSpace();
  Next();
  while (Sy() == PSy || Sy() == PEndSy) {
    if (Sy() == PSy) tag = SaveTag(Attrs());
    Tok.SkipWhiteSpace();
    Next();
  }
  TElementScope element(*this, "p", tag.Info());
  TProperties& props = element.Props();
  SetTextAlign(props, tag.Align);
  FontChanged();
  TCellBasic* outer = EnterBlock();
  while (!termSet[Sy()] && ParagraphSymbols()[Sy()]) {
    if (Sy() == UnknownTagToken) Next();
    else ParseInline();
  }
  LeaveBlock(outer);
  element.Close();
  if (Sy() == PEndSy) Next();
}

void TTagReader::ParseHeading() {
  const int level = Tok.HeadingLevel();
  if (level < 1 || level > 6) {
    Next();
    return;
  }
  CloseSection();
  TElementScope element(*this, StartTagName(HeadingSy, level));
  TProperties& props = element.Props();
  SetTextAlign(props, AttrText(AlignSy));
  Tok.SkipWhiteSpace();
  Next();
  if (Sy() == CenterSy) {
    props.AssignProperty(piTextAlign, PropValue(std::string_view("center")));
    Next();
  }
  FontChanged();
  TCellBasic* outer = EnterBlock();
  OpenSection();
  for (;;) {
    const Symbol sy = Sy();
    if (HeadingSymbols()[sy]) ParseInline();
    else if (sy == PSy) ParseParagraph({});
    else if (sy == DivSy) ParseDiv(MakeSet({HeadingEndSy}));
    else if (sy == UnknownTagToken) Next();
    else break;
  }
  LeaveBlock(outer);
  element.Close();
  if (Sy() == HeadingEndSy) Next();
}

void TTagReader::ParseCenter(const SymbolSet& termSet) {
  if (TooDeep()) {
    Next();
    return;
  }
  const TNestingGuard guard(Nesting);
  CloseSection();
  TElementScope element(*this, "center");
  FontChanged();
  OpenSection();
  Next();
  SymbolSet inner = termSet;
  inner.set(CenterEndSy);
  ParseBody(inner);
  element.PopOnly();
  CloseSection();
  OpenSection();
  if (Sy() == CenterEndSy) Next();
}

void TTagReader::ParseDiv(const SymbolSet& termSet) {
  if (TooDeep()) {
    Next();
    return;
  }
  const TNestingGuard guard(Nesting);
  CloseSection();
  TElementScope element(*this, "div");
  TProperties& props = element.Props();
  SetTextAlign(props, AttrText(AlignSy));
  FontChanged();
  TCellBasic* outer = EnterBlock();
  OpenSection();
  Next();
  SymbolSet inner = termSet;
  inner.set(DivEndSy);
  ParseBody(inner);
  LeaveBlock(outer);
  element.Close();
  OpenSection();
  if (Sy() == DivEndSy) Next();
}

// ---------------------------------------------------------------------------------------
// Entry points

TDocumentHead ParseDocument(std::string_view text, TSectionList& document,
                            const TReaderSettings& settings, const TReaderHandlers& handlers) {
  TTagReader reader(document, settings, handlers);
  return reader.ReadDocument(text);
}

void ParseTextDocument(std::string_view text, TSectionList& document) {
  const TReaderSettings settings;
  const TReaderHandlers handlers;
  TTagReader reader(document, settings, handlers);
  reader.ReadTextDocument(text);
}

}  // namespace tessival::layout
