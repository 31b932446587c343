// Where this user's settings for Kestrum live, as the desktop's base
// folders say, and where Kestrum was started, which a relative home is read
// against.
#pragma once

#include <string>

namespace platform::posix {

// Where Kestrum was started: the host folder of its program file, and the
// current folder then (a launch makes the game's folder current). Kept for
// the whole run; empty where nothing was recorded.
struct Start {
  std::string programFolder;
  std::string currentFolder;
};
Start& Started();

// ${XDG_CONFIG_HOME:-$HOME/.config}/kestrum, made absolute against the
// folder Kestrum was started in (the current one where none was recorded).
std::string ConfigFolder();

}  // namespace platform::posix
