#include "app/first_contact.h"

#include "launch/launcher.h"
#include "winapi/dos_paths.h"
#include "os/game_folder.h"
#include "os/instance.h"

namespace firstcontact {

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
  const platform::GameFolderHome home = platform::MakeGameFolderHome(hostFolder);
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
