// The window position and six launch options, kept from one run to the next.
#pragma once

class MainWindowPort;

void LoadSettings(MainWindowPort& window);
void SaveSettings(const MainWindowPort& window);
