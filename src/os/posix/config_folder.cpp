#include "os/posix/config_folder.h"

#include <limits.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace platform::posix {

Start& Started() {
  static Start start;
  return start;
}

std::string ConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && *config == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "") + "/.config";
  }
  if (base[0] != '/') {
    std::string from = Started().currentFolder;
    if (from.empty()) {
      char cwd[PATH_MAX];
      from = ::getcwd(cwd, sizeof cwd) != nullptr ? std::string(cwd) : std::string();
    }
    base = from + "/" + base;
  }
  return base + "/kestrum";
}

}  // namespace platform::posix
