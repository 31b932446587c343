// The window position and six launch options, kept from one run to the next.
#pragma once

#include "base/launch_options.h"

class MainWindowPort;

void LoadSettings(MainWindowPort& window);
// The game program the user chose, as stored ("dos" where none is).
GameEngine LoadEngineChoice();
// False when some value could not be stored.
bool SaveSettings(const MainWindowPort& window);
