// The drives of a DOS view, as each system makes them: links in a private
// folder on POSIX systems, short folder paths on Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "dosbox/dos_view.h"
#include "dosbox/start_failure.h"

namespace platform {

namespace system {

// The drives of a DOS view made ready: the path DOSBox's mount command takes
// for each (in the drives' order), or why they cannot be. started() is told the task that uses
// them; release() takes them away again once it has ended (or never started).
struct Mounted {
  std::vector<std::string> paths;
  StartFailure failure;
  std::function<void(std::int64_t task)> started;
  std::function<void()> release;
};
Mounted MountDrives(const std::vector<dosview::Drive>& drives);

// A folder of the run's own for a program that would look beside what it
// is given (a source port): the file the user chose, alone in a folder
// ("d") by dosName (the file itself: on POSIX systems a hard link to the
// very file checked, else a copy; on Windows the same), where a file is
// given; and where a game folder is given and this system links folders, a
// link to it named kGameLink. paths[0] is the run's folder, which also
// holds the task that uses it, and paths[1] the folder that holds the file;
// the file must still be the one the identity names.
inline constexpr const char* kGameLink = "kestrum-game";
Mounted StageRun(const dosview::Drive* file, const std::string& gameFolder = {});
// Whether StageRun makes the game folder's link here.
bool LinksFolders();

}  // namespace system

}  // namespace platform
