#include "levels/levels.h"

#include "base/stage_list.h"

// Each entry: episode, "-", two-digit level, two blanks, name. The command
// line takes the episode and the level from those fixed places.
const std::array<const char*, 30> kDuke3DLevels = {
    "1-01  Hollywood Holocaust",
    "1-02  Red Light District",
    "1-03  Death Row",
    "1-04  Toxic Dump",
    "1-05  The Abyss",
    "1-06  Launch Facility",
    "1-07  Faces of Death",
    "1-08  Dukematch Level 1",
    "2-01  Moonbase",
    "2-02  Incubator",
    "2-03  Warp Factor",
    "2-04  Fusion Station",
    "2-05  Occupied Territory",
    "2-06  Tiberius Station",
    "2-07  Lunar Reactor",
    "2-08  Dark Side",
    "2-09  Overlord",
    "2-10  Spin Cycle",
    "2-11  Lunatic Fringe",
    "3-01  Raw Meat",
    "3-02  Bank Roll",
    "3-03  Flood Zone",
    "3-04  L.A.Rumble",
    "3-05  Movie Set",
    "3-06  Rabid Transit",
    "3-07  Fahrenheit",
    "3-08  Hotel Hell",
    "3-09  Stadium",
    "3-10  Tier Drops",
    "3-11  Freeway",
};

const std::array<const char*, 11> kAtomicLevels = {
    "4-01  It's Impossible", "4-02  Duke-Burger",  "4-03  Shop-N-Bag", "4-04  Babe Land",
    "4-05  Pigsty",          "4-06  Going Postal", "4-07  XXX-Stacy",  "4-08  Critical Mass",
    "4-09  Derelict",        "4-10  The Queen",    "4-11  Area 51",
};

void AddDuke3Levels(StageList& stages) {
  for (const char* level : kDuke3DLevels) stages.AddItem(level);
  stages.SetListIndex(0);
}

void AddDukeAtomic(StageList& stages) {
  for (const char* level : kAtomicLevels) stages.AddItem(level);
  stages.SetListIndex(0);
}
