#include "launch/launcher.h"

#include "launch/messages.h"
#include "winapi/dos_paths.h"
#include "os/processes.h"
#include "dosbox/runner.h"

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

}  // namespace launch
