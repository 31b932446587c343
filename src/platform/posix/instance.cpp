#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"

namespace platform {

namespace {
int& LockDescriptor() {
  static int fd = -1;
  return fd;
}
}  // namespace

bool AnotherInstanceRunning() {
  if (LockDescriptor() >= 0) return false;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string folder = runtime != nullptr && *runtime != '\0' ? runtime : "";
  if (folder.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    folder = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  }
  // The lock belongs to the process: the system drops it when the process
  // ends, however it ends.
  const std::string path = folder + "/kestrum-" + std::to_string(::getuid()) + ".lock";
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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
