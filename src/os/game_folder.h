// An installed Kestrum at home in a game's folder.
#pragma once

#include <string>

namespace platform {

// Makes a game's folder Kestrum's home for good: a link there to this very
// program, and a menu entry that starts Kestrum by it. Supported where a program lives apart from
// the game (an installed Kestrum on Linux); Windows users copy kestrum.exe into the game's folder.
bool CanMakeGameFolderHome();
struct GameFolderHome {
  bool linked = false;  // Kestrum can be started from the game's folder
  std::string error;    // what went wrong, when it did
};
// The folder is a host path, as the user chose it.
GameFolderHome MakeGameFolderHome(const std::string& hostFolder);
// Starts Kestrum by its link in the game's folder; false when it cannot.
bool StartFromGameFolder(const std::string& hostFolder);

}  // namespace platform
