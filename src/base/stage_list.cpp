#include "base/stage_list.h"

std::string StageList::List(int index) const {
  if (index < 0 || index >= ListCount()) return {};
  return entries_[static_cast<std::size_t>(index)];
}

void StageList::AddItem(const std::string& entry) {
  entries_.push_back(entry);
  Changed();
}

void StageList::InsertItem(const std::string& entry, int index) {
  if (index < 0 || index > ListCount()) index = ListCount();
  entries_.insert(entries_.begin() + index, entry);
  if (listIndex_ >= index) ++listIndex_;
  Changed();
}

void StageList::SetItemText(int index, const std::string& entry) {
  if (index < 0 || index >= ListCount()) return;
  entries_[static_cast<std::size_t>(index)] = entry;
  Changed();
}

void StageList::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  entries_.erase(entries_.begin() + index);
  if (listIndex_ == index) {
    listIndex_ = -1;
  } else if (listIndex_ > index) {
    --listIndex_;
  }
  Changed();
}

void StageList::SetListIndex(int index) {
  listIndex_ = (index >= 0 && index < ListCount()) ? index : -1;
  Changed();
}

void StageList::Clear() {
  entries_.clear();
  listIndex_ = -1;
  chosen_ = {};
  Changed();
}

int StageList::SameFromTheFirst(int count, const std::function<std::string(int)>& shown) const {
  int same = 0;
  while (same < ListCount() && same < count && shown(same) == List(same)) ++same;
  return same;
}
