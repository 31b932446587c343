// Starting a command line as command.com would: the one policy for every
// system, over what each system supplies (processes.h, drives.h).
#include "dosbox/dos_view.h"
#include "os/flatpak.h"
#include "os/processes.h"
#include "dosbox/runner.h"
#include "dosbox/drives.h"
#include "dosbox/dosbox_program.h"
#include "text/text.h"

namespace platform {

StartResult StartProcess(const std::string& commandLine, int showCommand,
                         const std::vector<ChosenFile>& chosen) {
  return StartProcess(text::SplitWords(commandLine), showCommand, chosen);
}

StartResult StartProcess(const std::vector<std::string>& words, int showCommand,
                         const std::vector<ChosenFile>& chosen) {
  StartResult result;
  if (words.empty()) {
    result.failure.kind = StartFailure::Kind::kNothingToStart;
    return result;
  }
  const std::string direct = system::FindProgram(words[0]);
  if (!direct.empty()) {
    result.failure.file = dosview::CheckChosenFiles(words, chosen);
    if (result.failure.file.kind != dosview::Trouble::kNone) {
      result.failure.kind = StartFailure::Kind::kFile;
      return result;
    }
    result.taskId = system::Start(direct, words, showCommand, {});
    if (result.taskId == 0) {
      result.failure.kind = StartFailure::Kind::kNotStarted;
      result.failure.program = words[0];
    }
    return result;
  }

  const system::DosBox dosbox = system::FindDosBox();
  if (dosbox.program.empty()) {
    result.failure.kind = StartFailure::Kind::kNoDosBox;
    result.failure.program = words[0];
    return result;
  }
  const dosview::Plan plan = dosview::MakePlan(words, system::CurrentHostFolder(), chosen);
  if (plan.failure) {
    result.failure = plan.failure;
    return result;
  }
  system::Mounted mounted = system::MountDrives(plan.drives);
  if (mounted.failure) {
    result.failure = mounted.failure;
    return result;
  }
  std::vector<std::string> args{dosbox.program};
  if (!dosbox.flatpakId.empty()) {
    // A sandboxed DOSBox sees its own folders only: it is granted, for this
    // run, the drives' folder, which holds each file the line names, to
    // read, and the current (game) folder, which the game writes to.
    args.push_back("run");
    const std::string& first = mounted.paths.front();
    std::vector<std::pair<std::string, bool>> granted{
        {first.substr(0, first.find_last_of("/\\")), true}};
    for (const auto& drive : plan.drives) {
      if (drive.hostFile.empty()) granted.emplace_back(drive.hostFolder, false);
    }
    for (const auto& [path, readOnly] : granted) {
      const system::FlatpakGrant grant = system::GrantToFlatpak(path, readOnly);
      if (!grant.whyNot.empty()) {
        if (mounted.release) mounted.release();
        result.failure.kind = StartFailure::Kind::kNotGranted;
        result.failure.folder = path;
        result.failure.word = grant.whyNot;
        return result;
      }
      args.push_back(grant.option);
    }
    args.push_back(dosbox.flatpakId);
  }
  for (auto& a : dosview::DosBoxArguments(plan.drives, mounted.paths, plan.line,
                                          showCommand == kSwShowMaximized)) {
    args.push_back(std::move(a));
  }
  // DOSBox's own window: the game inside it is what is shown full screen.
  result.taskId = system::Start(dosbox.program, args, kSwShowNormal, mounted.release);
  if (result.taskId == 0) {
    if (mounted.release) mounted.release();
    result.failure.kind = StartFailure::Kind::kDosBoxNotStarted;
    return result;
  }
  if (mounted.started) mounted.started(result.taskId);
  return result;
}

}  // namespace platform
