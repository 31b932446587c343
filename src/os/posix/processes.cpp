#include <limits.h>
#include <spawn.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "os/processes.h"
#include "os/posix/path_search.h"

extern char** environ;

namespace platform {

namespace {

// Starts a program with its arguments as they are: no shell ever sees them,
// and of Kestrum's descriptors it gets its standard input and output only.
// Returns the process id, or 0.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args,
            const std::string& hostDirectory, std::function<void()> ended) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!hostDirectory.empty()) posix_spawn_file_actions_addchdir_np(&actions, hostDirectory.c_str());
  // Whatever a library of ours left open without close-on-exec stays ours.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // The started program gets a session of its own, so that closing Kestrum
  // (or its terminal) does not take the game with it.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

  pid_t pid = 0;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return 0;
  // Kestrum never waits for what it starts; a small thread collects the exit
  // status so that no zombie is left behind, and tidies up after the program.
  std::thread([pid, ended = std::move(ended)] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    // A program that forks and plays on in its child has not ended: what it
    // was given stays until the last of its group is gone.
    while (::kill(-pid, 0) == 0) std::this_thread::sleep_for(std::chrono::milliseconds(250));
    if (ended) ended();
  }).detach();
  return pid;
}

}  // namespace

namespace system {

std::string FindProgram(const std::string& name) {
  return posix::FindOnPath(name);
}

std::int64_t Start(const std::string& program, const std::vector<std::string>& args, int,
                   std::function<void()> ended, const std::string& hostDirectory) {
  return Spawn(program, args, hostDirectory, std::move(ended));
}

std::string FlatpakFor(const std::string& appId) {
  if (appId.empty() || appId.find('/') != std::string::npos) return {};
  std::vector<std::string> exports{"/var/lib/flatpak/exports/bin"};
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
    exports.push_back(std::string(home) + "/.local/share/flatpak/exports/bin");
  }
  for (const auto& folder : exports) {
    struct stat st {};
    if (::stat((folder + "/" + appId).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      return posix::FindOnPath("flatpak");
    }
  }
  return {};
}

bool CanRun(const std::string& hostPath) {
  struct stat st {};
  return ::stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         ::access(hostPath.c_str(), X_OK) == 0;
}

bool TaskRuns(std::int64_t task) {
  if (task <= 0) return false;
  // Every program is started in a session, and so a group, of its own.
  return ::kill(-static_cast<pid_t>(task), 0) == 0 || errno == EPERM;
}

std::string CurrentHostFolder() {
  char buffer[PATH_MAX];
  return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string("/");
}

}  // namespace system

}  // namespace platform
