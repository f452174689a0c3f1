#pragma once
// The viewer's history (most recent first, with a cursor at the current entry) and its list
// of visited links. Both are plain lists; the viewer decides when to record.
#include <string>
#include <vector>

#include "layout/section_list.h"

namespace tessival::viewer {

struct HistoryEntry {
  std::string File;
  std::string Title;
  layout::PositionObj Position;
  int Kind = 0;
};

// A place the viewer shows or showed: file, title, kind and encoded position.
struct ShownPlace {
  std::string File;
  std::string Title;
  int Kind = 0;
  int Position = 0;
};

class ViewerHistory {
 public:
  // True when the entries changed.
  bool SetMaxCount(int count);
  int MaxCount() const { return max_count_; }
  // Records that the viewer went from `left` (with its forms' contents) to `now`; true when
  // the entries changed. Nothing is recorded without a history, for an unnamed document, or
  // when nothing moved.
  bool Record(const ShownPlace& left, layout::TFormData form_data, const ShownPlace& now);

  // Makes entry `index` current (back or forward), keeping in the entry being left where
  // the viewer was and, when it leaves that page for another, its forms' contents.
  void StepTo(int index, const ShownPlace& left, layout::TFormData form_data);

  const std::vector<HistoryEntry>& Entries() const { return entries_; }
  int Cursor() const { return cursor_; }

 private:
  std::vector<HistoryEntry> entries_;
  int max_count_ = 0;
  int cursor_ = 0;
};

class VisitedLinks {
 public:
  // Cuts the list to `count` (at least 0).
  void SetMaxCount(int count);
  int MaxCount() const { return max_count_; }
  // Puts url first; true when it was not in the list before (links must then be marked).
  bool Add(const std::string& url);
  const std::vector<std::string>& Urls() const { return urls_; }

 private:
  std::vector<std::string> urls_;
  int max_count_ = 50;
};

}  // namespace tessival::viewer
