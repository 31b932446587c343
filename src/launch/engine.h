// The programs the game is played with, as rows of one table: what marks
// each in a game folder, the program that runs it, how it is started, how
// the user's choices are said to it, and what else differs. The builder,
// the window, the menu and the saved choice read the rows; a new engine is
// a new row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/launch_options.h"
#include "launch/command_line.h"

namespace launch {

// How an engine's program is started.
enum class StartedBy {
  kCommandInterpreter,  // its line, through command.com (or DOSBox where there is none)
  kDirectly,            // its argument vector, no shell and no DOSBox
};

struct EngineRow {
  GameEngine id;
  const char* savedAs;   // the settings' "Engine" value
  const char* menuText;  // its item in the popup menu's "Others"
  const char* mark;      // the file in the game folder that marks it (any case)
  // Its program, looked for in the game folder (a program this system can
  // run), else on PATH; empty where the mark itself is the program.
  const char* program;
  // Its Flatpak app, where one is installed (its exported wrapper) and no
  // program is found: started by "flatpak run", granted only the folders
  // the run needs. Empty where there is none.
  const char* flatpakId;
  StartedBy start;
  // Where the game folder holds no Duke3d.cfg, the edition is told by the
  // size of DUKE3D.GRP.
  bool editionFromGroup;
  // The user's file reaches it through a folder of the run's own, by any
  // name; else by its DOS short path, which must then exist.
  bool userFileStaged;
  // Its own folder below the home (its settings, its saves), where it looks
  // for a file first, before any folder it is told of; empty for none.
  const char* ownFolder;
  // It picks the game by the end of its group's path among every game it
  // finds (its own folders' first): it is started in the run's folder and
  // told the game's group through the run's link to the game folder, a name
  // no other group's path ends with, where this system links folders.
  bool gameThroughRun;
  CommandDialect (*dialect)(const std::vector<std::string>& program, const std::string& mainGroup);
};
// In the order they are offered; the first is where a folder holds several
// and the user chose none.
const std::vector<EngineRow>& Engines();
const EngineRow& RowOf(GameEngine engine);
// The row saved under that name; null for none.
const EngineRow* RowSavedAs(const std::string& name);

struct FoundEngine {
  GameEngine engine;
  std::string program;    // as the system starts it; empty for the DOS game
  std::string flatpakId;  // set: started as that Flatpak app, program is flatpak
};
// The words that start a found engine's program: the program itself, or
// "flatpak run" with read access for this run to exactly those folders; or,
// where the sandbox cannot be let into one of them exactly, why not.
struct ProgramStart {
  std::vector<std::string> words;
  std::string whyNot;
};
ProgramStart ProgramWords(const FoundEngine& found, const std::vector<std::string>& grantedFolders,
                          const std::vector<std::string>& writableFolders = {});
// The folders where a found engine would find a file by its name before
// the folder of the run it is told of: the game folder, and its own.
std::vector<std::string> LooksFirstIn(const FoundEngine& found);
struct GameFolder {
  std::vector<FoundEngine> engines;  // in the table's order
  std::uint64_t groupSize = 0;       // DUKE3D.GRP's size in bytes
  bool Any() const { return !engines.empty(); }
  bool Has(GameEngine engine) const;
  const FoundEngine* Find(GameEngine engine) const;
  std::string mainGroup;  // DUKE3D.GRP as found (a host path); empty without one
};
// What the program directory holds.
GameFolder LookAtGameFolder();
// The same for any folder (a host path).
GameFolder LookAtFolder(const std::string& hostFolder);

// The one a launch starts: the user's choice where the folder has it, else
// the first found. The first row also where there is none (the launch then
// says so).
GameEngine EngineToRun(const GameFolder& folder, GameEngine chosen);

// The edition a DUKE3D.GRP of that size is (as SetupVersion names it), or
// empty for a size no release had.
std::string EditionOfGroupSize(std::uint64_t size);

}  // namespace launch
