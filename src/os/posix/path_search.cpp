#include "os/posix/path_search.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace platform {

namespace posix {

std::string FindOnPath(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return {};
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  const std::string folders = path;
  std::size_t start = 0;
  while (start <= folders.size()) {
    auto end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    // Appended piece by piece: GCC 12 warns falsely of overlapping copies
    // in "folder + "/" + name".
    std::string candidate = end > start ? folders.substr(start, end - start) : std::string(".");
    candidate += '/';
    candidate += name;
    struct stat st {};
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    start = end + 1;
  }
  return {};
}

}  // namespace posix

}  // namespace platform
