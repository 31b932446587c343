// The saved games of the engine that would play: found where that engine
// keeps them (native or Flatpak, on Linux and Windows), read by the readers
// of saves/, newest first, each with whether this engine can load it and,
// where it cannot, why.
#pragma once

#include <string>
#include <vector>

#include "launch/engine.h"
#include "saves/saves.h"

namespace launch {

struct SavedGame {
  std::string path;  // a host path
  saves::SaveInfo info;
  long long modified = 0;  // when it was written, in seconds since 1970
  // How the engine is told to load it at start: its slot ("3"), or the name
  // it loads it by; empty where it cannot be told.
  std::string load;
  std::string whyNot;    // why this engine cannot load it; empty when it can
  std::string identity;  // which file it was when listed
};

// The most save files looked at in a folder, and read.
inline constexpr std::size_t kMostEntries = 10000;
inline constexpr std::size_t kMostSaves = 200;

// Where found engine keeps its saves (host folders, the first that has any
// being its own).
std::vector<std::string> SaveFolders(const FoundEngine& found, const GameFolder& folder);
std::vector<SavedGame> SavedGames(const GameFolder& folder, GameEngine engine);
// The newest one the engine can load and be told to; null for none.
const SavedGame* NewestLoadable(const std::vector<SavedGame>& games);
// Why the engine cannot be told to load a save at start (EDuke32 today),
// with how to load one in its own menu; empty where it can.
std::string WhyNoContinue(GameEngine engine);

// How a save reads in a list: the level (its name from the stage list's
// entries, where known), the skill, its name and how long ago it was
// written; brief: the level's number, the skill and when ("2-05 Come Get
// Some, 3 hours ago").
std::string Describe(const SavedGame& game, const std::vector<std::string>& stages, long long now,
                     bool brief);

}  // namespace launch
