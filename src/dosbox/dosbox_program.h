// Where DOSBox is.
#pragma once

#include <string>

namespace platform {

namespace system {

// DOSBox, wherever this system's users keep it; empty when it is nowhere.
std::string FindDosBox();

}  // namespace system

}  // namespace platform
