// kestrum.exe is copied into the game's folder by its user.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>

#include "os/game_folder.h"

namespace platform {

// kestrum.exe lives in the game's folder itself: there is no installed
// program to link there.
bool CanMakeGameFolderHome() {
  return false;
}

GameFolderHome MakeGameFolderHome(const std::string&, const MenuEntryTexts&) {
  return {};
}
bool StartFromGameFolder(const std::string&) {
  return false;
}

}  // namespace platform
