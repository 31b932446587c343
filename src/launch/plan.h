// What a launch will do, made once from the game folder, the engine, the
// options, the stage and the user's file: the program and its words, the
// folder it starts in, what the run's own folder holds and what a sandbox
// may read. The window shows a plan (Alt+D) or starts it; nothing else adds
// a word.
#pragma once

#include <string>
#include <vector>

#include "base/launch_options.h"
#include "launch/command_line.h"
#include "launch/engine.h"
#include "winapi/dos_paths.h"

namespace launch {

struct PlanInputs {
  GameFolder folder;  // looked at once
  GameEngine engine = GameEngine::kDos;
  LaunchOptionsRecord options{};
  std::string stage;              // as the stage list shows it: a level, or the user's file
  platform::HostPath chosenFile;  // the user's file, where the stage is it
  std::string chosenIdentity;
  std::string dosPath;  // the DOS game's short path of it
  // A saved game that starts instead of the stage: its slot ("3"), or the
  // name the engine loads it by.
  std::string savedGame;
  // A preset's mod: its ticked files in the order they load, and the
  // preset's own folder for the engine's settings and saves (empty: none).
  std::vector<ModFileWords> mod;
  std::string ownFolder;
};

struct Plan {
  GameEngine engine = GameEngine::kDos;
  StartedBy start = StartedBy::kCommandInterpreter;
  // The program and its arguments; for the DOS game, its line's words as
  // command.com cuts them.
  std::vector<std::string> words;
  std::string shown;          // the line as the user reads it
  std::string workingFolder;  // a host folder
  // What the run's own folder holds: the user's file by name, and a link
  // to the game's folder.
  struct Run {
    std::string file;  // the user's file (a host path), put there as name
    std::string identity;
    std::string name;
    bool gameLink = false;
  } run;
  std::vector<std::string> granted;  // what a sandboxed program may read
  std::string refused;               // why it cannot start as it stands

  bool NeedsRun() const { return !run.file.empty() || run.gameLink; }
};

// The run's folder once made: the folder, and the one that holds the file.
struct RunFolder {
  std::string folder;
  std::string fileFolder;
};

// The plan; before its run's folder is made, that folder is shown as
// kStagedFolderShown.
inline constexpr const char* kStagedFolderShown = "(a folder of this run)";
Plan MakePlan(const PlanInputs& inputs, const RunFolder* run = nullptr);

}  // namespace launch
