#include "app/main_form.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <utility>

#include "app/exit_program.h"
#include "app/engine_shown.h"
#include "app/first_contact.h"
#include "app/preset_sequences.h"
#include "dosbox/dos_view.h"
#include "dosbox/start_failure.h"
#include "launch/command_line.h"
#include "launch/engine.h"
#include "launch/messages.h"
#include "launch/launcher.h"
#include "launch/plan.h"
#include "launch/saved_games.h"
#include "launch/shell_paths.h"
#include "levels/ini_files.h"
#include "levels/levels.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "winapi/dos_paths.h"
#include "dosbox/runner.h"
#include "os/processes.h"
#include "os/task_windows.h"
#include "winapi/registry.h"
#include "os/instance.h"
#include "presets/presets.h"
#include "settings/registry.h"
#include "settings/saved_settings.h"
#include "tools/author_links.h"
#include "tools/companion_tools.h"
#include "text/text.h"

namespace mainform {

namespace {

// A stored value a control cannot show falls back to its first one.
std::int16_t InRange(std::int16_t value, std::size_t last) {
  return value >= 0 && static_cast<std::size_t>(value) <= last ? value : 0;
}

void Tell(MainFormPort& window, const std::optional<Message>& message) {
  if (message) window.ShowMessage(*message);
}

// The engine a launch would start now: the game folder looked at once.
GameEngine EngineNow(const MainFormPort& window) {
  return launch::EngineToRun(launch::LookAtGameFolder(), window.session.engine);
}

}  // namespace

bool StartUp(MainFormPort& window) {
  if (platform::AnotherInstanceRunning()) {
    window.ShowMessage(Message{"Kestrum is Already Running", kSorry, Message::kInformation});
    return false;
  }
  // The game folder is looked at once here; a first contact that finds none
  // either ends this copy or goes on without a game.
  const launch::GameFolder folder = launch::LookAtGameFolder();
  if (firstcontact::ShouldAsk(folder)) {
    // Where the stores put the game, it is offered first; any other folder
    // is asked for.
    const std::vector<firstcontact::Found> found = firstcontact::FoundGameFolders();
    // Each with the store's name beside it; picked by its place in the list.
    std::vector<std::string> offered;
    for (const auto& place : found) offered.push_back(place.store + ": " + place.folder);
    int choice = static_cast<int>(offered.size());
    if (!offered.empty()) {
      offered.push_back(firstcontact::kOtherFolder);
      choice = window.ChooseFromList(firstcontact::kQuestion, firstcontact::kFoundPrompt, offered);
    }
    std::string folder;
    if (choice >= 0 && choice < static_cast<int>(found.size())) {
      folder = found[static_cast<std::size_t>(choice)].folder;
    } else if (choice >= 0) {
      const char* home = std::getenv("HOME");
      folder = window.ChooseFolder(firstcontact::kQuestion, home ? home : "");
    }
    const auto answer = firstcontact::TakeGameFolder(folder);
    Tell(window, answer.message);
    if (answer.restarted) return false;
  }
  MakeRegistryKey(SettingsKey, platform::kHkeyCurrentUser);
  AddDuke3Levels(window.stages);
  // Which game program runs decides the edition of a port's folder.
  const launch::EngineRow* saved = launch::RowSavedAs(LoadEngineName());
  window.session.engine = saved != nullptr ? saved->id : launch::Engines().front().id;
  window.session.engineChoiceOffered = folder.engines.size() > 1;
  const GameEngine engine = launch::EngineToRun(folder, window.session.engine);
  std::optional<Message> fellBack;
  if (saved != nullptr && saved->id != engine && folder.Any()) {
    // The program the user chose is gone: the first found plays, and the
    // user is told this once (the choice stored from now on is that one).
    fellBack = NoDice(std::string(saved->menuText) + ", the game program you chose, is not in " +
                      platform::ProgramFolder() + " any more: " + launch::RowOf(engine).menuText +
                      " plays instead.");
    window.session.engine = engine;
    SaveEngineName(launch::RowOf(engine).savedAs);
  }
  CheckDukeVersion(window, folder, engine);
  LoadSettings(window);

  // The saved options, each in its control's range, in the order of start-up.
  for (const auto& option : mainwindow::OptionFields()) {
    const mainwindow::Control* control = mainwindow::ControlOf(option.option);
    if (*option.savedAs == '\0' || control == nullptr) continue;
    const std::int16_t shown = InRange(LaunchOptions.*option.field,
                                       static_cast<std::size_t>(mainwindow::MostOf(*control)));
    window.ShowOption(*control, shown);
    // A control that did not change raised no handler: the record must still
    // hold what the control shows.
    LaunchOptions.*option.field = shown;
  }
  ShowWhatTheEngineTakes(window, folder);
  window.ShowWindow();
  Tell(window, fellBack);
  return true;
}

namespace {

// The user's own file is named by the stage list's entry 0 when selected.
bool UserFileSelected(const StageList& stages) {
  const std::string extension = text::Right(text::ToLower(stages.Text()), 4);
  return extension == ".map" || extension == ".grp";
}

// What a launch would start now, from a game folder already looked at.
launch::PlanInputs PlanInputsNow(const StageList& stages, launch::GameFolder folder,
                                 GameEngine engine) {
  launch::PlanInputs in;
  in.folder = std::move(folder);
  in.engine = engine;
  in.options = LaunchOptions;
  in.stage = stages.Text();
  if (UserFileSelected(stages)) {
    in.chosenFile = stages.ChosenFile().path;
    in.chosenIdentity = stages.ChosenFile().identity;
  }
  in.dosPath = UserFilePath;
  return in;
}

// The plan for what the game folder holds now: it is looked at once.
// With the chosen preset's files, as a launch would hand them on.
launch::Plan PlanNow(const MainFormPort& window) {
  launch::GameFolder folder = launch::LookAtGameFolder();
  const GameEngine engine = launch::EngineToRun(folder, window.session.engine);
  launch::PlanInputs inputs = PlanInputsNow(window.stages, std::move(folder), engine);
  if (const auto preset = ChosenPreset(window)) {
    if (auto refused = presets::AddPresetTo(*preset, inputs, nullptr, false)) {
      launch::Plan plan;
      plan.refused = refused->text;
      return plan;
    }
  }
  return launch::MakePlan(inputs);
}

// Why the user's file is not the one chosen any more, named as the user
// chose it.
std::optional<Message> ChosenFileGone(const StageList& stages) {
  if (stages.ChosenFile().identity.empty()) return std::nullopt;
  const platform::DosFile now = platform::LocateFile(stages.ChosenFile().path);
  if (now.identity == stages.ChosenFile().identity) return std::nullopt;
  platform::dosview::FileTrouble trouble;
  trouble.fileName = stages.ChosenFile().path.Name();
  trouble.kind = now.kind == platform::FileKind::kMissing ? platform::dosview::Trouble::kMissing
                                                          : platform::dosview::Trouble::kReplaced;
  return NoDice(launch::Describe(trouble));
}

// The chosen file as the DOS game reaches it: by a short path, which a file
// taken while a port was the engine may not have. The rest (a device's
// name, an alias that changed hands) the start itself checks.
std::optional<Message> TakeFileForTheDosGame(const StageList& stages) {
  const platform::HostPath& chosen = stages.ChosenFile().path;
  if (chosen.empty() || !UserFilePath.empty()) return std::nullopt;
  if (auto gone = ChosenFileGone(stages)) return gone;
  const platform::DosShortPath shortPath{text::ToLower(GetShortPath(chosen.text))};
  auto trouble = platform::dosview::CheckChosenFile(chosen, shortPath);
  if (trouble.kind == platform::dosview::Trouble::kNone && shortPath.empty()) {
    trouble.kind = platform::dosview::Trouble::kNoDosPath;
  }
  if (trouble.kind != platform::dosview::Trouble::kNone) return NoDice(launch::Describe(trouble));
  UserFilePath = shortPath.text;
  return std::nullopt;
}

// A port plays on its own: Kestrum only looks, a moment after the start,
// whether it is still there, and never holds its own window back for that.
void StartPort(MainFormPort& window, const launch::PlanInputs& inputs, launch::Plan plan) {
  if (!plan.refused.empty()) return window.ShowMessage(NoDice(plan.refused));
  launch::PreparedRun run;
  if (plan.NeedsRun()) {
    if (!plan.run.file.empty()) {
      if (auto gone = ChosenFileGone(window.stages)) return window.ShowMessage(*gone);
    }
    run = launch::PrepareRun(plan);
    if (!run.error.empty()) return window.ShowMessage(NoDice(run.error));
    plan = launch::MakePlan(inputs, &run.folder);
    if (!plan.refused.empty()) {
      if (run.release) run.release();
      return window.ShowMessage(NoDice(plan.refused));
    }
  }
  GameCommandLine = plan.shown;
  window.Minimize();
  const launch::Started started = launch::StartGameProgram(plan, run.release);
  if (started.taskId == 0) {
    window.Restore(false);
    return window.ShowMessage(NoDice(started.error));
  }
  if (run.started) run.started(started.taskId);
  window.session.task = started.taskId;
  window.session.waitingForReturn = true;
  const std::int64_t task = started.taskId;
  const std::string endedAtOnce = launch::EndedAtOnce(plan.words);
  window.After(launch::kEndedAtOnceMs, [&window, task, endedAtOnce] {
    if (platform::system::TaskRuns(task)) return;
    // Nothing runs, so there is nothing to come back from.
    if (window.session.task == task) {
      window.session.task = 0;
      window.session.waitingForReturn = false;
    }
    window.Restore(false);
    window.ShowMessage(NoDice(endedAtOnce));
  });
}

}  // namespace

namespace {

// A launch of the stage, or of a saved game (as the engine loads it) in
// its place.
void Launch(MainFormPort& window, const launch::SavedGame* saved) {
  launch::EnterProgramDirectory();
  launch::GameFolder folder = launch::LookAtGameFolder();
  const GameEngine engine = launch::EngineToRun(folder, window.session.engine);
  if (!folder.Any()) {
    window.ShowMessage(NoDice("Duke3D is not in required directory"));
    return;
  }
  if (window.session.shownEngine && *window.session.shownEngine != engine) {
    // Another program would play than the one the window names, with
    // choices the window did not offer: nothing starts, and the window
    // now shows what would.
    const std::string gone = launch::RowOf(*window.session.shownEngine).menuText;
    window.session.engine = engine;
    ShowWhatTheEngineTakes(window, folder);
    window.ShowMessage(NoDice(gone + ", the game program this window plays with, is not in " +
                              platform::ProgramFolder() + " any more, so nothing was started. " +
                              launch::RowOf(engine).menuText +
                              " is there: the window now shows what it takes. Click the start "
                              "button again to play with it."));
    return;
  }
  if (saved != nullptr) {
    // The save is still the one listed.
    if (platform::LocateFile(platform::HostPath{saved->path}).identity != saved->identity) {
      return window.ShowMessage(
          NoDice("\"" + saved->path.substr(platform::LastSeparator(saved->path) + 1) +
                 "\" is no longer the saved game listed: it was moved, "
                 "deleted or replaced since. Choose it again."));
    }
  } else if (UserFileSelected(window.stages) && !launch::RowOf(engine).userFileStaged) {
    // A file taken while a port was the engine needs no DOS name; the DOS
    // game does, and it is looked for now.
    if (auto refused = TakeFileForTheDosGame(window.stages)) return window.ShowMessage(*refused);
  }
  launch::PlanInputs inputs = PlanInputsNow(window.stages, std::move(folder), engine);
  if (saved != nullptr) inputs.savedGame = saved->load;
  // A preset's files go with the stage, each the one that was added.
  std::vector<platform::ChosenFile> chosen;
  KeepChoicesInPreset(window);
  if (const auto preset = ChosenPreset(window)) {
    if (auto refused = presets::AddPresetTo(*preset, inputs, &chosen))
      return window.ShowMessage(*refused);
  }
  const launch::Plan plan = launch::MakePlan(inputs);
  if (plan.start == launch::StartedBy::kDirectly) return StartPort(window, inputs, plan);
  GameCommandLine = plan.shown;
  if (!plan.refused.empty()) return window.ShowMessage(NoDice(plan.refused));
  window.Minimize();
  if (!window.stages.ChosenFile().identity.empty()) {
    chosen.push_back(
        {UserFilePath, window.stages.ChosenFile().identity, window.stages.ChosenFile().path});
  }
  const launch::Started started = launch::StartMaximised(plan.words, chosen);
  if (started.taskId == 0) {
    // Nothing runs, so there is nothing to come back from: the window
    // returns at once and says what is missing.
    window.Restore(false);
    window.ShowMessage(NoDice(started.error));
    return;
  }
  window.session.task = started.taskId;
  window.session.waitingForReturn = true;
}

}  // namespace

void LaunchGame(MainFormPort& window) {
  Launch(window, nullptr);
}

void ContinueGame(MainFormPort& window) {
  const launch::GameFolder folder = launch::LookAtGameFolder();
  const GameEngine engine = launch::EngineToRun(folder, window.session.engine);
  if (const std::string why = launch::WhyNoContinue(engine); !why.empty()) {
    return window.ShowMessage(NoDice(why));
  }
  const auto games = launch::SavedGames(folder, engine);
  const launch::SavedGame* newest = launch::NewestLoadable(games);
  if (newest == nullptr) {
    return window.ShowMessage(NoDice("There is no saved game " +
                                     std::string(launch::RowOf(engine).menuText) + " can load."));
  }
  Launch(window, newest);
}

void ShowSavedGames(MainFormPort& window) {
  const launch::GameFolder folder = launch::LookAtGameFolder();
  const GameEngine engine = launch::EngineToRun(folder, window.session.engine);
  const auto games = launch::SavedGames(folder, engine);
  const std::string menuText = launch::RowOf(engine).menuText;
  if (games.empty()) {
    const launch::FoundEngine* found = folder.Find(engine);
    const auto where =
        found != nullptr ? launch::SaveFolders(*found, folder) : std::vector<std::string>{};
    return window.ShowMessage(
        NoDice("There are no saved games of " + menuText +
               (where.empty() ? std::string(".") : " in " + where.front() + ".")));
  }
  std::vector<std::string> stages;
  for (int i = 0; i < window.stages.ListCount(); ++i) stages.push_back(window.stages.List(i));
  const long long now = static_cast<long long>(std::time(nullptr));
  std::vector<std::string> entries;
  std::vector<std::string> greyed;
  for (const auto& game : games) {
    // Greyed alone would not say why; the reason is part of the row.
    entries.push_back(launch::Describe(game, stages, now, false) +
                      (game.whyNot.empty() ? std::string() : " \u2014 " + game.whyNot));
    greyed.push_back(game.whyNot);
  }
  const int picked = window.ChooseFromList(
      "Saved Games", "The saved games of " + menuText + ", newest first:", entries, greyed);
  if (picked < 0) return;
  const launch::SavedGame& game = games[static_cast<std::size_t>(picked)];
  if (const std::string why = launch::WhyNoContinue(engine); !why.empty()) {
    return window.ShowMessage(NoDice(why));
  }
  Launch(window, &game);
}

void ShowCommandLine(MainFormPort& window) {
  window.TakeFocus();
  const launch::Plan plan = PlanNow(window);
  if (plan.shown.empty() && !plan.refused.empty()) return window.ShowMessage(NoDice(plan.refused));
  GameCommandLine = plan.shown;
  window.ShowMessage(Message{GameCommandLine, kCommandLine, Message::kInformation});
}

void OpenDocument(const MainFormPort& window, const std::string& target) {
  if (window.session.openDocument) return window.session.openDocument(target);
  ShellOpen(target);
}

void OpenUserFile(MainFormPort& window) {
  window.TakeFocus();
  const std::string folder = window.session.lastOpenFolder.empty() ? platform::ProgramFolder()
                                                                   : window.session.lastOpenFolder;
  const std::string chosen = window.ChooseFile(OpenDialog(), folder);
  if (chosen.empty()) return;
  const auto slash = platform::LastSeparator(chosen);
  if (slash != std::string::npos) {
    window.session.lastOpenFolder = chosen.substr(0, slash == 0 ? 1 : slash);
  }
  Tell(window, TakeChosenFile(chosen, window, EngineNow(window)));
  ShowWhatTheEngineTakes(window);
}

void OpenCompanionText(MainFormPort& window) {
  window.TakeFocus();
  OpenDocument(window, CompanionTextPath(window.stages));
}

void DropFiles(MainFormPort& window, const std::vector<std::string>& hostPaths) {
  Tell(window, TakeDroppedFiles(hostPaths, window, EngineNow(window)));
  ShowWhatTheEngineTakes(window);
}

void RunCompanionTool(MainFormPort& window, CompanionToolId id) {
  const CompanionTool& tool = FindCompanionTool(id);
  if (tool.focusMainWindowFirst) window.TakeFocus();
  const ToolStart result = StartCompanionTool(tool, window.stages);
  if (result.outcome != ToolStart::Outcome::Started) {
    window.ShowMessage(NoDice(result.message));
    return;
  }
  window.session.task = result.taskId;
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

void StageSelected(MainFormPort& window, int index) {
  window.stages.SetListIndex(index);
  ShowWhatTheEngineTakes(window);
}

void StagesKeyTyped(MainFormPort& window, int keyAscii) {
  StagesKeyPress(window.stages, keyAscii);
  if (keyAscii == 8) ShowWhatTheEngineTakes(window);
}

void CameBack(MainFormPort& window, bool holdsTheFocus) {
  bool inFront = false;
  if (holdsTheFocus) {
    const std::int64_t task = std::exchange(window.session.task, 0);
    inFront = task != 0 && platform::ActivateTaskWindow(task);
  }
  if (!window.session.waitingForReturn) return;
  window.session.waitingForReturn = false;
  window.Restore(inFront);
}

bool WaitingForReturn(const MainFormPort& window) {
  return window.session.waitingForReturn;
}
bool TaskToBringForward(const MainFormPort& window) {
  return window.session.task != 0;
}

}  // namespace mainform

void PopupMenuItemChosen(PopupCommand command) {
  for (const PopupMenuItem& item : PopupMenu()) {
    if (item.command == command) return PopupMenuItemChosen(item);
  }
}

void PopupMenuItemChosen(const PopupMenuItem& item) {
  MainFormPort* window = mainform::Window();
  const PopupCommand command = item.command;
  if (command == PopupCommand::kDukeHelp || command == PopupCommand::kSetup) {
    const auto tool =
        command == PopupCommand::kSetup ? CompanionToolId::kSetup : CompanionToolId::kDukeHelp;
    if (window != nullptr) mainform::RunCompanionTool(*window, tool);
  } else if (command == PopupCommand::kEngine) {
    if (window != nullptr) {
      window->session.engine = item.engine;
      mainform::ShowWhatTheEngineTakes(*window);
    }
  } else if (command == PopupCommand::kContinue) {
    if (window != nullptr) mainform::ContinueGame(*window);
  } else if (command == PopupCommand::kSavedGames) {
    if (window != nullptr) mainform::ShowSavedGames(*window);
  } else if (command == PopupCommand::kPreset) {
    if (window != nullptr) mainform::ChoosePreset(*window, item.slot);
  } else if (command == PopupCommand::kSavePreset) {
    if (window != nullptr) mainform::SaveChoicesAsPreset(*window);
  } else if (command == PopupCommand::kEditPresets) {
    if (window != nullptr) mainform::EditPresets(*window);
  } else if (command == PopupCommand::kEMail) {
    if (window != nullptr) mainform::OpenDocument(*window, std::string("mailto:") + kAuthorEMail);
  } else if (command == PopupCommand::kHomepage) {
    if (window != nullptr) mainform::OpenDocument(*window, kAuthorHomePage);
  } else if (command == PopupCommand::kAbout) {
    // The same modal window as the toolbar's, without taking the focus first.
    if (window != nullptr) window->ShowAbout();
  } else if (command == PopupCommand::kExit) {
    ExitProgram();
  }
}

std::vector<bool> PopupItemsShown() {
  const MainFormPort* window = mainform::Window();
  const bool offered = window != nullptr && window->session.engineChoiceOffered;
  // The folder is looked at once for the whole menu: each engine it holds,
  // and the separator with them.
  const launch::GameFolder folder = offered ? launch::LookAtGameFolder() : launch::GameFolder{};
  const int presets = static_cast<int>(presets::PresetNames().size());
  std::vector<bool> shown;
  for (const PopupMenuItem& item : PopupMenu()) {
    if (item.command == PopupCommand::kPreset && item.slot >= presets) {
      shown.push_back(false);
      continue;
    }
    shown.push_back(!item.withEngines || (offered && (item.command != PopupCommand::kEngine ||
                                                      folder.Has(item.engine))));
  }
  return shown;
}

bool PopupItemChecked(const PopupMenuItem& item) {
  const MainFormPort* window = mainform::Window();
  if (window == nullptr) return false;
  if (item.command == PopupCommand::kPreset) {
    if (item.slot < 0) return window->session.preset.empty();
    const auto names = presets::PresetNames();
    return item.slot < static_cast<int>(names.size()) &&
           names[static_cast<std::size_t>(item.slot)] == window->session.preset;
  }
  return item.command == PopupCommand::kEngine && window->session.engine == item.engine;
}

PopupItemState PopupItemNow(const PopupMenuItem& item) {
  PopupItemState state{item.caption, true, {}};
  const MainFormPort* window = mainform::Window();
  if (window == nullptr) return state;
  if (item.command == PopupCommand::kPreset && item.slot >= 0) {
    const auto names = presets::PresetNames();
    if (item.slot < static_cast<int>(names.size())) {
      state.caption = names[static_cast<std::size_t>(item.slot)];
    }
    return state;
  }
  if (item.command == PopupCommand::kEngine) {
    // A preset the engine cannot take keeps it from being chosen.
    if (const auto preset = mainform::ChosenPreset(*window)) {
      state.toolTip = presets::WhyEngineCannotTake(*preset, item.engine);
      state.enabled = state.toolTip.empty();
    }
    return state;
  }
  if (item.command != PopupCommand::kContinue) return state;
  // The folder is looked at once, the engine's saves listed once.
  const launch::GameFolder folder = launch::LookAtGameFolder();
  const GameEngine engine = launch::EngineToRun(folder, window->session.engine);
  state.toolTip = launch::WhyNoContinue(engine);
  if (!state.toolTip.empty() || !folder.Any()) {
    state.enabled = false;
    return state;
  }
  const auto games = launch::SavedGames(folder, engine);
  const launch::SavedGame* newest = launch::NewestLoadable(games);
  if (newest == nullptr) {
    state.enabled = false;
    state.toolTip =
        "There is no saved game " + std::string(launch::RowOf(engine).menuText) + " can load.";
    return state;
  }
  state.caption +=
      ": " + launch::Describe(*newest, {}, static_cast<long long>(std::time(nullptr)), true);
  return state;
}
