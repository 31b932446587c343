#include "app/preset_sequences.h"

#include <cstdio>

#include "app/engine_shown.h"
#include "presets/preset_plan.h"
#include "dosbox/dos_view.h"
#include "dosbox/runner.h"
#include "launch/command_line.h"
#include "launch/launcher.h"
#include "launch/messages.h"
#include "launch/shell_paths.h"
#include "levels/levels.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "os/folders.h"
#include "os/game_folder.h"
#include "text/text.h"
#include "winapi/dos_paths.h"

namespace mainform {

namespace {

std::string NameOf(const std::string& path) {
  return path.substr(platform::LastSeparator(path) + 1);
}

void ShowOptions(MainFormPort& window, const LaunchOptionsRecord& options) {
  LaunchOptions = options;
  for (const auto& option : mainwindow::OptionFields()) {
    const mainwindow::Control* control = mainwindow::ControlOf(option.option);
    if (*option.savedAs == '\0' || control == nullptr) continue;
    window.ShowOption(*control, LaunchOptions.*option.field);
    LaunchOptions.*option.field = options.*option.field;
  }
}

// The stage an entry names, where the list holds it.
void SelectStage(StageList& stages, const std::string& stage) {
  for (int i = 0; i < stages.ListCount(); ++i) {
    if (stages.List(i) == stage) return stages.SetListIndex(i);
  }
}

std::vector<presets::Preset> Presets(MainFormPort* tellDamage) {
  presets::Stored stored = presets::LoadPresets();
  if (tellDamage != nullptr) {
    for (const auto& why : stored.damaged) tellDamage->ShowMessage(NoDice(why));
  }
  return std::move(stored.presets);
}

// A preset's choices shown in the window: options, stage, engine.
void ShowPreset(MainFormPort& window, const presets::Preset& preset) {
  ShowOptions(window, preset.options);
  const launch::GameFolder folder = launch::LookAtGameFolder();
  std::string why;
  if (const auto engine = presets::PresetEngine(preset, folder, why))
    window.session.engine = *engine;
  if (!preset.map.path.empty()) {
    // Its map only while it is the file that was chosen.
    if (platform::LocateFile(platform::HostPath{preset.map.path}).identity != preset.map.identity) {
      window.ShowMessage(NoDice("\"" + NameOf(preset.map.path) +
                                "\", the preset's map, is not the "
                                "file that was chosen: it was moved, deleted or replaced since. "
                                "Choose it again."));
    } else if (auto refused = TakeChosenFile(preset.map.path, window,
                                             launch::EngineToRun(folder, window.session.engine))) {
      window.ShowMessage(*refused);
    }
  } else if (!preset.stage.empty()) {
    SelectStage(window.stages, preset.stage);
  }
  ShowWhatTheEngineTakes(window);
}

// What the window shows, as a preset keeps it: the options, the stage (the
// user's map by the file it is), and the engine where the folder offers a
// choice.
void TakeWindowsChoices(const MainFormPort& window, presets::Preset& preset) {
  preset.options = LaunchOptions;
  const StageList& stages = window.stages;
  preset.stage = stages.Text();
  const std::string extension = text::Right(text::ToLower(preset.stage), 4);
  preset.map = {};
  if ((extension == ".map" || extension == ".grp") && !stages.ChosenFile().path.empty()) {
    preset.map = {stages.ChosenFile().path.text, stages.ChosenFile().identity, true};
  }
  if (window.session.engineChoiceOffered) {
    preset.engine = launch::RowOf(window.session.engine).savedAs;
  }
}

}  // namespace

std::optional<presets::Preset> ChosenPreset(const MainFormPort& window) {
  if (window.session.preset.empty()) return std::nullopt;
  return presets::FindPreset(window.session.preset);
}

void KeepChoicesInPreset(MainFormPort& window) {
  std::optional<presets::Preset> preset = ChosenPreset(window);
  if (!preset) return;
  presets::Preset now = *preset;
  TakeWindowsChoices(window, now);
  if (now == *preset) return;
  if (!presets::SavePreset(now)) {
    window.ShowMessage(NoDice("Kestrum could not store the preset \"" + now.name + "\"."));
  }
}

void LeavePreset(MainFormPort& window) {
  if (window.session.preset.empty()) return;
  KeepChoicesInPreset(window);
  window.session.preset.clear();
  ShowOptions(window, window.session.ownOptions);
  SelectStage(window.stages, window.session.ownStage);
  ShowWhatTheEngineTakes(window);
}

void ChoosePreset(MainFormPort& window, int slot) {
  if (slot < 0) return LeavePreset(window);
  // By the name the menu showed at that place.
  const std::vector<std::string> names = presets::PresetNames();
  if (slot >= static_cast<int>(names.size())) return;
  const std::optional<presets::Preset> found =
      presets::FindPreset(names[static_cast<std::size_t>(slot)]);
  if (!found) {
    return window.ShowMessage(NoDice("The preset \"" + names[static_cast<std::size_t>(slot)] +
                                     "\" cannot be read. The others are as they were."));
  }
  const presets::Preset& preset = *found;
  KeepChoicesInPreset(window);
  if (window.session.preset.empty()) {
    window.session.ownOptions = LaunchOptions;
    window.session.ownStage = window.stages.Text();
  }
  window.session.preset = preset.name;
  ShowPreset(window, preset);
}

namespace {

// A new preset of the window's choices; its name, or empty when none was
// made.
std::string NewPreset(MainFormPort& window, const std::string& title) {
  const std::string name =
      text::TrimBlanks(window.AskText(title, "A name for the preset:", std::string()));
  if (name.empty()) return {};
  if (const std::string why = presets::WhyNotAName(name, Presets(nullptr)); !why.empty()) {
    window.ShowMessage(NoDice(why));
    return {};
  }
  presets::Preset preset;
  preset.name = name;
  TakeWindowsChoices(window, preset);
  if (!presets::SavePreset(preset)) {
    window.ShowMessage(NoDice("Kestrum could not store the preset \"" + name + "\"."));
    return {};
  }
  return name;
}

// A file of the mod, as the editor lists it: ticked or not, and why the
// preset's engine cannot take it.
std::string FileRow(const presets::ModFile& file, const std::string& why) {
  return std::string(file.ticked ? "[x] " : "[ ] ") + NameOf(file.path) +
         (why.empty() ? std::string() : " \u2014 " + why);
}

// What an engine would read from the game's folder in place of the mod's
// own, each said as the editor says it.
std::vector<std::string> LooseFilesThatWin(const launch::EngineRow& engine) {
  std::vector<std::string> said;
  for (const std::string& name : engine.dialect({}, {}).looseOverMod) {
    const std::string there =
        platform::FindNormalFile(platform::InFolder(platform::ProgramFolder(), name));
    if (!there.empty()) {
      said.push_back(there + " in the game's folder is read by " + engine.menuText +
                     " in place of the mod's own.");
    }
  }
  return said;
}

void AddFile(MainFormPort& window, presets::Preset& preset, bool folder) {
  std::string chosen;
  if (folder) {
    chosen = window.ChooseFolder("Add a Folder", window.session.lastOpenFolder);
  } else {
    OpenDialogSettings settings;
    settings.title = "Add a File";
    settings.defaultExtension = "grp";
    settings.filters = {
        {"Mod files (*.grp;*.zip;*.pk3;*.con;*.def)", "*.grp;*.zip;*.pk3;*.con;*.def"},
        {"All files (*.*)", "*.*"}};
    chosen = window.ChooseFile(settings, window.session.lastOpenFolder);
  }
  if (chosen.empty()) return;
  const platform::HostPath path = platform::FromUser(chosen);
  const platform::DosFile file = platform::LocateFile(path);
  if (file.identity.empty()) {
    return window.ShowMessage(NoDice("\"" + NameOf(chosen) + "\" cannot be read."));
  }
  preset.files.push_back({path.text, file.identity, true});
}

// One file's own choices: tick, move, remove.
void EditFile(MainFormPort& window, presets::Preset& preset, std::size_t at) {
  presets::ModFile& file = preset.files[at];
  const int picked = window.ChooseFromList(
      "Edit Preset", NameOf(file.path) + ":",
      {file.ticked ? "Untick (the engine is not given it)" : "Tick (the engine is given it)",
       "Move up", "Move down", "Remove"},
      {"", at == 0 ? "It is the first." : "",
       at + 1 == preset.files.size() ? "It is the last." : "", ""});
  if (picked == 0) file.ticked = !file.ticked;
  if (picked == 1) std::swap(preset.files[at], preset.files[at - 1]);
  if (picked == 2) std::swap(preset.files[at], preset.files[at + 1]);
  if (picked == 3) preset.files.erase(preset.files.begin() + static_cast<std::ptrdiff_t>(at));
}

void ChooseEngine(MainFormPort& window, presets::Preset& preset) {
  const launch::GameFolder folder = launch::LookAtGameFolder();
  std::vector<std::string> entries{"Any found (the first that takes the files)"};
  std::vector<std::string> greyed{""};
  std::vector<const launch::EngineRow*> rows{nullptr};
  for (const launch::EngineRow& row : launch::Engines()) {
    entries.push_back(row.menuText);
    std::string why = presets::WhyEngineCannotTake(preset, row.id);
    if (why.empty() && !folder.Has(row.id)) why = "It is not in " + platform::ProgramFolder() + ".";
    greyed.push_back(why);
    rows.push_back(&row);
  }
  const int picked =
      window.ChooseFromList("Edit Preset", "The game program it plays with:", entries, greyed);
  if (picked < 0) return;
  preset.engine = rows[static_cast<std::size_t>(picked)] == nullptr
                      ? std::string()
                      : rows[static_cast<std::size_t>(picked)]->savedAs;
}

void ChooseMainGroup(MainFormPort& window, presets::Preset& preset) {
  const int picked = window.ChooseFromList(
      "Edit Preset", "Its main group:", {"The game's own", "An add-on's group file..."});
  if (picked == 0) preset.mainGroup = {};
  if (picked != 1) return;
  OpenDialogSettings settings;
  settings.title = "Main Group";
  settings.defaultExtension = "grp";
  settings.filters = {{"Group files (*.grp)", "*.grp"}};
  const std::string chosen = window.ChooseFile(settings, window.session.lastOpenFolder);
  if (chosen.empty()) return;
  const platform::HostPath path = platform::FromUser(chosen);
  const platform::DosFile file = platform::LocateFile(path);
  if (file.kind != platform::FileKind::kFile) {
    return window.ShowMessage(NoDice("\"" + NameOf(chosen) + "\" cannot be read."));
  }
  preset.mainGroup = {path.text, file.identity, true};
}

// A menu entry that starts the preset's game by itself.
void AddToMenu(MainFormPort& window, const std::string& name) {
  const platform::GameFolderHome home = platform::AddPresetToMenu(
      platform::ProgramFolder(), name, {name, "Play the preset \"" + name + "\" of Duke Nukem 3D"});
  if (home.problem == platform::GameFolderHome::Problem::kNone) {
    return window.ShowMessage(Message{"\"" + name +
                                          "\" is in the menu now: it starts the preset's "
                                          "game without Kestrum's window.",
                                      "Kestrum", Message::kInformation});
  }
  std::string why = home.reason;
  using Problem = platform::GameFolderHome::Problem;
  if (home.problem == Problem::kNoMenuFolder) why = "there is no folder for menu entries";
  if (home.problem == Problem::kNotUtf8 || home.problem == Problem::kUnnamable) {
    why = "a menu entry cannot hold that name";
  }
  if (home.problem == Problem::kEntryNotWritten) why = home.menuFolder + ": " + home.reason;
  window.ShowMessage(NoDice("Kestrum could not add \"" + name + "\" to the menu: " + why + "."));
}

// The editor of one preset, until the user is done with it.
void EditPreset(MainFormPort& window, std::string name) {
  for (;;) {
    std::optional<presets::Preset> found = presets::FindPreset(name);
    if (!found) return;
    presets::Preset preset = *found;
    const launch::EngineRow* engineRow = launch::RowSavedAs(preset.engine);
    std::vector<std::string> rows, greyed;
    const auto row = [&](std::string text, std::string why = {}) {
      rows.push_back(std::move(text));
      greyed.push_back(std::move(why));
    };
    row("Game program: " + std::string(engineRow != nullptr ? engineRow->menuText : "any found"));
    row("Main group: " + (preset.mainGroup.path.empty() ? std::string("the game's own")
                                                        : NameOf(preset.mainGroup.path)));
    const std::size_t firstFile = rows.size();
    const GameEngine engine = engineRow != nullptr ? engineRow->id : GameEngine::kDos;
    const CommandDialect dialect = launch::RowOf(engine).dialect({}, {});
    int seen[static_cast<int>(ModPart::kUnknown) + 1] = {};
    for (const auto& file : preset.files) {
      std::string why;
      if (file.ticked) {
        const ModPart part = ModPartOf(file.path, presets::IsFolder(file.path));
        why = WhyNotModFile(dialect, part, seen[static_cast<int>(part)]++);
        if (engineRow == nullptr) why.clear();  // any found: the one that takes it plays
      }
      row(FileRow(file, why));
    }
    const std::size_t actions = rows.size();
    for (const char* action : {"Add a file...", "Add a folder...", "Rename...", "Duplicate",
                               "Delete...", "Add to menu", "Done"}) {
      row(action);
    }
    // What the editor only says.
    if (engineRow != nullptr && !dialect.ownFolderNote.empty()) row(dialect.ownFolderNote, "-");
    for (const launch::EngineRow& each : launch::Engines()) {
      if (engineRow != nullptr && engineRow != &each) continue;
      for (const std::string& loose : LooseFilesThatWin(each)) row(loose, "-");
    }
    const int picked =
        window.ChooseFromList("Edit Preset", "The preset \"" + name + "\":", rows, greyed);
    if (picked < 0) return;
    const auto at = static_cast<std::size_t>(picked);
    if (at == 0) ChooseEngine(window, preset);
    if (at == 1) ChooseMainGroup(window, preset);
    if (at >= firstFile && at < actions) EditFile(window, preset, at - firstFile);
    const std::size_t action = at >= actions ? at - actions : 99;
    if (action == 0 || action == 1) AddFile(window, preset, action == 1);
    if (action == 2) {
      const std::string to =
          text::TrimBlanks(window.AskText("Rename Preset", "A new name for the preset:", name));
      if (to.empty() || to == name) continue;
      std::vector<presets::Preset> others;
      for (auto& p : Presets(nullptr)) {
        if (p.name != name) others.push_back(std::move(p));
      }
      if (const std::string why = presets::WhyNotAName(to, others); !why.empty()) {
        window.ShowMessage(NoDice(why));
      } else if (!presets::RenamePreset(name, to)) {
        window.ShowMessage(NoDice("Kestrum could not rename the preset \"" + name + "\"."));
      } else {
        if (window.session.preset == name) window.session.preset = to;
        name = to;
      }
      continue;
    }
    if (action == 3) {
      std::string copy = name + " (copy)";
      const auto all = Presets(nullptr);
      for (int n = 2; !presets::WhyNotAName(copy, all).empty() && n < 100; ++n) {
        copy = name + " (copy " + std::to_string(n) + ")";
      }
      preset.name = copy;
      if (!presets::SavePreset(preset)) {
        window.ShowMessage(NoDice("Kestrum could not store the preset \"" + copy + "\"."));
      }
      continue;
    }
    if (action == 4) {
      const int sure = window.ChooseFromList("Delete Preset",
                                             "Delete the preset \"" + name +
                                                 "\"? Its own folder, with its settings and saved "
                                                 "games, stays where it is.",
                                             {"Delete it", "Keep it"});
      if (sure != 0) continue;
      if (!presets::DeletePreset(name)) {
        window.ShowMessage(NoDice("Kestrum could not delete the preset \"" + name + "\"."));
        continue;
      }
      if (window.session.preset == name) {
        window.session.preset.clear();
        LeavePreset(window);
      }
      return;
    }
    if (action == 5) {
      AddToMenu(window, name);
      continue;
    }
    if (action == 6) return;
    if (!(preset == *found) && !presets::SavePreset(preset)) {
      window.ShowMessage(NoDice("Kestrum could not store the preset \"" + name + "\"."));
    }
    if (window.session.preset == name) ShowWhatTheEngineTakes(window);
  }
}

}  // namespace

void SaveChoicesAsPreset(MainFormPort& window) {
  KeepChoicesInPreset(window);
  const std::string name = NewPreset(window, "Save as Preset");
  if (name.empty()) return;
  if (window.session.preset.empty()) {
    window.session.ownOptions = LaunchOptions;
    window.session.ownStage = window.stages.Text();
  }
  window.session.preset = name;
  ShowWhatTheEngineTakes(window);
}

void EditPresets(MainFormPort& window) {
  KeepChoicesInPreset(window);
  bool first = true;
  for (;;) {
    const std::vector<presets::Preset> all = Presets(first ? &window : nullptr);
    first = false;
    std::vector<std::string> names;
    for (const auto& preset : all) names.push_back(preset.name);
    names.push_back("New preset...");
    const int picked =
        window.ChooseFromList("Edit Presets", "The presets; pick one to edit it:", names);
    if (picked < 0) return;
    std::string name = picked < static_cast<int>(all.size())
                           ? all[static_cast<std::size_t>(picked)].name
                           : NewPreset(window, "New Preset");
    if (!name.empty()) EditPreset(window, name);
  }
}

std::optional<Message> StartPresetAlone(const std::string& name) {
  const std::optional<presets::Preset> preset = presets::FindPreset(name);
  if (!preset) return NoDice("There is no preset called \"" + name + "\".");
  launch::EnterProgramDirectory();
  launch::GameFolder folder = launch::LookAtGameFolder();
  if (!folder.Any()) return NoDice("Duke3D is not in required directory");
  std::string why;
  const std::optional<GameEngine> engine = presets::PresetEngine(*preset, folder, why);
  if (!engine) return NoDice(why);
  StageList levels;
  AddDuke3Levels(levels);
  launch::PlanInputs in;
  in.folder = std::move(folder);
  in.engine = *engine;
  in.options = preset->options;
  in.stage = preset->stage.empty() ? levels.List(0) : preset->stage;
  const bool dos = launch::RowOf(*engine).start == launch::StartedBy::kCommandInterpreter;
  std::vector<platform::ChosenFile> dosFiles;
  if (!preset->map.path.empty()) {
    const platform::HostPath map{preset->map.path};
    in.chosenFile = map;
    in.chosenIdentity = platform::LocateFile(map).identity;
    if (in.chosenIdentity.empty() || in.chosenIdentity != preset->map.identity) {
      return NoDice("\"" + NameOf(map.text) +
                    "\", the preset's map, is not the file that was "
                    "chosen: it was moved, deleted or replaced since.");
    }
    in.stage = text::ToLower(map.Name());
    if (dos) {
      const platform::DosShortPath shortPath{text::ToLower(GetShortPath(map.text))};
      const auto trouble = platform::dosview::CheckChosenFile(map, shortPath);
      if (trouble.kind != platform::dosview::Trouble::kNone)
        return NoDice(launch::Describe(trouble));
      in.dosPath = shortPath.text;
      in.stage = ParsePath(shortPath.text, 0);
      dosFiles.push_back({shortPath.text, in.chosenIdentity, map});
    }
  }
  if (auto refused = presets::AddPresetTo(*preset, in, &dosFiles)) return refused;
  launch::Plan plan = launch::MakePlan(in);
  if (!plan.refused.empty()) return NoDice(plan.refused);
  if (dos) {
    const launch::Started started = launch::StartMaximised(plan.words, dosFiles);
    if (started.taskId == 0) return NoDice(started.error);
    return std::nullopt;
  }
  launch::PreparedRun run;
  if (plan.NeedsRun()) {
    run = launch::PrepareRun(plan);
    if (!run.error.empty()) return NoDice(run.error);
    plan = launch::MakePlan(in, &run.folder);
    if (!plan.refused.empty()) return NoDice(plan.refused);
  }
  // Kestrum ends at once: the run's folder stays while the game plays, and
  // a later Kestrum clears it away once the game has ended.
  const launch::Started started = launch::StartGameProgram(plan, {});
  if (started.taskId == 0) return NoDice(started.error);
  return std::nullopt;
}

}  // namespace mainform
