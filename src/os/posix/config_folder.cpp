#include "os/posix/config_folder.h"

#include <limits.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>

namespace platform::posix {

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
    // A relative HOME is taken from the folder Kestrum started in, once: a
    // launch makes the game's folder current, and the save at the end must
    // still find the store.
    static std::map<std::string, std::string> absolute;
    auto [kept, isNew] = absolute.try_emplace(base);
    if (isNew) {
      char cwd[PATH_MAX];
      kept->second = (::getcwd(cwd, sizeof cwd) != nullptr ? std::string(cwd) : "") + "/" + base;
    }
    base = kept->second;
  }
  return base + "/kestrum";
}

}  // namespace platform::posix
