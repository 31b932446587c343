// The drives of a DOS view on Windows.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>
#include <vector>

#include "dosbox/drives.h"
#include "text/wide_text.h"

namespace platform {

namespace system {

Mounted MountDrives(const std::vector<dosview::Drive>& drives) {
  // Windows has no links for everyone to make; a folder's short path keeps
  // every name DOSBox's shell would read out of the mount command.
  Mounted mounted;
  for (const auto& drive : drives) {
    std::string folder = drive.hostFolder;
    if (!drive.hostFile.empty())
      folder = drive.hostFile.substr(0, drive.hostFile.find_last_of("\\/"));
    char shortPath[MAX_PATH] = {};
    const DWORD n = ::GetShortPathNameA(ToAnsi(folder).c_str(), shortPath, MAX_PATH);
    const std::string path(shortPath, n > 0 && n < MAX_PATH ? n : 0);
    if (path.empty() || path.find_first_of(" \"<>|%;,=") != std::string::npos) {
      mounted.paths.clear();
      mounted.failure.kind = StartFailure::Kind::kNoShortFolderName;
      mounted.failure.folder = folder;
      return mounted;
    }
    mounted.paths.push_back(path);
  }
  return mounted;
}

}  // namespace system

}  // namespace platform
