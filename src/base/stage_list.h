// The entries of the stage list and its selection. Each main window holds
// its own and shows it in cboStages; the level catalogue and the user-file
// handling change it through the window they are given.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "winapi/dos_paths.h"

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
  // How many entries a view that shows count entries (the entry at i is
  // shown(i)) has as the list has them, from the first: a view redoes only
  // what follows.
  int SameFromTheFirst(int count, const std::function<std::string(int)>& shown) const;

  // Told after every change, so that a view can follow.
  std::function<void()> changed;

  // The file the user entry stands for: the path it was chosen by (a host
  // path from the dialog or a drop) and which file that was (the platform's
  // file identity), so that the game is never given another that has taken
  // its name since. Empty until a file is chosen.
  struct UserFile {
    platform::HostPath path;
    std::string identity;
  };
  const UserFile& ChosenFile() const { return chosen_; }
  void SetChosenFile(UserFile file) { chosen_ = std::move(file); }

 private:
  void Changed() const {
    if (changed) changed();
  }
  std::vector<std::string> entries_;
  int listIndex_ = -1;
  UserFile chosen_;
};
