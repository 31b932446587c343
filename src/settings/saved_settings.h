// The window position and six launch options, kept from one run to the next.
#pragma once

class MainWindowPort;

void LoadSettings(MainWindowPort& window);
// False when some value could not be stored.
bool SaveSettings(const MainWindowPort& window);
