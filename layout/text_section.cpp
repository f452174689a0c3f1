#include "layout/text_section.h"

#include <algorithm>

#include "html/text_util.h"
#include "layout/case_1252.h"
#include "layout/cell.h"
#include "layout/image_obj.h"
#include "layout/section_list.h"

namespace tessival::layout {
namespace {

int TextAlignOf(const html::TProperties& props) {
  const auto text = props.Prop(html::piTextAlign).TextValue();
  if (!text) return taLeft;
  if (*text == "right") return taRight;
  if (*text == "center") return taCenter;
  if (*text == "justify") return taJustify;
  return taLeft;
}

int ClearOf(const html::TProperties& props, const html::TAttributeList* attributes) {
  int clear = clNone;
  if (attributes) {
    if (const html::TAttribute* attribute = attributes->Find(html::ClearSy)) {
      const std::string value = html::ToLower(attribute->StrValue);
      clear = value == "left" ? clLeft : value == "right" ? clRight : clBoth;
    }
  }
  switch (props.Clear()) {  // the property wins over the attribute
    case html::TClearSide::csLeft: return clLeft;
    case html::TClearSide::csRight: return clRight;
    case html::TClearSide::csBoth: return clBoth;
    case html::TClearSide::csNone: return clNone;
    case html::TClearSide::csNotGiven: break;
  }
  return clear;
}

constexpr int MaxIndentPercent = 90;

}  // namespace

TSection::TSection(TSectionList* document, bool startsParagraph, TCellBasic* ownerCell,
                   const html::TUrlTarget* link, const html::TProperties& props,
                   const html::TAttributeList* attributes)
    : TSectionBase(document), OwnerCell(ownerCell), StartsParagraph_(startsParagraph) {
  TFontObj& run = Fonts_.Add(std::make_unique<TFontObj>(this, 0, props.GetFont(), props.PropTitle));
  if (link && !link->Url().empty()) {
    run.UrlTarget = *link;
    if (props.FontInfoArray) run.SetVariants(ShareVariants(*props.FontInfoArray));
    JoinLinkList(run);
  }
  HasDoubleByte = run.Font.tmLeadBytes.any();
  LineHeightProp = props.LineHeight(run.LogicalFont().PixelHeight());
  if (startsParagraph) {
    const html::TTextIndent indent = props.TextIndent();
    if (indent.Percent) TextIndentPercent = std::clamp(indent.Value, 0, MaxIndentPercent);
    else TextIndent = indent.Value;
  }
  TextAlign = TextAlignOf(props);
  Clear = ClearOf(props, attributes);
  if (attributes && Document && !Document->IsCopy) {
    const std::string& id = attributes->GetID();
    if (!id.empty()) Document->IDNameList.AddObject(id, this);
  }
}

TSection::~TSection() = default;

std::shared_ptr<const html::TFontInfoArray> TSection::ShareVariants(
    const html::TFontInfoArray& variants) const {
  if (Document) return Document->ShareVariants(variants);
  return std::make_shared<const html::TFontInfoArray>(variants);
}

void TSection::JoinLinkList(TFontObj& run) {
  if (Document && !run.Listed) Document->AddLinkRun(run);
}

void TSection::LeaveLinkList(const TFontObj& run) {
  if (Document && run.Listed) Document->RemoveLinkRun(run);
}

void TSection::Append(char ch, std::int32_t sourcePos, char mark) {
  Text_.push_back(ch);
  AppendMarks(1, mark);
  SourcePositions_.push_back(sourcePos);
}

void TSection::AppendMarks(std::size_t count, char mark) {
  // Marks are written only from the first that forbids a break on: until then every
  // character may break, and running text seldom has one that may not.
  if (Breaks_.empty() && mark == BreakAllowed) return;
  Breaks_.resize(Text_.size() - count, BreakAllowed);
  Breaks_.append(count, mark);
}

void TSection::ForbidBreakAt(std::size_t offset) {
  if (Breaks_.empty()) Breaks_.assign(Text_.size(), BreakAllowed);
  Breaks_[offset] = BreakNever;
}

void TSection::AddChar(char ch, std::int32_t sourcePos, BreakRule rule) {
  if (Finished_) return;
  Append(ch, sourcePos, rule == BreakRule::NoBreak ? BreakNever : BreakAllowed);
}

void TSection::AddTokens(const html::TokenObj& tokens, const html::TProperties& current,
                         BreakRule rule) {
  if (Finished_) return;
  const int count = tokens.Count();
  const char mark = rule == BreakRule::NoBreak ? BreakNever : BreakAllowed;
  const int* transform = current.Prop(html::piTextTransform).IntValue();
  const int mode = transform ? *transform : 0;
  const std::size_t first = Text_.size();
  Text_.append(tokens.Chars());
  AppendMarks(static_cast<std::size_t>(count), mark);
  const auto& positions = tokens.Positions();
  SourcePositions_.insert(SourcePositions_.end(), positions.begin(), positions.end());
  // The markers of images and controls stand only where such an object was added; a page
  // cannot plant one. (Text without a case change, nearly all, takes a loop of its own.)
  const auto isMarker = [](char ch) { return ch == FormControlChar || ch == InlineObjectChar; };
  char* const text = Text_.data();
  const std::size_t end = Text_.size();
  if (mode != 1 && mode != 2) {
    for (std::size_t i = first; i < end; ++i) text[i] = isMarker(text[i]) ? ' ' : text[i];
    return;
  }
  for (std::size_t i = first; i < end; ++i) {
    char& ch = text[i];
    if (isMarker(ch)) ch = ' ';
    else ch = mode == 1 ? Upper1252(ch) : Lower1252(ch);
  }
}

TFontObj& TSection::StartRun(const html::TProperties& props, TVShift shift) {
  TFontObj& last = Fonts_.Last();
  const int end = static_cast<int>(Text_.size());
  if (last.Pos == end) {
    last.SetFont(props.GetFont());
    last.Title = props.PropTitle;
    last.VShift = shift;
    return last;
  }
  auto run = std::make_unique<TFontObj>(this, end, props.GetFont(), props.PropTitle);
  run->UrlTarget = last.UrlTarget;
  run->VShift = shift;
  TFontObj& added = Fonts_.Add(std::move(run));
  if (added.Font.tmLeadBytes.any()) HasDoubleByte = true;
  return added;
}

void TSection::ChangeFont(const html::TProperties& props, TVShift shift) {
  if (Finished_) return;
  TFontObj& run = StartRun(props, shift);
  if (run.IsLinkRun()) {
    if (props.FontInfoArray) run.SetVariants(ShareVariants(*props.FontInfoArray));
    JoinLinkList(run);
  } else {
    run.DropVariants();
  }
  if (run.Font.tmLeadBytes.any()) HasDoubleByte = true;
}

void TSection::HRefChange(const html::TProperties& props, const html::TUrlTarget& link, LinkEdge edge,
                          TVShift shift) {
  if (Finished_) return;
  TFontObj& run = StartRun(props, shift);
  run.UrlTarget = link;
  if (edge == LinkEdge::Start && run.IsLinkRun()) {
    if (props.FontInfoArray) run.SetVariants(ShareVariants(*props.FontInfoArray));
    JoinLinkList(run);
  } else {
    run.DropVariants();
    LeaveLinkList(run);
  }
}

// --- white-space normalisation ----------------------------------------------------------
//
// Each rule is one linear pass that marks the characters to drop, followed by one
// compaction that also moves the font runs back; so a long section costs a few passes,
// never a deletion per character.

void TSection::Compact(std::vector<char>& drop) {
  const std::size_t size = Text_.size();
  const auto& runs = Fonts_.Runs();
  std::size_t runIndex = 0;
  std::size_t out = 0;
  for (std::size_t i = 0; i < size; ++i) {
    // A run starting here starts where the characters kept so far end.
    for (; runIndex < runs.size() && runs[runIndex]->Pos <= static_cast<int>(i); ++runIndex)
      runs[runIndex]->Pos = static_cast<int>(out);
    if (drop[i]) continue;
    Text_[out] = Text_[i];
    if (!Breaks_.empty()) Breaks_[out] = Breaks_[i];
    SourcePositions_[out] = SourcePositions_[i];
    ++out;
  }
  for (; runIndex < runs.size(); ++runIndex) runs[runIndex]->Pos = static_cast<int>(out);
  Text_.resize(out);
  if (!Breaks_.empty()) Breaks_.resize(out);
  SourcePositions_.resize(out);
  drop.assign(out, 0);
}

void TSection::DropRunsMovedOntoOthers() {
  // A run that now starts where the next one starts has no characters: the later run
  // replaces it.
  const auto& runs = Fonts_.Runs();
  std::vector<const TFontObj*> hidden;
  for (std::size_t i = 0; i + 1 < runs.size(); ++i)
    if (runs[i]->Pos == runs[i + 1]->Pos) hidden.push_back(runs[i].get());
  if (hidden.empty()) return;
  for (const TFontObj* run : hidden) LeaveLinkList(*run);
  Fonts_.RemoveIf([&](const TFontObj& run) {
    return std::find(hidden.begin(), hidden.end(), &run) != hidden.end();
  });
}

namespace {

// Marks every character `shouldDrop` picks, in text order, so that a rule may look at the
// marks it set before; true when it picked any.
template <class ShouldDrop>
bool MarkDrops(std::size_t size, std::vector<char>& drop, ShouldDrop shouldDrop) {
  bool any = false;
  for (std::size_t i = 0; i < size; ++i)
    if (shouldDrop(i)) drop[i] = any = true;
  return any;
}

}  // namespace

void TSection::DropLeadingSpaces(std::vector<char>& drop) {
  if (Text_.empty() || Text_[0] != ' ') return;
  if (MarkDrops(Text_.size(), drop,
                [&](std::size_t i) { return Text_[i] == ' ' && (i == 0 || drop[i - 1]); }))
    Compact(drop);
}

// Of a run of spaces one stays: the first that may break, or else the last. (Removing
// pairs one by one - the second unless the first may not break - keeps that one.)
void TSection::CollapseSpaceRuns(std::vector<char>& drop) {
  bool any = false;
  const std::size_t size = Text_.size();
  for (std::size_t i = 0; i < size;) {
    if (Text_[i] != ' ') {
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    while (end < size && Text_[end] == ' ') ++end;
    if (end - i == 1) {  // a single space stays
      i = end;
      continue;
    }
    std::size_t keep = end - 1;
    for (std::size_t k = i; k < end; ++k)
      if (MayBreakAt(static_cast<int>(k))) {
        keep = k;
        break;
      }
    for (std::size_t k = i; k < end; ++k)
      if (k != keep) drop[k] = any = true;
    i = end;
  }
  if (any) Compact(drop);
}

// A space right after a floating image goes: the picture leaves the line.
void TSection::DropSpacesAfterFloats(std::vector<char>& drop) {
  RenumberObjects();
  const bool any = MarkDrops(Text_.size(), drop, [&](std::size_t i) {
    if (Text_[i] != ' ' || i == 0 || Text_[i - 1] != InlineObjectChar) return false;
    const TFloatingObj* object = ObjectAt(static_cast<int>(i) - 1);
    return object && object->Floats();
  });
  if (any) Compact(drop);
}

void TSection::DropSoftHyphens(std::vector<char>& drop) {
  if (MarkDrops(Text_.size(), drop,
                [&](std::size_t i) { return static_cast<unsigned char>(Text_[i]) == SoftHyphenChar; }))
    Compact(drop);
}

// Spaces around a line break go: first those before it, then those after it.
void TSection::DropSpacesAroundLineBreaks(std::vector<char>& drop) {
  bool any = false;
  for (std::size_t i = Text_.size(); i-- > 0;)
    if (Text_[i] == ' ' && i + 1 < Text_.size() && (Text_[i + 1] == LineBreakChar || drop[i + 1]))
      drop[i] = any = true;
  if (any) Compact(drop);
  if (MarkDrops(Text_.size(), drop, [&](std::size_t i) {
        return Text_[i] == ' ' && i > 0 && (Text_[i - 1] == LineBreakChar || drop[i - 1]);
      }))
    Compact(drop);
}

void TSection::ForbidBreaksAtNoBreakSpaces() {
  for (std::size_t i = Text_.find(NoBreakSpaceChar); i != std::string::npos;
       i = Text_.find(NoBreakSpaceChar, i + 1)) {
    Text_[i] = ' ';
    ForbidBreakAt(i);
  }
}

void TSection::ReleaseSpareCapacity() {
  Text_.shrink_to_fit();
  if (Breaks_.find(BreakNever) == std::string::npos) {
    std::string().swap(Breaks_);
  } else {
    Breaks_.push_back(BreakAllowed);  // the end of the section
    Breaks_.shrink_to_fit();
  }
}

void TSection::FinishText() {
  if (Finished_) return;
  // One mark per character, reused by every rule; a rule that drops nothing costs one scan.
  std::vector<char> drop(Text_.size(), 0);
  // Most sections have no line break, soft hyphen or no-break space at all: one fast search
  // for the character spares a rule its walk over the text.
  const auto contains = [this](char ch) { return Text_.find(ch) != std::string::npos; };
  DropLeadingSpaces(drop);
  CollapseSpaceRuns(drop);
  if (!Objects_.empty()) DropSpacesAfterFloats(drop);
  if (!HasDoubleByte && contains(static_cast<char>(SoftHyphenChar))) DropSoftHyphens(drop);
  if (contains(LineBreakChar)) DropSpacesAroundLineBreaks(drop);
  ForbidBreaksAtNoBreakSpaces();
  DropRunsMovedOntoOthers();
  RenumberObjects();
  BuildIndex();
  ReleaseSpareCapacity();
  Finished_ = true;
  if (!Text_.empty() && Document) SectionNumber = Document->NextSectionNumber();
}

std::string TSection::Breaks() const {
  if (!Breaks_.empty()) return Breaks_;
  return std::string(Text_.size() + (Finished_ ? 1 : 0), BreakAllowed);
}

void TSection::BuildIndex() {
  Index_.clear();
  const std::int32_t* const source = SourcePositions_.data();
  const std::size_t size = SourcePositions_.size();
  if (size > 0) Index_.push_back({0, source[0]});
  for (std::size_t i = 1; i < size; ++i) {
    if (source[i] != source[i - 1] + 1) Index_.push_back({static_cast<int>(i), source[i]});
  }
  std::vector<std::int32_t>().swap(SourcePositions_);
  Index_.shrink_to_fit();
}

bool TSection::IsDroppable() const { return Text_.empty() && !HasAnchor && Clear == clNone; }

bool TSection::IsLeadByte(int offset) const {
  if (!HasDoubleByte || offset < 0 || offset >= static_cast<int>(Text_.size())) return false;
  return Fonts_.FontAt(offset).Font.tmLeadBytes.test(static_cast<unsigned char>(Text_[offset]));
}

// --- positions ---------------------------------------------------------------------------

int TSection::SourcePosOf(int docPos) const {
  const int offset = docPos - StartPos;
  if (offset < 0 || offset >= static_cast<int>(Text_.size()) || Index_.empty()) return -1;
  const auto after = std::upper_bound(Index_.begin(), Index_.end(), offset,
                                      [](int value, const IndexObj& rec) { return value < rec.Pos; });
  const IndexObj& rec = *(after - 1);
  return rec.SourcePos + (offset - rec.Pos);
}

int TSection::DocPosOf(int sourcePos, SearchDirection direction) const {
  const int size = static_cast<int>(Text_.size());
  if (Index_.empty() || size == 0) return -1;
  if (direction == SearchDirection::Forward) {
    // The first character whose source position is at or after sourcePos.
    for (std::size_t i = 0; i < Index_.size(); ++i) {
      const int end = i + 1 < Index_.size() ? Index_[i + 1].Pos : size;
      const int span = end - Index_[i].Pos;
      const int into = sourcePos - Index_[i].SourcePos;
      if (into < span) return StartPos + Index_[i].Pos + std::max(into, 0);
    }
    return -1;
  }
  // The last character whose source position is at or before sourcePos.
  for (std::size_t i = Index_.size(); i-- > 0;) {
    const int end = i + 1 < Index_.size() ? Index_[i + 1].Pos : size;
    const int span = end - Index_[i].Pos;
    const int into = sourcePos - Index_[i].SourcePos;
    if (into >= 0) return StartPos + Index_[i].Pos + std::min(into, span - 1);
  }
  return -1;
}

bool TSection::CharAt(int pos, char& ch, const TSectionBase*& section) const {
  const int offset = pos - StartPos;
  if (offset < 0 || offset >= static_cast<int>(Text_.size())) return false;
  ch = Text_[offset];
  section = this;
  return true;
}

std::unique_ptr<TSection> TSection::MakeBlank(TSectionList* document,
                                              const html::TProperties& props) const {
  return std::make_unique<TSection>(document, StartsParagraph_, OwnerCell, nullptr, props, nullptr);
}

std::unique_ptr<TSectionBase> TSection::Clone(TSectionList* document) const {
  html::TProperties props;
  std::unique_ptr<TSection> copy = MakeBlank(document, props);
  copy->Text_ = Text_;
  copy->Breaks_ = Breaks_;
  copy->Index_ = Index_;
  copy->Fonts_ = TFontList();
  for (const auto& run : Fonts_.Runs()) {
    auto runCopy = std::make_unique<TFontObj>(*run);
    runCopy->Section = copy.get();
    runCopy->Listed = false;
    TFontObj& added = copy->Fonts_.Add(std::move(runCopy));
    if (added.IsLinkRun()) copy->JoinLinkList(added);
  }
  for (const auto& object : Objects_) copy->Objects_.push_back(object->Clone(document));
  copy->TextAlign = TextAlign;
  copy->Clear = Clear;
  copy->LineHeightProp = LineHeightProp;
  copy->TextIndent = TextIndent;
  copy->TextIndentPercent = TextIndentPercent;
  copy->HasDoubleByte = HasDoubleByte;
  copy->HasAnchor = HasAnchor;
  copy->SectionNumber = SectionNumber;
  copy->Finished_ = Finished_;
  return copy;
}

}  // namespace tessival::layout
