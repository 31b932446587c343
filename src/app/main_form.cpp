#include "app/main_form.h"

#include <algorithm>
#include <utility>

#include "app/exit_program.h"
#include "app/first_contact.h"
#include "launch/command_line.h"
#include "launch/launcher.h"
#include "launch/shell_paths.h"
#include "levels/ini_files.h"
#include "levels/levels.h"
#include "levels/stage_list.h"
#include "levels/user_files.h"
#include "winapi/dos_paths.h"
#include "dosbox/runner.h"
#include "os/task_windows.h"
#include "winapi/registry.h"
#include "os/instance.h"
#include "settings/registry.h"
#include "settings/saved_settings.h"
#include "tools/author_links.h"
#include "tools/companion_tools.h"

const OpenDialogSettings& OpenDialog() {
  static const OpenDialogSettings settings = [] {
    OpenDialogSettings s;
    s.title = "Gimme Some Sugar, Baby...";
    s.defaultExtension = "map";
    // As the game's own tools write a filter: description|pattern pairs.
    const std::string filter =
        "All Duke Nukem Files|*.map;*.grp|Duke Nukem Maps (*.map)|*.map|"
        "Duke Nukem Group Files (*.grp)|*.grp|All Files (*.*)|*.*";
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar = filter.find('|'); start <= filter.size();
         bar = filter.find('|', start)) {
      if (bar == std::string::npos) bar = filter.size();
      parts.push_back(filter.substr(start, bar - start));
      start = bar + 1;
    }
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
      s.filters.push_back({parts[i], parts[i + 1]});
    return s;
  }();
  return settings;
}

