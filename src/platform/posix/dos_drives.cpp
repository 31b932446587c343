// The drives of a DOS view, made of links in a folder of the run's own
// inside Kestrum's private folder: C: a link to the current folder, and each
// file's drive a folder holding one link, named by the file's 8.3 name, to
// the file. DOSBox is only ever given the plain paths of those links, and
// the game opens exactly the file Kestrum chose, whatever else lies beside
// it. The links stay while DOSBox runs (it opens files by their paths) and
// go when it ends, or at the next run when Kestrum ended first.
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/posix/private_folder.h"
#include "platform/posix/small_files.h"
#include "platform/system.h"

namespace platform::system {

namespace {

constexpr const char* kRunPrefix = "dos-";
constexpr const char* kTaskFile = "task";

// Takes a run's folder away: only what a run makes there (links, the task
// file and folders of links), never anything a link leads to.
void RemoveRun(const std::string& run) {
  if (DIR* dir = ::opendir(run.c_str())) {
    while (const dirent* e = ::readdir(dir)) {
      const std::string name = e->d_name;
      if (name == "." || name == "..") continue;
      const std::string path = run + "/" + name;
      struct stat st {};
      if (::lstat(path.c_str(), &st) != 0) continue;
      if (S_ISDIR(st.st_mode)) {
        if (DIR* drive = ::opendir(path.c_str())) {
          while (const dirent* f = ::readdir(drive)) {
            const std::string link = f->d_name;
            if (link != "." && link != "..") ::unlink((path + "/" + link).c_str());
          }
          ::closedir(drive);
        }
        ::rmdir(path.c_str());
      } else {
        ::unlink(path.c_str());
      }
    }
    ::closedir(dir);
  }
  ::rmdir(run.c_str());
}

// Runs whose DOSBox has ended while no Kestrum was there to see it, and runs
// that never started.
void RemoveStaleRuns(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> stale;
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name.rfind(kRunPrefix, 0) != 0) continue;
    const std::string run = folder + "/" + name;
    const long task = std::atol(posix::ReadSmallFile(run + "/" + kTaskFile, 32).c_str());
    bool ended = false;
    if (task > 0) {
      ended = ::kill(static_cast<pid_t>(task), 0) != 0 && errno == ESRCH;
    } else {
      struct stat st {};
      ended = ::lstat(run.c_str(), &st) == 0 &&
              now - std::chrono::seconds(st.st_mtim.tv_sec) > std::chrono::minutes(1);
    }
    if (ended) stale.push_back(run);
  }
  ::closedir(dir);
  for (const auto& run : stale) RemoveRun(run);
}

// What the started and ended sides of one run share: whichever comes last
// must not write into a run already taken away.
struct Run {
  std::mutex lock;
  std::string folder;
  bool released = false;
};

}  // namespace

Mounted MountDrives(const std::vector<dosview::Drive>& drives) {
  Mounted mounted;
  const std::string folder = posix::PrivateFolder();
  if (folder.empty()) {
    mounted.problem =
        "Kestrum has no folder of its own to prepare DOSBox's drives in. Make sure the folder "
        "named by XDG_RUNTIME_DIR, or /tmp, is yours and closed to others.";
    return mounted;
  }
  RemoveStaleRuns(folder);
  std::string pattern = folder + "/" + kRunPrefix + "XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    mounted.problem = "Kestrum could not prepare DOSBox's drives in " + folder + ".";
    return mounted;
  }
  auto run = std::make_shared<Run>();
  run->folder = pattern;
  for (const auto& drive : drives) {
    const std::string path = run->folder + "/" + drive.letter;
    bool made = false;
    if (drive.hostFile.empty()) {
      made = ::symlink(drive.hostFolder.c_str(), path.c_str()) == 0;
    } else {
      made = ::mkdir(path.c_str(), 0700) == 0 &&
             ::symlink(drive.hostFile.c_str(), (path + "/" + drive.dosName).c_str()) == 0;
    }
    if (!made) {
      RemoveRun(run->folder);
      mounted.paths.clear();
      mounted.problem = "Kestrum could not prepare DOSBox's drives in " + folder + ".";
      return mounted;
    }
    mounted.paths.push_back(path);
  }
  mounted.started = [run](std::int64_t task) {
    const std::lock_guard<std::mutex> hold(run->lock);
    if (run->released) return;
    posix::WriteSmallFile(run->folder + "/" + kTaskFile, std::to_string(task) + "\n");
  };
  mounted.release = [run] {
    const std::lock_guard<std::mutex> hold(run->lock);
    if (run->released) return;
    run->released = true;
    RemoveRun(run->folder);
  };
  return mounted;
}

}  // namespace platform::system
