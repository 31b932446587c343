#include "app/first_contact.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <set>

#include "launch/engine.h"
#include "launch/launcher.h"
#include "winapi/dos_paths.h"
#include "os/folders.h"
#include "os/game_folder.h"
#include "os/instance.h"

namespace firstcontact {

namespace {

std::string Describe(const platform::GameFolderHome& home, const std::string& folder) {
  using Problem = platform::GameFolderHome::Problem;
  const std::string noEntry = "Kestrum made its link in " + folder + ", but ";
  const std::string startBy =
      ", so there is no menu entry for it. Start Kestrum by " + home.link + ".";
  switch (home.problem) {
    case Problem::kNone:
      return {};
    case Problem::kSelfUnknown:
      return "Kestrum cannot tell where it is installed.";
    case Problem::kLinkNotMade:
      return "Kestrum could not make its link in " + folder + ": " + std::strerror(home.error) +
             ".";
    case Problem::kStrangerThere:
      return (home.target.empty() ? home.link + " is already there, and it"
                                  : home.link + " is a link to " + home.target + ", which") +
             " is not this Kestrum. Kestrum left it as it is: move it away and choose the folder "
             "again.";
    case Problem::kNoMenuFolder:
      return noEntry +
             "there is no folder for menu entries (neither XDG_DATA_HOME nor HOME names one)" +
             startBy;
    case Problem::kNotUtf8:
      return noEntry + "that folder's name is not UTF-8 text, which menu entries hold" + startBy;
    case Problem::kUnnamable:
      return noEntry + "that folder cannot be named in a menu entry" + startBy;
    case Problem::kEntryNotWritten:
      return noEntry + "could not write its menu entry in " + home.menuFolder + ": " +
             std::strerror(home.error) + ". Start Kestrum by " + home.link + ".";
  }
  return {};
}

}  // namespace

std::vector<std::string> FoundGameFolders() {
  using platform::system::SubFolder;
  std::vector<std::string> found;
  const char* homeVariable = std::getenv("HOME");
  if (homeVariable == nullptr || *homeVariable != '/') return found;
  const std::string home = homeVariable;
  // The look must never hold the first question back: every folder read
  // is bounded in entries, the whole look in time, and a folder reached by
  // many paths (links to one Wine prefix) is looked into once.
  constexpr std::size_t kMostEntries = 4096;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMostLookMs);
  const auto late = [&] { return std::chrono::steady_clock::now() > deadline; };
  std::set<std::string> seen;
  const auto firstVisit = [&seen](const std::string& identity) {
    return !identity.empty() && seen.insert(identity).second;
  };
  const auto folders = [&](const std::string& folder, const std::string& prefix) {
    std::vector<SubFolder> list;
    if (late()) return list;
    auto subs = platform::system::SubFolders(folder, prefix, kMostEntries);
    std::sort(subs.begin(), subs.end(),
              [](const SubFolder& a, const SubFolder& b) { return a.path < b.path; });
    for (auto& sub : subs) {
      if (firstVisit(sub.identity)) list.push_back(std::move(sub));
    }
    return list;
  };
  std::vector<std::string> candidates;
  // GOG's installer for Linux, and its own tree.
  for (const auto& gog : folders(home + "/GOG Games", "Duke Nukem 3D")) {
    for (const char* below : {"", "/data", "/data/noarch/data"})
      candidates.push_back(gog.path + below);
  }
  // Steam's Megaton edition keeps the DOS game's files in its classic folder.
  for (const char* steam : {"/.steam/steam", "/.local/share/Steam",
                            "/.var/app/com.valvesoftware.Steam/.local/share/Steam"}) {
    candidates.push_back(home + steam + "/steamapps/common/Duke Nukem 3D/gameroot/classic");
  }
  // The Windows edition of a store, installed in a Wine prefix.
  std::vector<std::string> prefixes{home + "/.wine"};
  for (const auto& prefix : folders(home + "/Games", "")) prefixes.push_back(prefix.path);
  for (const auto& prefix : prefixes) {
    for (const auto& game : folders(prefix + "/drive_c/GOG Games", ""))
      candidates.push_back(game.path);
  }
  std::set<std::string> offered;
  for (const auto& folder : candidates) {
    if (late()) break;
    // Each real folder once, whichever path led to it first.
    const std::string identity = platform::system::FolderIdentity(folder);
    if (identity.empty() || !offered.insert(identity).second) continue;
    // A folder without a mark of the game is passed over at the cost of one
    // read of its names.
    if (!platform::system::HoldsAnyOf(folder, {"duke3d.exe", "duke3d.grp"}, kMostEntries)) continue;
    const launch::GameFolder game = launch::LookAtFolder(folder);
    if (game.Any()) found.push_back(folder);
  }
  return found;
}

Home MakeHome(const std::string& hostFolder) {
  // Named after its folder, so that two games (a copy with add-ons, say)
  // are told apart in the menu.
  const std::string folderName = hostFolder.substr(hostFolder.find_last_of('/') + 1);
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
    answer.message = Message{text, "No Dice...", Message::kStop};
    return answer;
  };
  const launch::GameFolder game = launch::LookAtFolder(hostFolder);
  if (!game.Any()) {
    return refuse("Duke3D is not in " + hostFolder + ".");
  }
  const Home home = MakeHome(hostFolder);
  if (!home.error.empty()) answer.message = Message{home.error, "No Dice...", Message::kStop};
  if (!home.linked) return answer;
  // The Kestrum started in the game's folder must find the instance lock free;
  // this one ends without saving.
  platform::ReleaseInstance();
  answer.restarted = platform::StartFromGameFolder(hostFolder);
  if (!answer.restarted) {
    platform::AnotherInstanceRunning();  // holds the lock again, and goes on
    answer.message = Message{"Kestrum could not be started from " + hostFolder + ".", "No Dice...",
                             Message::kStop};
  }
  return answer;
}

}  // namespace firstcontact
