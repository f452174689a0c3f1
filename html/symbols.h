#pragma once
// The reader's vocabulary: one byte-sized value for every tag, end tag, attribute name and
// token kind. A tag and an attribute with the same name share one value, and the attribute
// TEXT shares its value with the text-token kind, so a reader can compare either against
// the same constant.
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessival::html {

enum Symbol : std::uint8_t {
  // Token kinds that are not tags.
  TextToken,
  OtherCharToken,
  UnknownTagToken,
  EofToken,
  EolToken,
  OtherAttribute,

  // Start tags, in the order of the tag table.
  HtmlSy,
  TitleSy,
  BodySy,
  HeadSy,
  BSy,
  ISy,
  HeadingSy,
  EmSy,
  StrongSy,
  USy,
  CiteSy,
  VarSy,
  TTSy,
  CodeSy,
  KbdSy,
  SampSy,
  OLSy,
  ULSy,
  DirSy,
  MenuSy,
  DLSy,
  ASy,
  AddressSy,
  BlockQuoteSy,
  PreSy,
  CenterSy,
  TableSy,
  TDSy,
  THSy,
  CaptionSy,
  FormSy,
  TextAreaSy,
  SelectSy,
  OptionSy,
  FontSy,
  SubSy,
  SupSy,
  BigSy,
  SmallSy,
  PSy,
  MapSy,
  FrameSetSy,
  NoFramesSy,
  ScriptSy,
  DivSy,
  SSy,
  StrikeSy,
  TRSy,
  NoBrSy,
  StyleSy,
  SpanSy,
  // Start tags without an end tag.
  LISy,
  BRSy,
  HRSy,
  DDSy,
  DTSy,
  ImageSy,
  BaseSy,
  ButtonSy,
  InputSy,
  SelectedSy,
  BaseFontSy,
  AreaSy,
  FrameSy,
  PageSy,
  BgSoundSy,
  WrapSy,
  MetaSy,
  PanelSy,
  WbrSy,
  LinkSy,

  // End tags of the first 51 entries, in the same order.
  HtmlEndSy,
  TitleEndSy,
  BodyEndSy,
  HeadEndSy,
  BEndSy,
  IEndSy,
  HeadingEndSy,
  EmEndSy,
  StrongEndSy,
  UEndSy,
  CiteEndSy,
  VarEndSy,
  TTEndSy,
  CodeEndSy,
  KbdEndSy,
  SampEndSy,
  OLEndSy,
  ULEndSy,
  DirEndSy,
  MenuEndSy,
  DLEndSy,
  AEndSy,
  AddressEndSy,
  BlockQuoteEndSy,
  PreEndSy,
  CenterEndSy,
  TableEndSy,
  TDEndSy,
  THEndSy,
  CaptionEndSy,
  FormEndSy,
  TextAreaEndSy,
  SelectEndSy,
  OptionEndSy,
  FontEndSy,
  SubEndSy,
  SupEndSy,
  BigEndSy,
  SmallEndSy,
  PEndSy,
  MapEndSy,
  FrameSetEndSy,
  NoFramesEndSy,
  ScriptEndSy,
  DivEndSy,
  SEndSy,
  StrikeEndSy,
  TREndSy,
  NoBrEndSy,
  StyleEndSy,
  SpanEndSy,

  // Attributes that have no tag of the same name.
  HrefSy,
  NameSy,
  SrcSy,
  AltSy,
  AlignSy,
  BgColorSy,
  BackgroundSy,
  ColSpanSy,
  RowSpanSy,
  BorderSy,
  CellPaddingSy,
  CellSpacingSy,
  VAlignSy,
  WidthSy,
  StartSy,
  ValueSy,
  TypeSy,
  CheckBoxSy,
  RadioSy,
  MethodSy,
  ActionSy,
  CheckedSy,
  SizeSy,
  MaxLengthSy,
  ColsSy,
  RowsSy,
  MultipleSy,
  FaceSy,
  ColorSy,
  TranspSy,
  ClearSy,
  IsMapSy,
  BorderColorSy,
  UseMapSy,
  ShapeSy,
  CoordsSy,
  NoHrefSy,
  HeightSy,
  PlainSy,
  TargetSy,
  NoResizeSy,
  ScrollingSy,
  HSpaceSy,
  LanguageSy,
  FrameBorderSy,
  MarginWidthSy,
  MarginHeightSy,
  LoopSy,
  OnClickSy,
  NoShadeSy,
  HttpEqSy,
  ContentSy,
  EncTypeSy,
  VLinkSy,
  OLinkSy,
  ActiveSy,
  VSpaceSy,
  ClassSy,
  IDSy,
  RelSy,
  RevSy,
  NoWrapSy,
  BorderColorLightSy,
  BorderColorDarkSy,
  CharSetSy,
  RatioSy,
  OnFocusSy,
  OnBlurSy,
  OnChangeSy,

  SymbolCount
};

// The attribute TEXT is the text-token kind.
constexpr Symbol TextSy = TextToken;

// Structure readers pass these down as termination sets and form unions of them.
using SymbolSet = std::bitset<200>;
static_assert(SymbolCount <= 200);

constexpr int TagCount = 71;
constexpr int TagsWithEnd = 51;
constexpr int AttributeCount = 76;
constexpr int MaxTagNameLength = 12;
constexpr int MaxAttributeNameLength = 16;

// Table lookups by exact upper-case name; UnknownTagToken or OtherAttribute when missing.
Symbol StartSymbolOf(std::string_view upperName);
Symbol EndSymbolOf(std::string_view upperName);
Symbol AttributeSymbolOf(std::string_view upperName);

// The element name used for style matching and for popping ("b", "td"); a heading gives
// "h" followed by its level. Empty for symbols that are not start tags.
std::string StartTagName(Symbol start, int headingLevel = 0);
// The lower-cased name of an end symbol ("b" for BEndSy); empty for other symbols.
std::string_view EndTagName(Symbol end);
// The end symbol of a start symbol among the first 51 tags; UnknownTagToken otherwise.
Symbol EndSymbolOfStart(Symbol start);

inline bool IsEndTag(Symbol sy) { return sy >= HtmlEndSy && sy <= SpanEndSy; }

}  // namespace tessival::html
