#include "os/posix/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace platform::posix {

namespace {

bool Plain(const std::string& path) {
  if (path.empty() || path[0] != '/') return false;
  for (const char c : path) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '/' || c == '.' || c == '_' || c == '+' || c == '-';
    if (!plain) return false;
  }
  return true;
}

// The folder in that base, made when missing; empty when it cannot be
// trusted to be this user's alone.
std::string Own(const std::string& base, const std::string& name) {
  if (!Plain(base)) return {};
  const std::string folder = base.back() == '/' ? base + name : base + "/" + name;
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
    return {};
  }
  // Ours, but opened up by someone (a copy, a restore): closed again.
  if ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) return {};
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return {};
  return folder;
}

}  // namespace

std::string TemporaryBase() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
}
bool TemporaryBaseFromTmpdir() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp != nullptr && *tmp != '\0';
}

std::string PrivateFolder() {
  const uid_t uid = ::getuid();
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr) {
    struct stat st {};
    // The runtime folder is the user's own and closed to others; one that
    // is not (left over after a change of user) does not serve.
    if (::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid &&
        (st.st_mode & 077) == 0) {
      if (std::string folder = Own(runtime, "kestrum"); !folder.empty()) return folder;
    }
  }
  return Own(TemporaryBase(), "kestrum-" + std::to_string(uid));
}

}  // namespace platform::posix
