// The drives of a DOS view, made of links in a folder of the run's own
// inside Kestrum's private folder: C: a link to the current folder, and each
// file's drive a folder holding the file itself, named by its 8.3 name (a
// hard link to the very file that was checked, else a copy of it). DOSBox
// is only ever given the plain paths of those folders, and the game opens
// exactly the file Kestrum chose, whatever else lies beside it and whatever
// is done to its path later. They stay while the game runs (it opens files
// again by their names) and go when it ends, or at the next run when
// Kestrum ended first.
#include <dirent.h>
#include <fcntl.h>
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

#include "os/posix/private_folder.h"
#include "os/posix/small_files.h"
#include "dosbox/drives.h"

namespace platform::system {

namespace {

constexpr const char* kRunPrefix = "dos-";
constexpr const char* kTaskFile = "task";

// What a run's folder is named: the prefix and mkdtemp's six characters.
bool IsRunName(const std::string& name) {
  if (name.size() != 10 || name.rfind(kRunPrefix, 0) != 0) return false;
  for (std::size_t i = 4; i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
      return false;
    }
  }
  return true;
}

// A folder opened where it is, never through a link.
int OpenFolderAt(int at, const std::string& name) {
  return ::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Removes the names in a file's drive (links and files, never a folder, and
// never through a link), then the drive itself when that left it empty.
void RemoveDrive(int run, const std::string& letter) {
  const int fd = OpenFolderAt(run, letter);
  if (fd < 0) return;
  if (DIR* drive = ::fdopendir(fd)) {
    while (const dirent* e = ::readdir(drive)) {
      struct stat st {};
      if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
          (S_ISLNK(st.st_mode) || S_ISREG(st.st_mode))) {
        ::unlinkat(fd, e->d_name, 0);
      }
    }
    ::closedir(drive);
  } else {
    ::close(fd);
  }
  ::unlinkat(run, letter.c_str(), AT_REMOVEDIR);
}

// Takes a run's folder away: only what a run makes there (drive C:'s link,
// the drives of files, the task file), never anything a link leads to.
void RemoveRun(int parent, const std::string& name) {
  const int fd = OpenFolderAt(parent, name);
  if (fd < 0) return;
  std::vector<std::string> entries;
  if (DIR* run = ::fdopendir(::dup(fd))) {
    while (const dirent* e = ::readdir(run)) entries.emplace_back(e->d_name);
    ::closedir(run);
  }
  for (const auto& entry : entries) {
    struct stat st {};
    if (::fstatat(fd, entry.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    const bool drive = entry.size() == 1 && entry[0] >= 'c' && entry[0] <= 'y';
    if (drive && S_ISLNK(st.st_mode)) {
      ::unlinkat(fd, entry.c_str(), 0);
    } else if (drive && S_ISDIR(st.st_mode)) {
      RemoveDrive(fd, entry);
    } else if (entry == kGameLink && S_ISLNK(st.st_mode)) {
      ::unlinkat(fd, entry.c_str(), 0);
    } else if (entry == kTaskFile && S_ISREG(st.st_mode)) {
      ::unlinkat(fd, entry.c_str(), 0);
    }
  }
  ::close(fd);
  ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);
}

void RemoveRun(const std::string& run) {
  const auto slash = run.find_last_of('/');
  const int parent = ::open(run.substr(0, slash).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (parent < 0) return;
  RemoveRun(parent, run.substr(slash + 1));
  ::close(parent);
}

// The task a run's folder names, read without following a link.
long RunTask(int run) {
  const int fd = ::openat(run, kTaskFile, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return 0;
  char digits[32] = {};
  const ssize_t n = ::read(fd, digits, sizeof digits - 1);
  ::close(fd);
  return n > 0 ? std::atol(digits) : 0;
}

// Runs whose DOSBox has ended while no Kestrum was there to see it, and runs
// that never started. Only folders of a run's shape and of this user's are
// taken: anything else in the private folder was not made here.
void RemoveStaleRuns(const std::string& folder) {
  const int parent = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (parent < 0) return;
  std::vector<std::string> stale;
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  if (DIR* dir = ::fdopendir(::dup(parent))) {
    while (const dirent* e = ::readdir(dir)) {
      const std::string name = e->d_name;
      struct stat st {};
      if (!IsRunName(name) || ::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
          !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
        continue;
      }
      const int run = OpenFolderAt(parent, name);
      if (run < 0) continue;
      const long task = RunTask(run);
      ::close(run);
      // A task is the group of the program started, which may play on in a
      // child once the program itself has ended.
      const bool ended =
          task > 0 ? ::kill(-static_cast<pid_t>(task), 0) != 0 && errno == ESRCH
                   : now - std::chrono::seconds(st.st_mtim.tv_sec) > std::chrono::minutes(1);
      if (ended) stale.push_back(name);
    }
    ::closedir(dir);
  }
  for (const auto& name : stale) RemoveRun(parent, name);
  ::close(parent);
}

enum class Placed { kDone, kChanged, kFailed };

// The chosen file itself at target: a hard link to the file that is open
// (so the one checked, whatever its path leads to by now) where the file
// system allows, else a copy of it.
Placed PlaceFile(const dosview::Drive& drive, const std::string& target) {
  const int from = ::open(drive.hostFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (from < 0) return errno == ENOENT ? Placed::kChanged : Placed::kFailed;
  struct stat st {};
  if (::fstat(from, &st) != 0 || !S_ISREG(st.st_mode) ||
      posix::FileIdentity(from) != drive.identity) {
    ::close(from);
    return Placed::kChanged;
  }
  const std::string self = "/proc/self/fd/" + std::to_string(from);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
    ::close(from);
    return Placed::kDone;
  }
  const int to = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  bool copied = to >= 0;
  char buffer[1 << 16];
  while (copied) {
    const ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      copied = n == 0;
      break;
    }
    for (ssize_t done = 0; copied && done < n;) {
      const ssize_t w = ::write(to, buffer + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      copied = w > 0;
      done += w > 0 ? w : 0;
    }
  }
  ::close(from);
  if (to >= 0 && ::close(to) != 0) copied = false;
  if (!copied && to >= 0) ::unlink(target.c_str());
  return copied ? Placed::kDone : Placed::kFailed;
}

// What the started and ended sides of one run share: whichever comes last
// must not write into a run already taken away.
struct Run {
  std::mutex lock;
  std::string folder;
  bool released = false;
};

}  // namespace

namespace {

// The drives in a run's folder of their own; runFolder is that folder.
Mounted MountInRun(const std::vector<dosview::Drive>& drives, std::string& runFolder) {
  Mounted mounted;
  const std::string folder = posix::PrivateFolder();
  if (folder.empty()) {
    mounted.failure.kind = StartFailure::Kind::kNoPrivateFolder;
    mounted.failure.fallbackFolder = posix::TemporaryBase();
    mounted.failure.fallbackFromTmpdir = posix::TemporaryBaseFromTmpdir();
    return mounted;
  }
  RemoveStaleRuns(folder);
  std::string pattern = folder + "/" + kRunPrefix + "XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    mounted.failure.kind = StartFailure::Kind::kDrivesNotMade;
    mounted.failure.folder = folder;
    return mounted;
  }
  auto run = std::make_shared<Run>();
  run->folder = pattern;
  runFolder = pattern;
  for (const auto& drive : drives) {
    const std::string path = run->folder + "/" + drive.letter;
    bool made = false;
    if (drive.hostFile.empty()) {
      made = ::symlink(drive.hostFolder.c_str(), path.c_str()) == 0;
    } else {
      made = ::mkdir(path.c_str(), 0700) == 0;
      const Placed placed = made ? PlaceFile(drive, path + "/" + drive.dosName) : Placed::kFailed;
      // Replaced between the look and now, the file would not be the one
      // the line was checked for.
      if (placed == Placed::kChanged) {
        RemoveRun(run->folder);
        mounted.failure.kind = StartFailure::Kind::kChangedWhileMade;
        mounted.failure.fileName = drive.hostFile.substr(drive.hostFile.find_last_of('/') + 1);
        return mounted;
      }
      made = placed == Placed::kDone;
    }
    if (!made) {
      RemoveRun(run->folder);
      mounted.paths.clear();
      mounted.failure.kind = StartFailure::Kind::kDrivesNotMade;
      mounted.failure.folder = folder;
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

}  // namespace

Mounted MountDrives(const std::vector<dosview::Drive>& drives) {
  std::string runFolder;
  return MountInRun(drives, runFolder);
}

Mounted StageRun(const dosview::Drive* file, const std::string& gameFolder) {
  std::vector<dosview::Drive> drives;
  if (file != nullptr) {
    drives.push_back(*file);
    drives.back().letter = 'd';
  }
  std::string run;
  Mounted mounted = MountInRun(drives, run);
  if (mounted.failure) return mounted;
  mounted.paths.assign(1, run);
  if (file != nullptr) mounted.paths.push_back(run + "/d");
  if (!gameFolder.empty() &&
      ::symlink(gameFolder.c_str(), (mounted.paths.front() + "/" + kGameLink).c_str()) != 0) {
    if (mounted.release) mounted.release();
    Mounted failed;
    failed.failure.kind = StartFailure::Kind::kDrivesNotMade;
    failed.failure.folder = mounted.paths.front();
    return failed;
  }
  return mounted;
}

bool LinksFolders() {
  return true;
}

}  // namespace platform::system
