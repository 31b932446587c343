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

// One file the user chose, for a program that would look beside it: a
// folder of the run's own that holds that file alone, named dosName (a link
// on POSIX systems; on Windows a hard link, else a copy). paths[0] is the
// folder; the file must still be the one the identity names.
Mounted StageFile(const dosview::Drive& file);

}  // namespace system

}  // namespace platform
