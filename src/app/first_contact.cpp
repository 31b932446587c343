#include "app/first_contact.h"

#include <cstring>

#include "launch/launcher.h"
#include "winapi/dos_paths.h"
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

bool ShouldAsk() {
  return platform::CanMakeGameFolderHome() && !launch::ProgramIsInstalled("Duke3D.exe");
}

Answer TakeGameFolder(const std::string& hostFolder) {
  Answer answer;
  if (hostFolder.empty()) return answer;
  auto refuse = [&](const std::string& text) {
    answer.message = Message{text, "No Dice...", Message::kStop};
    return answer;
  };
  // The game finds its files by DOS paths, and so does Kestrum started from
  // there: a folder no DOS path leads back to would be another folder then.
  if (!platform::NamedByDosPath(hostFolder)) {
    return refuse("Kestrum cannot live in " + hostFolder +
                  ": DOS paths cannot name that folder (a backslash in a name, or two names "
                  "that differ only in case, are the usual reasons). Rename it and start "
                  "Kestrum again.");
  }
  if (platform::FindNormalFile(platform::HostToDos(hostFolder) + "\\Duke3D.exe").empty()) {
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
