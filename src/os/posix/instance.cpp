#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "os/instance.h"
#include "os/posix/config_folder.h"
#include "os/posix/private_folder.h"

namespace platform {

namespace {
int& LockDescriptor() {
  static int fd = -1;
  return fd;
}

// In a folder only this user may enter, so that nobody else can hold the
// lock (or make its file first) and keep this user's Kestrum from starting.
// Where no such folder is to be had, the settings' own folder serves.
std::string LockPath() {
  std::string folder = posix::PrivateFolder();
  if (folder.empty()) {
    folder = posix::ConfigFolder();
    ::mkdir(folder.c_str(), 0700);
  }
  return folder + "/kestrum.lock";
}
}  // namespace

bool AnotherInstanceRunning() {
  if (LockDescriptor() >= 0) return false;
  // The lock belongs to the process: the system drops it when the process
  // ends, however it ends.
  const int fd = ::open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;  // no lock to be had: better to run than to refuse
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return true;
  }
  LockDescriptor() = fd;
  return false;
}

void ReleaseInstance() {
  if (LockDescriptor() >= 0) {
    ::close(LockDescriptor());
    LockDescriptor() = -1;
  }
}

}  // namespace platform
