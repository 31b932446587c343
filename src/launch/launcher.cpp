#include "launch/launcher.h"

#include "dosbox/drives.h"
#include "dosbox/runner.h"
#include "launch/messages.h"
#include "os/folders.h"
#include "os/processes.h"
#include "text/text.h"
#include "winapi/dos_paths.h"

namespace launch {

namespace {

std::string ProgramName(const std::vector<std::string>& words) {
  return words.front().substr(words.front().find_last_of("/\\") + 1);
}

}  // namespace

bool ProgramIsInstalled(const std::string& fileName) {
  return !platform::FindNormalFile(platform::InFolder(platform::ProgramFolder(), fileName)).empty();
}

void EnterProgramDirectory() {
  platform::SetCurrentDirectory(platform::ProgramFolder());
}

Started StartMaximised(const std::string& commandLine,
                       const std::vector<platform::ChosenFile>& chosen) {
  const platform::StartResult started =
      platform::StartProcess(commandLine, platform::kSwShowMaximized, chosen);
  return Started{started.taskId, Describe(started.failure)};
}

Started StartMaximised(const std::vector<std::string>& words,
                       const std::vector<platform::ChosenFile>& chosen) {
  const platform::StartResult started =
      platform::StartProcess(words, platform::kSwShowMaximized, chosen);
  return Started{started.taskId, Describe(started.failure)};
}

Started StartGameProgram(const Plan& plan, std::function<void()> ended) {
  const auto& words = plan.words;
  const std::int64_t task = platform::system::Start(
      words.front(), words, platform::kSwShowMaximized, ended, plan.workingFolder);
  if (task == 0) {
    if (ended) ended();
    return Started{0, ProgramName(words) + " could not be started."};
  }
  return Started{task, {}};
}

std::string EndedAtOnce(const std::vector<std::string>& words) {
  // A game that cannot find its data, or its own settings, ends at once.
  const std::string name = ProgramName(words);
  return name + " ended as soon as it started. Make sure the game's DUKE3D.GRP in " +
         platform::ProgramFolder() + " is whole, and that " + name +
         " runs when started by itself.";
}

PreparedRun PrepareRun(const Plan& plan) {
  PreparedRun prepared;
  platform::dosview::Drive file;
  file.hostFile = plan.run.file;
  file.identity = plan.run.identity;
  file.dosName = plan.run.name;
  platform::system::Mounted made =
      platform::system::StageRun(plan.run.file.empty() ? nullptr : &file,
                                 plan.run.gameLink ? platform::ProgramFolder() : std::string());
  if (made.failure) {
    made.failure.forAPort = true;
    prepared.error = Describe(made.failure);
    return prepared;
  }
  prepared.folder.folder = made.paths.front();
  prepared.folder.fileFolder = made.paths.size() > 1 ? made.paths[1] : made.paths.front();
  prepared.started = std::move(made.started);
  prepared.release = std::move(made.release);
  return prepared;
}

std::string PrepareOwnFolder(const std::string& hostFolder, GameEngine engine) {
  const std::string mark = RowOf(engine).dialect({}, {}).ownFolderMark;
  if (platform::system::MakeFolderWith(hostFolder, mark)) return {};
  return "Kestrum could not make the preset's own folder " + hostFolder +
         ". Check that you may write there and try again.";
}

}  // namespace launch
