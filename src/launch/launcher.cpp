#include "launch/launcher.h"
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

platform::StartResult StartMaximised(const std::string& commandLine,
                                     const std::vector<platform::ChosenFile>& chosen) {
  return platform::StartProcess(commandLine, platform::kSwShowMaximized, chosen);
}

}  // namespace launch
