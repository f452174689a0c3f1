// Inline objects of a text section: adding them, keeping their offsets, sizing, floats
// and the room they take in lines.
#include <algorithm>

#include "layout/image_obj.h"
#include "layout/indent_manager.h"
#include "layout/panel_obj.h"
#include "layout/section_list.h"
#include "layout/text_section.h"

namespace tessival::layout {

TImageObj& TSection::AddImage(const html::TAttributeList& attributes, TCellBasic* ownerCell,
                              std::int32_t sourcePos) {
  auto image = std::make_unique<TImageObj>(Document, static_cast<int>(Text_.size()), attributes);
  image->OwnerCell = ownerCell;
  TImageObj& added = *image;
  Objects_.push_back(std::move(image));
  AddChar(InlineObjectChar, sourcePos);
  if (Document) {
    if (const html::TAttribute* name = attributes.Find(html::NameSy))
      Document->IDNameList.AddObject(name->StrValue, &added);
    if (const std::string& id = attributes.GetID(); !id.empty())
      Document->IDNameList.AddObject(id, &added);
  }
  return added;
}

TFloatingObj& TSection::AddPanel(const html::TAttributeList& attributes, std::int32_t sourcePos) {
  Objects_.push_back(std::make_unique<TPanelObj>(Document, static_cast<int>(Text_.size()), attributes));
  TFloatingObj& added = *Objects_.back();
  AddChar(InlineObjectChar, sourcePos);
  return added;
}

TFloatingObj* TSection::ObjectAt(int offset) const {
  const auto it = std::lower_bound(Objects_.begin(), Objects_.end(), offset,
                                   [](const auto& object, int value) { return object->Pos < value; });
  return it != Objects_.end() && (*it)->Pos == offset ? it->get() : nullptr;
}

void TSection::RenumberObjects() {
  // The text's object characters are the objects in order: white-space rules never drop
  // them, and page text cannot plant one.
  std::size_t next = 0;
  for (std::size_t i = 0; i < Text_.size() && next < Objects_.size(); ++i)
    if (Text_[i] == InlineObjectChar) Objects_[next++]->Pos = static_cast<int>(i);
}

void TSection::SizeObjects(platform::Canvas& canvas, int availWidth) {
  for (const auto& object : Objects_) object->Size(canvas, availWidth, &Fonts_.FontAt(object->Pos));
}

int TSection::ObjectWidthAt(int offset) const {
  const TFloatingObj* object = ObjectAt(offset);
  return object && !object->Floats() ? object->OuterWidth() : 0;
}

void TSection::PlaceFloat(TFloatingObj& object, int y, IndentManager& indents) {
  object.FloatY = y;
  if (object.Align == oaLeftFloat) {
    const int left = indents.LeftIndentAt(y);
    object.FloatX = left - indents.LeftEdge + object.HSpaceLeft;
    indents.AddFloatBlock(y, left + object.OuterWidth(), FloatSide::Left, object.OuterHeight());
  } else {
    const int right = indents.RightIndentAt(y);
    object.FloatX = right - object.OuterWidth() - indents.LeftEdge + object.HSpaceLeft;
    indents.AddFloatBlock(y, object.OuterWidth(), FloatSide::Right, object.OuterHeight());
  }
  FloatsBottom_ = std::max(FloatsBottom_, y + object.OuterHeight());
}

void TSection::RaiseLineForObjects(LineRec& line) const {
  const int end = line.Start + line.Count;
  for (const auto& object : Objects_) {
    if (object->Pos < line.Start || object->Pos >= end || object->Floats()) continue;
    const int height = object->OuterHeight();
    const int extra = height - line.LineHeight;
    switch (object->Align) {
      case oaTop: line.SpaceAfter = std::max(line.SpaceAfter, extra); break;
      case oaMiddle:
        line.SpaceAfter = std::max(line.SpaceAfter, extra / 2);
        line.SpaceBefore = std::max(line.SpaceBefore, extra - extra / 2);
        break;
      default:
        line.SpaceBefore = std::max(line.SpaceBefore, height + line.Descent - line.LineHeight);
        break;
    }
  }
}

bool TSection::FindImageAt(int x, int y, int& localX, int& localY, TImageObj*& image) {
  for (const auto& object : Objects_) {
    auto* picture = dynamic_cast<TImageObj*>(object.get());
    if (!picture) continue;
    const int border = picture->HasLinkBorder ? 1 : 0;
    const int left = picture->DrawX + border, top = picture->DrawY + border;
    if (x >= left && x < left + picture->ObjWidth && y >= top && y < top + picture->ObjHeight) {
      localX = x - left;
      localY = y - top;
      image = picture;
      return true;
    }
  }
  return false;
}

}  // namespace tessival::layout
