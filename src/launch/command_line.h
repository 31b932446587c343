// The game's command line for the current choices.
#pragma once

#include <string>

// The text of the last line built; empty until the first build.
extern std::string GameCommandLine;

// Builds the line from LaunchOptions, the selected stage and UserFilePath
// and leaves it in GameCommandLine.
void BuildCommandLine();
