// Starting programs: never through a shell, never waiting for them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowMaximized = 3;

namespace system {

// A program found the way this system finds a program by its name; empty
// when there is none.
std::string FindProgram(const std::string& name);
// Starts a program with its arguments (the first is its own name) in the
// current folder, never through a shell, and calls ended (on a thread of its
// own) once it has ended, with every process it started in its group (not
// on Windows, which does not tell). 0 when it could not be started.
// In that host folder, when one is given.
std::int64_t Start(const std::string& program, const std::vector<std::string>& args,
                   int showCommand, std::function<void()> ended,
                   const std::string& hostDirectory = {});

std::string CurrentHostFolder();

// The flatpak program, where that Flatpak app is installed (its exported
// wrapper, for the system or for the user, is there) and flatpak is on
// PATH; empty otherwise, and always on Windows.
std::string FlatpakFor(const std::string& appId);

// Whether that file is a program this system can start (on POSIX a regular
// file the user may run; on Windows a file that is there).
bool CanRun(const std::string& hostPath);
// Whether a started task still runs: on POSIX any process of its group,
// so that a program that forks and plays on in its child still counts.
bool TaskRuns(std::int64_t task);

}  // namespace system

}  // namespace platform
