// The inline reader: one construct of running text per call - font changes, line breaks,
// links, text runs.
#include <optional>

#include "html/color_parser.h"
#include "html/font_choice.h"
#include "html/text_util.h"
#include "layout/section_list.h"
#include "reader/reader_charsets.h"
#include "reader/tag_reader_state.h"

namespace tessival::layout {

using namespace html;

namespace {

bool IsPlainFontElement(Symbol sy) {
  switch (sy) {
    case BSy:
    case ISy:
    case EmSy:
    case StrongSy:
    case USy:
    case CiteSy:
    case VarSy:
    case SSy:
    case StrikeSy:
    case TTSy:
    case CodeSy:
    case KbdSy:
    case SampSy:
    case SpanSy: return true;
    default: return false;
  }
}

bool IsPlainFontEnd(Symbol sy) {
  switch (sy) {
    case BEndSy:
    case IEndSy:
    case EmEndSy:
    case StrongEndSy:
    case UEndSy:
    case CiteEndSy:
    case VarEndSy:
    case SEndSy:
    case StrikeEndSy:
    case TTEndSy:
    case CodeEndSy:
    case KbdEndSy:
    case SampEndSy:
    case SpanEndSy: return true;
    default: return false;
  }
}

}  // namespace

void TTagReader::ParseInline() {
  const Symbol sy = Sy();
  if (IsPlainFontElement(sy)) {
    PushInline(StartTagName(sy));
    FontChanged();
  } else if (IsPlainFontEnd(sy)) {
    Pop(EndTagName(sy));
    FontChanged();
  } else {
    switch (sy) {
      case SubSy:
      case SupSy:
      case BigSy:
      case SmallSy:
        CurrentSection();
        if (sy == SubSy) VShift = TVShift::vsLowered;
        if (sy == SupSy) VShift = TVShift::vsRaised;
        PushInline(StartTagName(sy));
        FontChanged();
        break;
      case SubEndSy:
      case SupEndSy:
      case BigEndSy:
      case SmallEndSy:
        if (sy == SubEndSy || sy == SupEndSy) VShift = TVShift::vsNone;
        Pop(EndTagName(sy));
        FontChanged();
        break;
      case BRSy: ParseBreak(); break;
      case HRSy: ParseRule(); break;
      case PreSy: ParsePreformatted(); return;
      case TableSy: ParseTable(); return;
      case PageSy: AddPage(); break;
      case HeadingSy: ParseHeading(); return;
      case ASy: StartAnchor(); return;
      case AEndSy: EndAnchor(); return;
      case TextToken: CurrentSection().AddTokens(Tok.Token(), Stack.Last(), TextBreakRule()); break;
      case FontSy:
      case BaseFontSy:
        ApplyFontTag(sy, TTextKind::Normal);
        FontChanged();
        break;
      case FontEndSy:
        Pop("font");
        FontChanged();
        break;
      case ScriptSy: ParseScript(); return;
      case ImageSy: ParseImage(); break;
      case InputSy:
      case SelectSy: ParseFormControl(); return;
      case TextAreaSy: ParseTextArea(); return;
      case PanelSy: ParsePanel(); break;
      case MapSy: ParseMap(); return;
      case NoBrSy: NoBreak = true; break;
      case NoBrEndSy: NoBreak = false; break;
      case WbrSy:
        // A break opportunity inside a run that may not break.
        if (NoBreak && Section) Section->AddChar(' ', Tok.TagStartPos(), BreakRule::Allowed);
        break;
      default:
        // /H, /TEXTAREA, and the constructs built by later parts of the reader (rules,
        // preformatted text, images, tables, forms, maps, pages, panels).
        SeparateSkipped(sy);
        break;
    }
  }
  Next();
}

void TTagReader::ParseBreak() {
  if (HasAttr(ClearSy)) {
    CloseSection();
  } else {
    CurrentSection().AddChar(LineBreakChar, Tok.TagStartPos(), TextBreakRule());
    CloseSection();
  }
  OpenSection(&Attrs());
}

void TTagReader::ApplyFontTag(Symbol symbol, TTextKind kind) {
  const TAttributeList& attrs = Attrs();
  std::optional<TColor> color;
  std::optional<int> size;
  std::optional<std::string> family;
  std::optional<int> charset;
  if (const TAttribute* attr = attrs.Find(SizeSy)) {
    size = HtmlFontSize(attr->StrValue, attr->NumValue, BaseFontSize);
    if (symbol == BaseFontSy) BaseFontSize = *size;
  }
  if (const TAttribute* attr = attrs.Find(ColorSy)) {
    if (auto parsed = ColorFromString(attr->StrValue, false)) color = *parsed | PaletteRelative;
  }
  if (symbol == FontSy) {
    if (const TAttribute* attr = attrs.Find(FaceSy)) family = FirstInstalledFont(attr->StrValue);
  }
  if (const TAttribute* attr = attrs.Find(CharSetSy)) {
    if (auto match = CharsetOfDeclaration(attr->StrValue)) charset = match->Charset;
  }
  TProperties& props = PushInline("font");
  if (color) props.AssignProperty(piColor, PropValue(static_cast<int>(*color)));
  if (size) props.AssignProperty(piFontSize, PropValue(Sizes.Points(*size, kind)));
  if (family) props.AssignProperty(piFontFamily, PropValue(*family));
  if (charset) props.SetCharset(*charset);
}

void TTagReader::StartAnchor() {
  const TAttribute* href = Attrs().Find(HrefSy);
  std::string_view pseudo;
  if (href) {
    if (InLink) EndAnchor();  // reads no token: only the link state is ended
    InLink = true;
    UrlTarget.Assign(href->StrValue, AttrText(TargetSy));
    pseudo = "link";
  }
  const bool hadSection = Section != nullptr;
  PushInline("a", pseudo);
  if (hadSection) FontChanged();
  else OpenSection();
  if (const TAttribute* name = Attrs().Find(NameSy)) {
    std::string anchor = name->StrValue;
    for (char& c : anchor) c = UpperAscii(c);
    if (!anchor.empty() && anchor.front() == '#') anchor.erase(0, 1);
    Doc.IDNameList.AddObject(anchor, Section.get());
    Section->SetHasAnchor();
  }
  if (href && hadSection) Section->HRefChange(Stack.Last(), UrlTarget, LinkEdge::Start, VShift);
  Next();
}

void TTagReader::EndAnchor() {
  if (InLink) {
    UrlTarget.Clear();
    InLink = false;
  }
  Pop("a");
  Tok.SetTextCodePage(Stack.Last().CodePage);
  if (Section) Section->HRefChange(Stack.Last(), UrlTarget, LinkEdge::End, VShift);
  if (Sy() == AEndSy) Next();
}

}  // namespace tessival::layout
