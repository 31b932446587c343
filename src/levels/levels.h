// The built-in levels of the game and the procedures that offer them.
#pragma once

#include <array>

#include "base/stage_list.h"

// Episodes 1 to 3, offered by every edition.
extern const std::array<const char*, 30> kDuke3DLevels;
// Episode 4, offered by the editions whose setup version is 1.4 or 1.5.
extern const std::array<const char*, 11> kAtomicLevels;

// Append their table to the stage list, then select entry 0.
void AddDuke3Levels(StageList& stages);
void AddDukeAtomic(StageList& stages);
