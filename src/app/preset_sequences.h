// The window's sequences for presets: choosing one (the window then shows
// and keeps its choices), saving the window's choices as one, the editor,
// and a preset's launch, with the window or without it ("--preset NAME").
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/main_form_port.h"
#include "dosbox/runner.h"
#include "launch/engine.h"
#include "launch/plan.h"
#include "settings/presets.h"

namespace mainform {

// The most presets the popup menu names; the editor lists every one.
inline constexpr int kMostPresetsInMenu = 20;

// The engine a preset plays with among those the folder holds: its own,
// else the first that takes every ticked file; why none can, where none.
std::optional<GameEngine> PresetEngine(const presets::Preset& preset,
                                       const launch::GameFolder& folder, std::string& whyNot);
// Why that engine cannot take the preset's files (the first it cannot,
// named, with the reason); empty when it takes them all.
std::string WhyEngineCannotTake(const presets::Preset& preset, GameEngine engine);
// The preset's files, its folder and (where the DOS game plays) their short
// paths added to a launch's inputs; every file must still be the one that
// was added. The DOS game's files are added to dosFiles for the start's
// own check.
// Shown only (Alt+D), the preset's folder is not made.
std::optional<Message> AddPresetTo(const presets::Preset& preset, launch::PlanInputs& in,
                                   std::vector<platform::ChosenFile>* dosFiles,
                                   bool prepareFolder = true);
// Where a preset keeps the engine's settings and saves.
std::string PresetFolder(const presets::Preset& preset);

// The popup menu's "Presets": none (-1), or the one at that place of the
// store's list; the window shows its choices and engine.
void ChoosePreset(MainFormPort& window, int slot);
void SaveChoicesAsPreset(MainFormPort& window);
void EditPresets(MainFormPort& window);
// The window's choices go into the chosen preset (before a launch, another
// choice, the end); leaving, the window's own come back.
void KeepChoicesInPreset(MainFormPort& window);
void LeavePreset(MainFormPort& window);
// The chosen preset as stored now; none when none is chosen or it is gone.
std::optional<presets::Preset> ChosenPreset(const MainFormPort& window);

// "--preset NAME": the preset's game started from the game folder, without
// the window; the message when nothing started.
std::optional<Message> StartPresetAlone(const std::string& name);

}  // namespace mainform
