// Small readers of the files in which stores and launchers list where they
// installed games. Each takes the file's text and gives what it could read;
// a file that does not parse gives nothing, never an error.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stores {

// Steam's steamapps/libraryfolders.vdf: the "path" of each library.
std::vector<std::string> SteamLibraries(std::string_view vdf);
// Heroic's gog_store/installed.json: the "install_path" of each game.
std::vector<std::string> HeroicInstallPaths(std::string_view json);
// A Lutris game's .yml: the folder of its "exe" and its Wine "prefix"
// (under the "game:" section), where given.
std::vector<std::string> LutrisGameFolders(std::string_view yml);
// A menu entry's (.desktop) "Path=" of its [Desktop Entry] group; empty when
// there is none.
std::string DesktopEntryPath(std::string_view desktop);

}  // namespace stores
