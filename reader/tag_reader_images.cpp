// Inline pictures and client-side image maps.
#include "html/map_item.h"
#include "html/text_util.h"
#include "layout/image_obj.h"
#include "layout/section_list.h"
#include "reader/tag_reader_state.h"

namespace tessival::layout {

namespace {
// A map whose end tag never comes gives up after this many tokens that belong to no map.
constexpr int MaxForeignTokensInMap = 3;
}  // namespace

void TTagReader::ParseImage() {
  TSection& section = CurrentSection();
  const html::TProperties& props = Push("img");
  TImageObj& image = section.AddImage(Attrs(), Cell, Tok.TagStartPos());
  image.ApplyStyle(props);
  Pop("img");
}

void TTagReader::ParsePanel() {
  TSection& section = CurrentSection();
  const html::TProperties& props = Push("panel");
  section.AddPanel(Attrs(), Tok.TagStartPos()).ApplyStyle(props);
  Pop("panel");
}

void TTagReader::ParseMap() {
  std::string name = AttrText(html::NameSy);
  for (char& c : name) c = html::UpperAscii(c);
  auto map = std::make_unique<html::TMapItem>(name);
  int foreign = 0;
  Next();
  while (Sy() != html::MapEndSy && Sy() != html::EofToken) {
    if (Sy() == html::AreaSy) {
      map->AddArea(Attrs());
    } else if (Sy() != html::TextToken && ++foreign == MaxForeignTokensInMap) {
      // The map is given up; the token that ended it is read by the caller, so the
      // content after an unclosed map is not lost.
      return;
    }
    Next();
  }
  if (Sy() == html::MapEndSy) {
    Doc.MapList.push_back(std::move(map));
    Next();
  }
}

}  // namespace tessival::layout
