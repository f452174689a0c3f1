#pragma once
// A list item: a block with a marker (bullet, number, letter, roman numeral or picture)
// drawn left of its first text line.
#include <memory>
#include <string>

#include "layout/block.h"
#include "layout/font_obj.h"

namespace tessival::layout {

enum TListKind : int { lkOrdered = 1, lkUnordered = 2, lkDefinition = 3, lkNoList = 4 };

// What the reader knows of the list an item sits in.
struct TListItemInfo {
  int Kind = lkNoList;
  int Number = 1;
  int Level = 0;       // nesting depth of bulleted and numbered lists
  bool Plain = false;  // a bulleted list without bullets
  char Numbering = '1';
};

class TImageObj;

class TBlockLI : public TBlock {
 public:
  TBlockLI(TCellBasic* ownerCell, const html::TProperties& props, const html::TAttributeList* attributes,
           const TListItemInfo& info);
  ~TBlockLI() override;

  std::unique_ptr<TSectionBase> Clone(TSectionList* document) const override;
  int Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) override;
  int Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
            IndentManager& indents) override;
  const char* KindName() const override { return "Item"; }

  // The marker as text ("3.") or empty for shapes, pictures and none.
  std::string MarkerLabel() const;

  int ListType = lkNoList;
  int ListNumber = 1;
  html::TListStyleType ListStyle = html::lbBlank;
  std::unique_ptr<TFontObj> MarkerFont;  // a copy of the element's font
  // The picture of "list-style-image", asked for at the first layout with images shown;
  // while it is missing (images off, still coming, failed) the bullet stands in for it.
  std::string MarkerImageUrl;
  std::unique_ptr<TImageObj> MarkerImage;
  int FirstBaseline = 0;  // y of the first text baseline, 0 until known

 private:
  TBlockLI(TSectionList* document, const TBlockLI& source);
  void SizeMarkerImage(platform::Canvas& canvas);
  // Draws the picture marker; false when there is none to draw.
  bool PaintMarkerImage(platform::Canvas& canvas, int baseline);
};

}  // namespace tessival::layout
