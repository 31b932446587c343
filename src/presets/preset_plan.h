// What a preset makes of a launch: the engine that plays it, why an engine
// cannot take its files, its files and folder added to the plan's inputs.
// A preset only chooses a plan's inputs, never how the plan is made.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/message.h"
#include "dosbox/runner.h"
#include "launch/engine.h"
#include "launch/plan.h"
#include "presets/presets.h"

namespace presets {

// The engine a preset plays with among those the folder holds: its own,
// else the first that takes every ticked file; why none can, where none.
std::optional<GameEngine> PresetEngine(const Preset& preset, const launch::GameFolder& folder,
                                       std::string& whyNot);
// Why that engine cannot take the preset's files (the first it cannot,
// named, with the reason); empty when it takes them all.
std::string WhyEngineCannotTake(const Preset& preset, GameEngine engine);
// The preset's files, its folder and (where the DOS game plays) their short
// paths added to a launch's inputs; every file must still be the one that
// was added. The DOS game's files are added to dosFiles for the start's
// own check.
// Shown only (Alt+D), the preset's folder is not made.
std::optional<Message> AddPresetTo(const Preset& preset, launch::PlanInputs& in,
                                   std::vector<platform::ChosenFile>* dosFiles,
                                   bool prepareFolder = true);
// Where a preset keeps the engine's settings and saves.
std::string PresetFolder(const Preset& preset);
// Whether a preset's file is a folder of loose files.
bool IsFolder(const std::string& path);

}  // namespace presets
