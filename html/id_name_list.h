#pragma once
// The document's anchors by NAME and ID, for jumps to "#name".
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessival::html {

// Anything an anchor name can stand for: a text section (A NAME=) or a source position
// (ID=). Its one question is where it lies vertically in the laid-out document.
class TIDObject {
 public:
  virtual ~TIDObject() = default;
  virtual int YPosition() const = 0;
};

// What the document offers to place a source position: the y of the document position
// that the source position maps to, or nothing when it maps to none. The section list
// implements it.
class SourcePositionLocator {
 public:
  virtual ~SourcePositionLocator() = default;
  virtual std::optional<int> YOfSourcePos(std::int32_t sourcePos) const = 0;
};

// An ID attribute's anchor: the source position where it was read; its y is computed
// when it is asked for, because layout comes after reading.
class TChPosObj : public TIDObject {
 public:
  TChPosObj(const SourcePositionLocator* locator, std::int32_t sourcePos)
      : locator_(locator), source_pos_(sourcePos) {}
  int YPosition() const override;
  std::int32_t SourcePos() const { return source_pos_; }

 private:
  const SourcePositionLocator* locator_;  // not owned: the document that owns this list
  std::int32_t source_pos_;
};

// Sorted by name; names compare without regard to ASCII case, as hand-written pages often
// spell a link and its target differently. The last definition of a name wins.
class TIDNameList {
 public:
  explicit TIDNameList(const SourcePositionLocator* locator = nullptr) : locator_(locator) {}

  // A section (or other object the document owns) under `name`; not owned by the list.
  void AddObject(std::string_view name, TIDObject* object);
  // A source-position anchor under `name`, owned by the list.
  void AddChPosObject(std::string_view name, std::int32_t sourcePos);
  // Frees the source-position anchors; sections belong to the document.
  void Clear();
  // Forgets every name that stands for `object` (a section the document dropped).
  void RemoveObject(const TIDObject* object);

  const TIDObject* Find(std::string_view name) const;
  int Count() const { return static_cast<int>(entries_.size()); }
  const std::string& NameAt(int index) const { return entries_[index].name; }

 private:
  struct Entry {
    std::string name;
    TIDObject* object = nullptr;
    std::unique_ptr<TIDObject> owned;
  };
  void Insert(Entry entry);
  std::vector<Entry>::iterator LowerBound(std::string_view name);

  const SourcePositionLocator* locator_;
  std::vector<Entry> entries_;
};

}  // namespace tessival::html
