#include "app/first_contact.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <set>

#include "launch/engine.h"
#include "launch/launcher.h"
#include "winapi/dos_paths.h"
#include "stores/store_files.h"
#include "os/folders.h"
#include "os/game_folder.h"
#include "os/instance.h"

namespace firstcontact {

namespace {

std::string Describe(const platform::GameFolderHome& home, const std::string& folder) {
  using Problem = platform::GameFolderHome::Problem;
  // On Windows Kestrum copies itself and makes a Start menu shortcut; on
  // Linux it makes a link and a menu entry.
  const std::string made = home.copied ? "copy" : "link";
  const std::string entry = home.copied ? "Start menu shortcut" : "menu entry";
  const std::string noEntry = "Kestrum made its " + made + " in " + folder + ", but ";
  const std::string startBy =
      ", so there is no " + entry + " for it. Start Kestrum by " + home.link + ".";
  switch (home.problem) {
    case Problem::kNone:
      return {};
    case Problem::kSelfUnknown:
      return "Kestrum cannot tell where it is installed.";
    case Problem::kLinkNotMade:
      return (home.copied ? "Kestrum could not copy itself to "
                          : "Kestrum could not make its link in ") +
             folder + ": " + home.reason + ".";
    case Problem::kStrangerThere:
      return (home.target.empty() ? home.link + " is already there, and it"
                                  : home.link + " is a link to " + home.target + ", which") +
             " is not this Kestrum. Kestrum left it as it is: move it away and choose the folder "
             "again.";
    case Problem::kNoMenuFolder:
      return noEntry +
             (home.copied ? "Windows names no Start menu folder for this user"
                          : "there is no folder for menu entries (neither XDG_DATA_HOME nor HOME "
                            "names one)") +
             startBy;
    case Problem::kNotUtf8:
      return noEntry + "that folder's name is not UTF-8 text, which menu entries hold" + startBy;
    case Problem::kUnnamable:
      return noEntry + "that folder cannot be named in a menu entry" + startBy;
    case Problem::kEntryNotWritten:
      return noEntry + "could not write its " + entry + " in " + home.menuFolder + ": " +
             home.reason + ". Start Kestrum by " + home.link + ".";
  }
  return {};
}

}  // namespace

namespace {

// How a place lists the folders below which the game may lie.
enum class Roots {
  kFolders,          // the folders named (a trailing "*" takes each folder that begins so)
  kSteamLibraries,   // the folders named, and the libraries their libraryfolders.vdf lists
  kHeroicList,       // the install paths that Heroic's installed.json files list
  kLutrisGames,      // the games' folders and prefixes that Lutris' .yml files name
  kGogMenuEntry,     // the Path= of GOG's menu entries
  kMachineRegistry,  // the folders that values of the machine's registry name (key\\value)
  kSteamRegistry,    // the Steam folders registry values name ("HKCU:" the user's own), and
                     // the libraries their libraryfolders.vdf lists
};

// Where a store, a launcher or a port puts the game: how its roots are
// listed (paths under the home or absolute; on Windows, registry values),
// and the folders under a root that may hold the game ("" the root itself).
struct Place {
  const char* store;
  Roots roots;
  std::vector<const char*> paths;
  std::vector<const char*> below;
};

const std::vector<Place>& Places() {
  // clang-format off
  static const std::vector<Place> places = {
#ifdef _WIN32
      {"GOG",
       Roots::kMachineRegistry,
       {"SOFTWARE\\GOG.com\\Games\\1207658730\\path", "SOFTWARE\\GOG.com\\GOGDUKE3D\\PATH"},
       {""}},
      {"Steam",
       Roots::kMachineRegistry,
       {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 225140\\InstallLocation",
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 359850\\InstallLocation",
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 434050\\InstallLocation"},
       {"\\gameroot\\classic", "\\gameroot", "\\Duke Nukem 3D", ""}},
      {"Steam",
       Roots::kSteamRegistry,
       {"HKCU:Software\\Valve\\Steam\\SteamPath", "SOFTWARE\\Valve\\Steam\\InstallPath"},
       {"\\steamapps\\common\\Duke Nukem 3D\\gameroot\\classic",
        "\\steamapps\\common\\Duke Nukem 3D\\gameroot",
        "\\steamapps\\common\\Duke Nukem 3D\\Duke Nukem 3D",
        "\\steamapps\\common\\Duke Nukem 3D Twentieth Anniversary World Tour"}},
      {"ZOOM",
       Roots::kMachineRegistry,
       {"SOFTWARE\\ZOOM PLATFORM\\Duke Nukem 3D - Atomic Edition\\InstallPath"},
       {""}},
#else
      {"GOG", Roots::kFolders, {"~/GOG Games/Duke Nukem 3D*"}, {"", "/data", "/data/noarch/data"}},
      {"GOG",
       Roots::kGogMenuEntry,
       {"~/.local/share/applications/gog_com-Duke_Nukem_3D_Atomic_Edition_1.desktop",
        "~/Desktop/gog_com-Duke_Nukem_3D_Atomic_Edition_1.desktop"},
       {"", "/data", "/data/noarch/data"}},
      {"Steam",
       Roots::kSteamLibraries,
       {"~/.steam/steam", "~/.local/share/Steam", "~/.steam/debian-installation",
        "~/.var/app/com.valvesoftware.Steam/.local/share/Steam"},
       {"/steamapps/common/Duke Nukem 3D/gameroot/classic",
        "/steamapps/common/Duke Nukem 3D/gameroot",
        "/steamapps/common/Duke Nukem 3D/Duke Nukem 3D",
        "/steamapps/common/Duke Nukem 3D Twentieth Anniversary World Tour"}},
      {"Heroic",
       Roots::kHeroicList,
       {"~/.config/heroic/gog_store/installed.json",
        "~/.var/app/com.heroicgameslauncher.hgl/config/heroic/gog_store/installed.json"},
       {"", "/data"}},
      {"Heroic", Roots::kFolders, {"~/Games/Heroic/*"}, {"", "/data"}},
      {"Lutris",
       Roots::kLutrisGames,
       {"~/.config/lutris/games", "~/.local/share/lutris/games"},
       {"", "/drive_c/GOG Games/Duke Nukem 3D", "/drive_c/GOG Games/Duke Nukem 3D Atomic Edition"}},
      {"Wine", Roots::kFolders, {"~/.wine/drive_c/GOG Games/*", "~/Games/*/drive_c/GOG Games/*"}, {""}},
      {"Lutris", Roots::kFolders, {"~/Games/*"}, {""}},
      {"EDuke32",
       Roots::kFolders,
       {"~/.config/eduke32", "~/Documents/EDuke32", "/usr/share/games/eduke32"},
       {""}},
      {"JFDuke3D", Roots::kFolders, {"/usr/share/games/jfduke3d"}, {""}},
      {"Duke3D", Roots::kFolders, {"/usr/share/duke3d"}, {""}},
      {"Raze", Roots::kFolders, {"~/.config/raze", "~/.var/app/org.zdoom.Raze/.config/raze"}, {""}},
#endif
  };
  // clang-format on
  return places;
}

bool IsFullPath(const std::string& path) {
#ifdef _WIN32
  const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                     path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  return drive || path.rfind("\\\\", 0) == 0;
#else
  return !path.empty() && path[0] == '/';
#endif
}

}  // namespace

std::vector<Found> FoundGameFolders() {
  using platform::system::SubFolder;
  std::vector<Found> found;
  // Paths under a home that is no absolute path are not looked at.
  const char* homeVariable = std::getenv("HOME");
  const std::string home = homeVariable != nullptr && *homeVariable == '/' ? homeVariable : "";
  const auto underNoHome = [&](const std::string& path) {
    return home.empty() && path.rfind("~/", 0) == 0;
  };
  // The look must never hold the first question back: every folder read
  // is bounded in entries, every list file in size, the whole look in time,
  // and a folder reached by many paths (links to one Wine prefix) is looked
  // into once.
  constexpr std::size_t kMostEntries = 4096;
  constexpr std::size_t kLongestList = 1 << 20;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMostLookMs);
  const auto late = [&] { return std::chrono::steady_clock::now() > deadline; };
  // The folders a path names: "~" is the home, and a "*" component takes
  // each folder there that begins so (each real folder once for that path:
  // another path may lead to the same folders and look for other things).
  const auto expand = [&](const std::string& pattern) {
    std::set<std::string> seen;
    std::vector<std::string> paths{pattern.rfind("~/", 0) == 0 ? home + pattern.substr(1)
                                                               : pattern};
    for (std::size_t star; !late() && (star = paths.front().find('*')) != std::string::npos;) {
      std::vector<std::string> next;
      for (const auto& path : paths) {
        const std::size_t at = path.find('*');
        const std::size_t slash = path.rfind('/', at);
        const std::size_t end = path.find('/', at);
        const std::string folder = path.substr(0, slash == 0 ? 1 : slash);
        const std::string prefix = path.substr(slash + 1, at - slash - 1);
        const std::string rest = end == std::string::npos ? std::string() : path.substr(end);
        auto subs = platform::system::SubFolders(folder, prefix, kMostEntries);
        std::sort(subs.begin(), subs.end(),
                  [](const SubFolder& a, const SubFolder& b) { return a.path < b.path; });
        for (const auto& sub : subs) {
          if (seen.insert(sub.identity).second) next.push_back(sub.path + rest);
        }
      }
      paths = std::move(next);
      if (paths.empty()) break;
    }
    return paths;
  };
  const auto absolute = [&](const std::string& path) {
    return path.rfind("~/", 0) == 0 ? home + path.substr(1) : path;
  };
  // The folders a registry value names ("HKCU:" the user's own, else the
  // machine's), each written with the system's separator and none at its
  // end (Steam writes "c:/program files (x86)/steam", an installer may end
  // one with a separator).
  const auto registryFolders = [](const std::string& path) {
    const bool user = path.rfind("HKCU:", 0) == 0;
    const std::string key = user ? path.substr(5) : path;
    const std::size_t last = key.rfind('\\');
    const std::string name = key.substr(last + 1);
    std::vector<std::string> folders =
        user ? platform::system::UserValues(key.substr(0, last), name)
             : platform::system::MachineValues(key.substr(0, last), name);
    for (auto& folder : folders) {
      std::replace(folder.begin(), folder.end(), '/', '\\');
      while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    }
    return folders;
  };
  std::vector<std::pair<std::string, std::string>> candidates;  // store, folder
  for (const Place& place : Places()) {
    std::vector<std::string> roots;
    for (const char* path : place.paths) {
      if (late()) break;
      if (underNoHome(path)) continue;
      switch (place.roots) {
        case Roots::kFolders:
          for (auto& root : expand(path)) roots.push_back(std::move(root));
          break;
        case Roots::kSteamLibraries: {
          const std::string root = absolute(path);
          roots.push_back(root);
          const std::string vdf =
              platform::system::ReadListFile(root + "/steamapps/libraryfolders.vdf", kLongestList);
          for (auto& library : stores::SteamLibraries(vdf)) roots.push_back(std::move(library));
          break;
        }
        case Roots::kHeroicList: {
          const std::string json = platform::system::ReadListFile(absolute(path), kLongestList);
          for (auto& game : stores::HeroicInstallPaths(json)) roots.push_back(std::move(game));
          break;
        }
        case Roots::kLutrisGames:
          for (const auto& yml :
               platform::system::FilesEndingIn(absolute(path), ".yml", kMostEntries)) {
            if (late()) break;
            const std::string text = platform::system::ReadListFile(yml, kLongestList);
            for (auto& folder : stores::LutrisGameFolders(text)) roots.push_back(std::move(folder));
          }
          break;
        case Roots::kGogMenuEntry: {
          const std::string entry = platform::system::ReadListFile(absolute(path), kLongestList);
          const std::string folder = stores::DesktopEntryPath(entry);
          if (!folder.empty() && folder.front() == '/') roots.push_back(folder);
          break;
        }
        case Roots::kMachineRegistry:
          for (auto& folder : registryFolders(path)) roots.push_back(std::move(folder));
          break;
        case Roots::kSteamRegistry:
          for (auto& folder : registryFolders(path)) {
            const std::string vdf = platform::system::ReadListFile(
                folder + "\\steamapps\\libraryfolders.vdf", kLongestList);
            roots.push_back(std::move(folder));
            for (auto& library : stores::SteamLibraries(vdf)) roots.push_back(std::move(library));
          }
          break;
      }
    }
    for (const auto& root : roots) {
      // A list may name a folder by a relative path, which leads nowhere
      // known: Kestrum's own folder is no base for it.
      if (!IsFullPath(root)) continue;
      for (const char* below : place.below) candidates.emplace_back(place.store, root + below);
    }
  }
  std::set<std::string> offered;
  for (const auto& [store, folder] : candidates) {
    if (late()) break;
    // Each real folder once, whichever path led to it first.
    const std::string identity = platform::system::FolderIdentity(folder);
    if (identity.empty() || !offered.insert(identity).second) continue;
    // A folder without a mark of the game is passed over at the cost of one
    // read of its names.
    if (!platform::system::HoldsAnyOf(folder, {"duke3d.exe", "duke3d.grp"}, kMostEntries)) continue;
    if (launch::LookAtFolder(folder).Any()) found.push_back({store, folder});
  }
  return found;
}

Home MakeHome(const std::string& hostFolder) {
  // Named after its folder, so that two games (a copy with add-ons, say)
  // are told apart in the menu.
  const std::string folderName = hostFolder.substr(platform::LastSeparator(hostFolder) + 1);
  const platform::MenuEntryTexts texts{
      folderName == "Duke Nukem 3D" ? folderName : "Duke Nukem 3D (" + folderName + ")",
      "Play Duke Nukem 3D from " + hostFolder + " with Kestrum"};
  const platform::GameFolderHome home = platform::MakeGameFolderHome(hostFolder, texts);
  return Home{home.linked, Describe(home, hostFolder)};
}

bool ShouldAsk(const launch::GameFolder& here) {
  if (!platform::CanMakeGameFolderHome()) return false;
  return !here.Any();
}

Answer TakeGameFolder(const std::string& hostFolder) {
  Answer answer;
  if (hostFolder.empty()) return answer;
  auto refuse = [&](const std::string& text) {
    answer.message = NoDice(text);
    return answer;
  };
  // A link and a menu entry must name the folder wherever they are read.
  if (!IsFullPath(hostFolder)) return refuse(hostFolder + " is not a full path.");
  const launch::GameFolder game = launch::LookAtFolder(hostFolder);
  if (!game.Any()) {
    return refuse("Duke3D is not in " + hostFolder + ".");
  }
  const Home home = MakeHome(hostFolder);
  if (!home.error.empty()) answer.message = NoDice(home.error);
  if (!home.linked) return answer;
  // The Kestrum started in the game's folder must find the instance lock free;
  // this one ends without saving.
  platform::ReleaseInstance();
  answer.restarted = platform::StartFromGameFolder(hostFolder);
  if (!answer.restarted) {
    platform::AnotherInstanceRunning();  // holds the lock again, and goes on
    answer.message = NoDice("Kestrum could not be started from " + hostFolder + ".");
  }
  return answer;
}

}  // namespace firstcontact
