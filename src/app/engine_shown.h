// What the window shows of the engine that would play: the option controls
// it cannot take greyed with why, and the caption naming it (and the preset).
// The window's sequences and the presets' both call it; it calls neither.
#pragma once

#include "app/main_form_port.h"
#include "launch/engine.h"

namespace mainform {

// After start-up, a change of engine, of stage and of preset.
void ShowWhatTheEngineTakes(MainFormPort& window);
// The same, with the game folder already looked at.
void ShowWhatTheEngineTakes(MainFormPort& window, const launch::GameFolder& folder);

}  // namespace mainform
