// What each system gives the shared runner (runner.cpp): finding and
// starting programs, and making the drives of a DOS view. posix/ and win32/
// implement it; nothing outside platform/ includes it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/dos_view.h"

namespace platform::system {

// A program found the way this system finds a program by its name; empty
// when there is none.
std::string FindProgram(const std::string& name);
// DOSBox, wherever this system's users keep it; empty when it is nowhere.
std::string FindDosBox();
// How to get DOSBox, as it follows "Install DOSBox".
std::string HowToInstallDosBox();

// Starts a program with its arguments (the first is its own name) in the
// current folder, never through a shell, and calls ended (on a thread of its
// own) once it has ended. 0 when it could not be started.
std::int64_t Start(const std::string& program, const std::vector<std::string>& args,
                   int showCommand, std::function<void()> ended);

std::string CurrentHostFolder();

// The drives of a DOS view made ready: the path DOSBox's mount command takes
// for each (in the drives' order), or what the user is told when they cannot
// be. started() is told the task that uses them; release() takes them away
// again once it has ended (or never started).
struct Mounted {
  std::vector<std::string> paths;
  std::string problem;
  std::function<void(std::int64_t task)> started;
  std::function<void()> release;
};
Mounted MountDrives(const std::vector<dosview::Drive>& drives);

}  // namespace platform::system
