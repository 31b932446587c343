// Starting a command line as command.com would: the one policy for every
// system, over what each system supplies (system.h).
#include "dosbox/dos_view.h"
#include "os/processes.h"
#include "dosbox/runner.h"
#include "dosbox/drives.h"
#include "dosbox/dosbox_program.h"
#include "text/text.h"

namespace platform {

StartResult StartProcess(const std::string& commandLine, int showCommand,
                         const std::vector<ChosenFile>& chosen) {
  StartResult result;
  const auto words = text::SplitWords(commandLine);
  if (words.empty()) {
    result.error = "There is nothing to start.";
    return result;
  }
  const std::string direct = system::FindProgram(words[0]);
  if (!direct.empty()) {
    result.error = dosview::CheckChosenFiles(commandLine, chosen);
    if (!result.error.empty()) return result;
    result.taskId = system::Start(direct, words, showCommand, {});
    if (result.taskId == 0) result.error = words[0] + " could not be started.";
    return result;
  }

  const std::string dosbox = system::FindDosBox();
  if (dosbox.empty()) {
    result.error = dosview::NotInstalledMessage(words[0], system::HowToInstallDosBox());
    return result;
  }
  const dosview::Plan plan = dosview::MakePlan(commandLine, system::CurrentHostFolder(), chosen);
  if (!plan.problem.empty()) {
    result.error = plan.problem;
    return result;
  }
  system::Mounted mounted = system::MountDrives(plan.drives);
  if (!mounted.problem.empty()) {
    result.error = mounted.problem;
    return result;
  }
  std::vector<std::string> args{dosbox};
  for (auto& a : dosview::DosBoxArguments(plan.drives, mounted.paths, plan.line,
                                          showCommand == kSwShowMaximized)) {
    args.push_back(std::move(a));
  }
  // DOSBox's own window: the game inside it is what is shown full screen.
  result.taskId = system::Start(dosbox, args, kSwShowNormal, mounted.release);
  if (result.taskId == 0) {
    if (mounted.release) mounted.release();
    result.error = "DOSBox could not be started.";
    return result;
  }
  if (mounted.started) mounted.started(result.taskId);
  return result;
}

}  // namespace platform
