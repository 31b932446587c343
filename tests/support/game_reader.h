// What the game makes of the words after its name, as DUKE3D.EXE 1.5 reads
// them: the state it starts in, to hold against what the user chose.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace testsupport {

enum class Respawn { kMonsters, kItems, kInventory };

struct GameStart {
  bool quits = false;          // an unknown switch: the game shows its help and ends
  bool startsLevel = false;    // a level at once; else the title screen and its menus
  int skill = 0;               // 1 Piece of Cake ... 4 Damn I'm Good; 0 none
  bool skillFromMenu = false;  // the menu asks again, whatever the line said
  int episode = 1;
  int level = 1;
  std::set<Respawn> respawn;
  bool monstersOff = false;
  bool sound = true;
  bool music = true;
  bool recordsDemo = false;
  int fakePlayers = 0;
  bool ai = false;
  std::string map;    // a user map, started at once
  std::string group;  // a group file loaded

  bool operator==(const GameStart&) const = default;
};

// The command line as the game gets it, from its own name on ("Duke3D /s2
// ..."), or as Kestrum builds it ("command.com /c Duke3D ...").
GameStart ReadAsTheGame(const std::string& commandLine);

// The argument vector as a source port of the EDuke32 family reads it on
// Linux, from its own name on: each argument whole. A user map is looked up
// as the port looks it up: its leading slashes cut off, in the folders of
// -j, then the game folder, then the port's settings folder
// (~/.config/eduke32, where it runs); map is the path of the file found,
// and a map not found leaves the game on its title screen. A group file is
// opened by its path.
GameStart ReadAsThePort(const std::vector<std::string>& argv, const std::string& gameFolder);

// The argument vector as JFDuke3D reads it, from its own name on: the DOS
// game's switches written with "-", an unknown letter only warned of, a
// user map by its path, and with fake players a user map not started at
// once.
GameStart ReadAsJFDuke3D(const std::vector<std::string>& argv);

// The argument vector as Raze reads it, from its own name on: whole-word
// options; "-file PATH" adds a map or group file, "-map NAME" starts a
// level by its label (E1L1) or a map of that name among the files added;
// -nosound, -nosfx, -nomusic. Nothing else of the game's choices.
GameStart ReadAsRaze(const std::vector<std::string>& argv);

std::string Describe(const GameStart& start);

}  // namespace testsupport
