// Finding a program the way a shell does.
#pragma once

#include <string>

namespace platform::posix {

// The first PATH folder's file of that exact name that is a regular file the
// user may run, as "<folder>/<name>" (an empty PATH entry is the current
// folder, "."); the empty text when there is none or the name holds a "/".
std::string FindOnPath(const std::string& name);

}  // namespace platform::posix
