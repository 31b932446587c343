// Where DOSBox is, and how to get it.
#pragma once

#include <string>

namespace platform {

namespace system {

// DOSBox, wherever this system's users keep it; empty when it is nowhere.
std::string FindDosBox();
// How to get DOSBox, as it follows "Install DOSBox".
std::string HowToInstallDosBox();

}  // namespace system

}  // namespace platform
