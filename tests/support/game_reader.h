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
  std::string map;                  // a user map, started at once
  std::string group;                // a group file loaded
  std::vector<std::string> groups;  // every group file named, in order (the DOS game's)
  std::string con;                  // the main script named (the DOS game's /x)
  int savedGame = -1;               // the slot of a saved game loaded at start

  bool operator==(const GameStart&) const = default;
};

// The command line as the game gets it, from its own name on ("Duke3D /s2
// ..."), or as Kestrum builds it ("command.com /c Duke3D ...").
GameStart ReadAsTheGame(const std::string& commandLine);

// The source ports are read by their own code: support/engine_oracles.h.

std::string Describe(const GameStart& start);

}  // namespace testsupport
