// An installed Kestrum at home in a game's folder.
#pragma once

#include <string>

namespace platform {

// Makes a game's folder Kestrum's home for good: a link there to this very
// program (on Windows, where links are not what users know, a copy of it),
// and a menu entry (a Start menu shortcut) that starts Kestrum by it.
bool CanMakeGameFolderHome();
struct GameFolderHome {
  enum class Problem {
    kNone,
    kSelfUnknown,      // this program's own file cannot be found
    kLinkNotMade,      // reason says why
    kStrangerThere,    // a "kestrum" that is not this program: a link to target, or a file
    kNoMenuFolder,     // neither XDG_DATA_HOME nor HOME names one
    kNotUtf8,          // the folder's name, which a menu entry cannot hold
    kUnnamable,        // a name no menu entry can write
    kEntryNotWritten,  // in menuFolder; reason says why
  };
  bool linked = false;  // Kestrum can be started from the game's folder
  bool copied = false;  // by a copy of itself there, not a link
  Problem problem = Problem::kNone;
  std::string link;
  std::string target;
  std::string menuFolder;
  std::string reason;  // the system's own words
};
// The menu entry's texts, as the user reads them in the menu.
struct MenuEntryTexts {
  std::string name;
  std::string comment;
};
// The folder is a host path, as the user chose it.
GameFolderHome MakeGameFolderHome(const std::string& hostFolder, const MenuEntryTexts& texts);
// A menu entry (a Start menu shortcut) that starts a preset's game by
// Kestrum's link (its copy) in the game's folder: "kestrum --preset NAME".
// One for each folder and preset.
GameFolderHome AddPresetToMenu(const std::string& hostFolder, const std::string& preset,
                               const MenuEntryTexts& texts);
// Starts Kestrum by its link in the game's folder; false when it cannot.
bool StartFromGameFolder(const std::string& hostFolder);

}  // namespace platform