namespace mainform {

namespace {

MainFormPort*& TheWindow() {
  static MainFormPort* window = nullptr;
  return window;
}

// A started program whose window comes to the front when the user comes
// back to Kestrum, and whether Kestrum waits minimised for that.
struct Started {
  std::int64_t task = 0;
  bool waitingForReturn = false;
};
Started& Task() {
  static Started started;
  return started;
}

// The folder the Open dialog shows next: where the last file was chosen.
std::string& LastOpenFolder() {
  static std::string folder;
  return folder;
}

// A stored value a control cannot show falls back to its first one.
std::int16_t InRange(std::int16_t value, std::size_t last) {
  return value >= 0 && static_cast<std::size_t>(value) <= last ? value : 0;
}

Message NoDice(const std::string& text) {
  return Message{text, "No Dice...", Message::kStop};
}

void Tell(MainFormPort& window, const std::optional<Message>& message) {
  if (message) window.ShowMessage(*message);
}

}  // namespace

MainFormPort* Window() {
  return TheWindow();
}
void SetWindow(MainFormPort* window) {
  TheWindow() = window;
}

bool StartUp(MainFormPort& window) {
  if (platform::AnotherInstanceRunning()) {
    window.ShowMessage(Message{"Kestrum is Already Running", "Sorry...", Message::kInformation});
    return false;
  }
  if (firstcontact::ShouldAsk()) {
    const char* home = std::getenv("HOME");
    const std::string folder = window.ChooseFolder(firstcontact::kQuestion, home ? home : "");
    const auto answer = firstcontact::TakeGameFolder(folder);
    Tell(window, answer.message);
    if (answer.restarted) return false;
  }
  MakeRegistryKey(SettingsKey, platform::kHkeyCurrentUser);
  AddDuke3Levels();
  CheckDukeVersion(window);
  LoadSettings(window);

  LaunchOptionsRecord shown = LaunchOptions;
  shown.Record = InRange(shown.Record, 2);
  shown.Monsters = InRange(shown.Monsters, 2);
  shown.Sound = InRange(shown.Sound, SoundEntries().size() - 1);
  shown.Skills = InRange(shown.Skills, SkillEntries().size() - 1);
  shown.Respawn = InRange(shown.Respawn, RespawnEntries().size() - 1);
  shown.Fakers = InRange(shown.Fakers, kMostFakers);
  window.ShowOptions(shown);
  // A control that did not change raised no handler: the record must still
  // hold what the controls show.
  shown.ArtInt = LaunchOptions.ArtInt;
  LaunchOptions = shown;
  window.ShowWindow();
  return true;
}

void LaunchGame(MainFormPort& window) {
  launch::EnterProgramDirectory();
  if (!launch::ProgramIsInstalled("Duke3D.exe")) {
    window.ShowMessage(NoDice("Duke3D is not in required directory"));
    return;
  }
  GameCommandLine = BuildCommandLine(LaunchOptions, Stages.Text(), UserFilePath);
  window.Minimize();
  std::vector<platform::ChosenFile> chosen;
  if (!UserFileIdentity.empty()) chosen.push_back({UserFilePath, UserFileIdentity});
  const launch::Started started = launch::StartMaximised(GameCommandLine, chosen);
  if (started.taskId == 0) {
    // Nothing runs, so there is nothing to come back from: the window
    // returns at once and says what is missing.
    window.Restore(false);
    window.ShowMessage(NoDice(started.error));
    return;
  }
  Task() = Started{started.taskId, true};
}

void ShowCommandLine(MainFormPort& window) {
  window.TakeFocus();
  GameCommandLine = BuildCommandLine(LaunchOptions, Stages.Text(), UserFilePath);
  window.ShowMessage(Message{GameCommandLine, "Command Line", Message::kInformation});
}

void OpenUserFile(MainFormPort& window) {
  window.TakeFocus();
  const std::string folder = LastOpenFolder().empty()
                                 ? platform::DosToHost(platform::ProgramDirectory())
                                 : LastOpenFolder();
  const std::string chosen = window.ChooseFile(OpenDialog(), folder);
  if (chosen.empty()) return;
  const auto slash = chosen.find_last_of("/\\");
  if (slash != std::string::npos) LastOpenFolder() = chosen.substr(0, slash == 0 ? 1 : slash);
  Tell(window, TakeChosenFile(platform::HostToDos(chosen), window));
}

void OpenCompanionText(MainFormPort& window) {
  window.TakeFocus();
  ShellOpen(CompanionTextPath());
}

void DropFiles(MainFormPort& window, const std::vector<std::string>& hostPaths) {
  std::vector<std::string> names;
  for (const auto& path : hostPaths) names.push_back(platform::HostToDos(path));
  Tell(window, TakeDroppedFiles(names, window));
}

void RunCompanionTool(MainFormPort& window, CompanionToolId id) {
  const CompanionTool& tool = FindCompanionTool(id);
  if (tool.focusMainWindowFirst) window.TakeFocus();
  const ToolStart result = StartCompanionTool(tool);
  if (result.outcome != ToolStart::Outcome::Started) {
    window.ShowMessage(NoDice(result.message));
    return;
  }
  Task().task = result.taskId;
}

void ShowPopupMenu(MainFormPort& window) {
  window.TakeFocus();
  // Just below the start button, which is 25 pixels high.
  window.ShowPopupMenu(-1, 25);
}

void ShowAbout(MainFormPort& window) {
  window.TakeFocus();
  window.ShowAbout();
}

void Run(MainFormPort& window, mainwindow::Command command) {
  using mainwindow::Command;
  switch (command) {
    case Command::kPopupMenu:
      return ShowPopupMenu(window);
    case Command::kOpen:
      return OpenUserFile(window);
    case Command::kText:
      return OpenCompanionText(window);
    case Command::kLaunch:
      return LaunchGame(window);
    case Command::kBuild:
      return RunCompanionTool(window, CompanionToolId::kBuild);
    case Command::kEditArt:
      return RunCompanionTool(window, CompanionToolId::kEditArt);
    case Command::kAbout:
      return ShowAbout(window);
    case Command::kDebug:
      return ShowCommandLine(window);
    case Command::kNone:
      return;
  }
}

void CameBack(MainFormPort& window, bool holdsTheFocus) {
  bool inFront = false;
  if (holdsTheFocus) {
    const std::int64_t task = std::exchange(Task().task, 0);
    inFront = task != 0 && platform::ActivateTaskWindow(task);
  }
  if (!Task().waitingForReturn) return;
  Task().waitingForReturn = false;
  window.Restore(inFront);
}

bool WaitingForReturn() {
  return Task().waitingForReturn;
}
bool TaskToBringForward() {
  return Task().task != 0;
}

void ResetForTesting() {
  Task() = Started{};
  LastOpenFolder().clear();
}

}  // namespace mainform

void PopupMenuItemChosen(PopupCommand command) {
  MainFormPort* window = mainform::Window();
  if (command == PopupCommand::kDukeHelp || command == PopupCommand::kSetup) {
    const auto tool =
        command == PopupCommand::kSetup ? CompanionToolId::kSetup : CompanionToolId::kDukeHelp;
    if (window != nullptr) mainform::RunCompanionTool(*window, tool);
  } else if (command == PopupCommand::kEMail) {
    ShellOpen(std::string("mailto:") + kAuthorEMail);
  } else if (command == PopupCommand::kHomepage) {
    ShellOpen(kAuthorHomePage);
  } else if (command == PopupCommand::kAbout) {
    // The same modal window as the toolbar's, without taking the focus first.
    if (window != nullptr) window->ShowAbout();
  } else if (command == PopupCommand::kExit) {
    ExitProgram();
  }
}
