#include "viewer/viewer_history.h"

#include <algorithm>

namespace tessival::viewer {

bool ViewerHistory::SetMaxCount(int count) {
  if (count < 0) return false;
  const bool lowered = count < max_count_;
  max_count_ = count;
  if (!lowered || entries_.empty()) return false;
  entries_.clear();
  cursor_ = 0;
  return true;
}

bool ViewerHistory::Record(const ShownPlace& left, layout::TFormData form_data, const ShownPlace& now) {
  if (max_count_ < 1 || now.File.empty()) return false;
  if (left.File == now.File && left.Kind == now.Kind && left.Position == now.Position) return false;
  if (!entries_.empty()) {
    HistoryEntry& current = entries_[static_cast<std::size_t>(cursor_)];
    current.File = left.File;
    current.Title = left.Title;
    current.Kind = left.Kind;
    current.Position.Pos = left.Position;
    // Form contents belong to the page they were typed into, not to a jump inside it.
    current.Position.FormData = left.File != now.File ? std::move(form_data) : layout::TFormData{};
    entries_.erase(entries_.begin(), entries_.begin() + cursor_);
  }
  cursor_ = 0;
  HistoryEntry entry;
  entry.File = now.File;
  entry.Title = now.Title;
  entry.Kind = now.Kind;
  entry.Position.Pos = now.Position;
  entries_.insert(entries_.begin(), std::move(entry));
  if (static_cast<int>(entries_.size()) > max_count_) entries_.erase(entries_.begin() + max_count_);
  return true;
}

void ViewerHistory::StepTo(int index, const ShownPlace& left, layout::TFormData form_data) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  HistoryEntry& current = entries_[static_cast<std::size_t>(cursor_)];
  const bool other_page = left.File != entries_[static_cast<std::size_t>(index)].File;
  current.File = left.File;
  current.Title = left.Title;
  current.Kind = left.Kind;
  current.Position.Pos = left.Position;
  current.Position.FormData = other_page ? std::move(form_data) : layout::TFormData{};
  cursor_ = index;
}

void VisitedLinks::SetMaxCount(int count) {
  max_count_ = std::max(count, 0);
  if (static_cast<int>(urls_.size()) > max_count_) urls_.resize(static_cast<std::size_t>(max_count_));
}

bool VisitedLinks::Add(const std::string& url) {
  if (max_count_ <= 0) return false;
  if (!urls_.empty() && urls_.front() == url) return false;
  const auto found = std::find(urls_.begin(), urls_.end(), url);
  const bool is_new = found == urls_.end();
  if (!is_new) urls_.erase(found);
  urls_.insert(urls_.begin(), url);
  if (static_cast<int>(urls_.size()) > max_count_) urls_.resize(static_cast<std::size_t>(max_count_));
  return is_new;
}

}  // namespace tessival::viewer
