#include "dosbox/dosbox_program.h"

#include "os/posix/path_search.h"

namespace platform::system {

std::string FindDosBox() {
  return posix::FindOnPath("dosbox");
}

std::string HowToInstallDosBox() {
  return " (on Debian or Ubuntu: sudo apt install dosbox)";
}

}  // namespace platform::system
