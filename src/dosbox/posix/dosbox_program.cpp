#include "dosbox/dosbox_program.h"

#include <sys/stat.h>
#include <unistd.h>

#include "os/posix/path_search.h"
#include "os/processes.h"
#include "winapi/dos_paths.h"

namespace platform::system {

DosBox FindDosBox() {
  // The DOSBox of the distribution and the two that users install beside
  // it; Kestrum gives them only the arguments all three take.
  for (const char* name : {"dosbox", "dosbox-staging", "dosbox-x"}) {
    if (std::string found = posix::FindOnPath(name); !found.empty()) return {found, {}};
  }
  // The stores ship one in the game's own folder.
  const std::string shipped =
      DosToHost(DosNameIn(DosToHost(DosNameIn(HostPath{ProgramFolder()}, "DOSBOX")), "dosbox"))
          .text;
  struct stat st {};
  if (::stat(shipped.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
      ::access(shipped.c_str(), X_OK) == 0) {
    return {shipped, {}};
  }
  // Staging and DOSBox-X as Flatpak apps.
  for (const char* app : {"io.github.dosbox-staging", "com.dosbox_x.DOSBox-X"}) {
    if (std::string flatpak = FlatpakFor(app); !flatpak.empty()) return {flatpak, app};
  }
  return {};
}

}  // namespace platform::system
