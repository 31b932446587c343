// Which game program a folder holds: the DOS game (Duke3D.exe, run through
// command.com or DOSBox), a source port of the EDuke32 family over the
// game's DUKE3D.GRP, or both; and which of them a launch starts.
#pragma once

#include <cstdint>
#include <string>

#include "base/launch_options.h"

namespace launch {

struct GameFolder {
  bool dosGame = false;         // Duke3D.exe
  bool port = false;            // DUKE3D.GRP, and an EDuke32 program
  std::string portProgram;      // that program, as the system starts it
  std::uint64_t groupSize = 0;  // DUKE3D.GRP's size in bytes
};
// What the program directory holds. The port is looked for in the folder
// (a program this system can run: "eduke32", or "eduke32.exe" on Windows),
// else on PATH.
GameFolder LookAtGameFolder();
// The same for any folder (a host path).
GameFolder LookAtFolder(const std::string& dosFolder);

// The one a launch starts: the only one there, or with both the user's
// choice. kDos also where there is neither (the launch then says so).
GameEngine EngineToRun(const GameFolder& folder, GameEngine chosen);

// The edition a DUKE3D.GRP of that size is (as SetupVersion names it), or
// empty for a size no release had.
std::string EditionOfGroupSize(std::uint64_t size);

}  // namespace launch
