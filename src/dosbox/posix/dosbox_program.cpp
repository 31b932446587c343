#include "dosbox/dosbox_program.h"

#include "os/posix/path_search.h"

namespace platform::system {

std::string FindDosBox() {
  return posix::FindOnPath("dosbox");
}

}  // namespace platform::system
