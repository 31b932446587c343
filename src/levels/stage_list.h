// The entries of the stage list and its selection. The main window shows it
// in cboStages; the level catalogue and the user-file handling change it.
#pragma once

#include <functional>
#include <string>
#include <vector>

class StageList {
 public:
  int ListCount() const { return static_cast<int>(entries_.size()); }
  // The text of an entry; empty for a position that does not exist.
  std::string List(int index) const;
  // The selected entry's text; empty without a selection.
  std::string Text() const { return List(listIndex_); }
  int ListIndex() const { return listIndex_; }

  void AddItem(const std::string& entry);
  void InsertItem(const std::string& entry, int index);
  void SetItemText(int index, const std::string& entry);
  void RemoveItem(int index);
  void SetListIndex(int index);
  void Clear();

  // Told after every change, so that a view can follow.
  std::function<void()> changed;

 private:
  void Changed() const {
    if (changed) changed();
  }
  std::vector<std::string> entries_;
  int listIndex_ = -1;
};

extern StageList Stages;
