// The game's configuration file: which edition is installed.
#pragma once

#include <cstdint>
#include <string>

#include "launch/engine.h"

class MainWindowPort;

// The setup version read from Duke3d.cfg at start-up; empty when missing.
extern std::string SetupVersion;

// One key of one section of an INI file. With textAllowed 0 a value that does
// not read as a number comes back as "0".
std::string ReadINIValue(const std::string& section, const std::string& key,
                         std::int16_t textAllowed, const std::string& fileName);

// Reads the setup version, shows it in the caption and, for 1.4 and 1.5,
// offers episode 4 and the artificial-intelligence option.
// Where there is no setup file, the folder's DUKE3D.GRP tells the edition
// for an engine that reads it (as the folder was looked at).
void CheckDukeVersion(MainWindowPort& window, const launch::GameFolder& folder,
                      GameEngine engine);
// The same for the program directory as it is now and the DOS game.
void CheckDukeVersion(MainWindowPort& window);
