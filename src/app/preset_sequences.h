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
#include "presets/preset_plan.h"
#include "presets/presets.h"

namespace mainform {

// The most presets the popup menu names; the editor lists every one.
inline constexpr int kMostPresetsInMenu = 20;

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
