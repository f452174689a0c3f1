#pragma once
// TFloatingObj: what inline images and panels share. An object stands in its section's
// text as one InlineObjectChar; it has a size (the link border included), an alignment
// against the line (or a float to the left or right edge), spaces around it, and the place
// it was last painted at.
#include <memory>
#include <string>

#include "html/attribute_list.h"
#include "html/id_name_list.h"
#include "html/properties.h"
#include "platform/canvas.h"

namespace tessival::layout {

class TFontObj;

enum TObjAlign : int {
  oaTop = 1,
  oaMiddle = 2,
  oaBaseline = 3,
  oaBottom = 4,
  oaLeftFloat = 5,
  oaRightFloat = 6,
};

// HSPACE and VSPACE beyond this are taken as this.
constexpr int MaxObjectSpace = 40;
// The horizontal space a floating image gets when the page gives none.
constexpr int FloatSpace = 3;

class TFloatingObj : public html::TIDObject {
 public:
  // Reads ALIGN, HSPACE, VSPACE, WIDTH, ALT and TITLE; `defaultHSpace` is what an object
  // gets without HSPACE when it does not float.
  TFloatingObj(int pos, const html::TAttributeList& attributes, int defaultHSpace);
  ~TFloatingObj() override = default;
  TFloatingObj(const TFloatingObj&) = default;
  TFloatingObj& operator=(const TFloatingObj&) = delete;

  // Alignment, float, title and spaces from the element's style.
  virtual void ApplyStyle(const html::TProperties& props);
  virtual bool IsPanel() const { return false; }
  // Works out the totals for a line of availWidth; `run` is the font run at the object.
  virtual void Size(platform::Canvas& canvas, int availWidth, const TFontObj* run) = 0;
  // Draws (or places) the object with its left edge at x; baseline and lineTop in window
  // coordinates.
  virtual void Paint(platform::Canvas& canvas, int x, const TFontObj* run, int baseline,
                     int lineTop) = 0;
  virtual std::unique_ptr<TFloatingObj> Clone(class TSectionList* document) const = 0;

  bool Floats() const { return Align == oaLeftFloat || Align == oaRightFloat; }
  // The top of the object's box by its alignment in a line with this baseline and top.
  int TopForLine(const TFontObj* run, int baseline, int lineTop) const;
  // The width and height the object takes in a line, spaces included.
  int OuterWidth() const { return TotalWidth + HSpaceLeft + HSpaceRight; }
  int OuterHeight() const { return TotalHeight + VSpaceTop + VSpaceBottom; }
  int YPosition() const override { return DrawY; }

  int Pos;  // offset of its InlineObjectChar in the section
  int TotalWidth = 0;
  int TotalHeight = 0;
  int Align = oaBottom;
  int FloatX = 0;  // of a floating object: x relative to the indent manager's left edge
  int FloatY = 0;  // of a floating object: the document y it was placed at
  int HSpaceLeft = 0;
  int HSpaceRight = 0;
  int VSpaceTop = 0;
  int VSpaceBottom = 0;
  int SpecWidth = -1;  // WIDTH, -1 when not given
  bool WidthIsPercent = false;
  std::string Title;
  std::string AltText;
  int DrawX = 0;
  int DrawY = 0;

 private:
  bool HSpaceGiven_ = false;
};

// ALIGN as images read it: bottom unless the value names another alignment.
int ObjAlignFromAttribute(const std::string& value);

}  // namespace tessival::layout
