#include "os/posix/small_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform::posix {

std::string ReadSmallFile(const std::string& path, std::size_t limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return {};
  std::string content;
  char buffer[1024];
  while (content.size() < limit) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (content.size() > limit) content.resize(limit);
  return content;
}

bool WriteSmallFile(const std::string& path, const std::string& content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return ::close(fd) == 0 && done == content.size();
}

namespace {

std::string IdentityOf(int at, const char* path, int flags) {
  struct statx st {};
  if (::statx(at, path, flags, STATX_INO | STATX_BTIME, &st) != 0) return {};
  std::string identity = std::to_string(st.stx_dev_major) + "," + std::to_string(st.stx_dev_minor) +
                         ":" + std::to_string(st.stx_ino);
  if ((st.stx_mask & STATX_BTIME) != 0) {
    identity +=
        ":" + std::to_string(st.stx_btime.tv_sec) + "." + std::to_string(st.stx_btime.tv_nsec);
  }
  return identity;
}

}  // namespace

std::string FileIdentity(const std::string& path) {
  return IdentityOf(AT_FDCWD, path.c_str(), 0);
}

std::string FileIdentity(int fd) {
  return IdentityOf(fd, "", AT_EMPTY_PATH);
}

}  // namespace platform::posix
