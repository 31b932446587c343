#include "app/first_contact.h"

#include "launch/launcher.h"
#include "platform/platform.h"

namespace firstcontact {

bool ShouldAsk() {
  return platform::CanMakeGameFolderHome() && !launch::ProgramIsInstalled("Duke3D.exe");
}

Answer TakeGameFolder(const std::string& dosFolder) {
  Answer answer;
  if (dosFolder.empty() || platform::FindNormalFile(dosFolder + "\\Duke3D.exe").empty()) {
    return answer;
  }
  const platform::GameFolderHome home = platform::MakeGameFolderHome(dosFolder);
  if (!home.error.empty()) answer.message = Message{home.error, "No Dice...", Message::kStop};
  if (!home.linked) return answer;
  // The Kestrum started in the game's folder must find the instance lock free;
  // this one ends without saving.
  platform::ReleaseInstance();
  answer.restarted = platform::StartFromGameFolder(dosFolder);
  if (!answer.restarted) {
    platform::AnotherInstanceRunning();  // holds the lock again, and goes on
    answer.message = Message{"Kestrum could not be started from " + dosFolder + ".", "No Dice...",
                             Message::kStop};
  }
  return answer;
}

}  // namespace firstcontact
