// The window position and six launch options, kept from one run to the next.
#pragma once

#include <string>

#include "base/launch_options.h"

class MainWindowPort;

void LoadSettings(MainWindowPort& window);
// False when some value could not be stored.
bool SaveSettings(const MainWindowPort& window);
// The name of the game program the user chose, as stored ("Engine"); empty
// where none is. Saving it is false when it could not be stored.
std::string LoadEngineName();
bool SaveEngineName(const std::string& name);
