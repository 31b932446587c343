// Where DOSBox is.
#pragma once

#include <string>

namespace platform {

namespace system {

// DOSBox, wherever this system's users keep it: its program, or flatpak
// with the DOSBox app it runs; an empty program when it is nowhere.
struct DosBox {
  std::string program;
  std::string flatpakId;
};
DosBox FindDosBox();

}  // namespace system

}  // namespace platform
