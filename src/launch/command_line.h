// The game's command line for the current choices.
#pragma once

#include <string>

#include "base/launch_options.h"

// The text of the last line built; empty until the first build. The caller
// of BuildCommandLine keeps it here.
extern std::string GameCommandLine;

// The line for those options, the stage as the stage list shows it, and the
// short path of the user's own file (used when the stage is that file).
std::string BuildCommandLine(const LaunchOptionsRecord& options, const std::string& stage,
                             const std::string& userFilePath);
