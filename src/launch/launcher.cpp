#include "launch/launcher.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "dosbox/runner.h"
#include "launch/messages.h"
#include "os/processes.h"
#include "winapi/dos_paths.h"

namespace launch {

bool ProgramIsInstalled(const std::string& fileName) {
  return !platform::FindNormalFile(platform::ProgramDirectory() + "\\" + fileName).empty();
}

void EnterProgramDirectory() {
  platform::SetCurrentDirectory(platform::ProgramDirectory());
}

Started StartMaximised(const std::string& commandLine,
                       const std::vector<platform::ChosenFile>& chosen) {
  const platform::StartResult started =
      platform::StartProcess(commandLine, platform::kSwShowMaximized, chosen);
  return Started{started.taskId, Describe(started.failure)};
}

Started StartGameProgram(const std::vector<std::string>& words) {
  EnterProgramDirectory();
  auto ended = std::make_shared<std::atomic<bool>>(false);
  const std::int64_t task = platform::system::Start(
      words.front(), words, platform::kSwShowMaximized, [ended] { *ended = true; });
  const std::string name = words.front().substr(words.front().find_last_of("/\\") + 1);
  if (task == 0) return Started{0, name + " could not be started."};
  // A game that cannot find its data, or its own settings, ends at once.
  for (int waited = 0; waited < 1000 && !*ended; waited += 50) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (*ended) {
    return Started{0, name + " ended as soon as it started. Make sure the game's DUKE3D.GRP in " +
                          platform::DosToHost(platform::ProgramDirectory()) +
                          " is whole, and that " + name + " runs when started by itself."};
  }
  return Started{task, {}};
}

}  // namespace launch
