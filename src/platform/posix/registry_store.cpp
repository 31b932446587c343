#include "platform/posix/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/regfile.h"
#include "platform/text.h"

namespace platform {

namespace posix {

namespace {

std::function<void()>& BeforeReplaceHook() {
  static std::function<void()> hook;
  return hook;
}

std::string StoreFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && *config == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "") + "/.config";
  }
  return base + "/kestrum";
}

bool MakeFolders(const std::string& folder) {
  std::string partial;
  std::size_t pos = 0;
  while (pos != std::string::npos) {
    pos = folder.find('/', pos + 1);
    partial = folder.substr(0, pos);
    if (!partial.empty() && ::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& out, bool* missing) {
  *missing = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *missing = errno == ENOENT;
    return false;
  }
  char chunk[16384];
  ssize_t n = 0;
  while ((n = ::read(fd, chunk, sizeof chunk)) > 0) out.append(chunk, static_cast<std::size_t>(n));
  ::close(fd);
  return n == 0;
}

// Holds the store's lock file for one change.
class StoreLock {
 public:
  StoreLock() {
    if (!MakeFolders(StoreFolder())) return;
    fd_ = ::open((StoreFolder() + "/user.reg.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~StoreLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// A file that does not parse is someone's data: it is moved aside, never
// overwritten. Called with the lock held.
void SetAside(const std::string& path) {
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  ::localtime_r(&now, &tm);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
  std::string target = path + ".unreadable-" + stamp;
  for (int n = 2; ::access(target.c_str(), F_OK) == 0; ++n) {
    target = path + ".unreadable-" + stamp + "-" + std::to_string(n);
  }
  ::rename(path.c_str(), target.c_str());
}

// The store as it is on disk. With the lock held, an unreadable file is set
// aside and the store starts empty.
regfile::File Load(bool lockHeld) {
  const std::string path = RegistryFilePath();
  std::string content;
  bool missing = false;
  if (!ReadWholeFile(path, content, &missing)) return {};
  if (content.empty()) return {};
  if (auto parsed = regfile::Parse(content)) return *parsed;
  if (lockHeld) {
    SetAside(path);
  } else {
    StoreLock lock;
    if (lock.Held()) {
      std::string again;
      if (ReadWholeFile(path, again, &missing)) {
        if (auto parsed = regfile::Parse(again)) return *parsed;
        if (!again.empty()) SetAside(path);
      }
    }
  }
  return {};
}

bool Save(const regfile::File& file) {
  const std::string path = RegistryFilePath();
  const std::string temp = path + ".tmp-" + std::to_string(::getpid());
  const std::string content = regfile::Write(file);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  std::size_t written = 0;
  while (written < content.size()) {
    const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
    if (n <= 0) {
      ::close(fd);
      ::unlink(temp.c_str());
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  const bool flushed = ::fsync(fd) == 0;
  ::close(fd);
  if (!flushed) {
    ::unlink(temp.c_str());
    return false;
  }
  if (BeforeReplaceHook()) BeforeReplaceHook()();
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  const int dir = ::open(StoreFolder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

constexpr const char* kCurrentUser = "HKEY_CURRENT_USER";

std::map<HKey, std::string>& Handles() {
  static std::map<HKey, std::string> handles;
  return handles;
}

HKey NewHandle(const std::string& path) {
  static HKey next = 0x1000;
  Handles()[++next] = path;
  return next;
}

// "Software\Tolvane" below a root, as a full key path; empty when the root or
// the path is not one Kestrum can store.
std::optional<std::string> FullPath(HKey root, const std::string& subKey) {
  std::string base;
  if (root == kHkeyCurrentUser) {
    base = kCurrentUser;
  } else {
    auto it = Handles().find(root);
    if (it == Handles().end()) return std::nullopt;
    base = it->second;
  }
  std::string sub = subKey;
  while (!sub.empty() && sub.back() == '\\') sub.pop_back();
  if (sub.empty()) return base;
  if (sub[0] == '\\' || sub.find("\\\\") != std::string::npos) return std::nullopt;
  return base + "\\" + sub;
}

bool IsRoot(const std::string& path) {
  return text::EqualsNoCase(path, kCurrentUser);
}

}  // namespace

std::string RegistryFilePath() {
  return StoreFolder() + "/user.reg";
}

void SetBeforeReplaceHookForTesting(std::function<void()> hook) {
  BeforeReplaceHook() = std::move(hook);
}

}  // namespace posix

std::int32_t RegCreateKeyExA(HKey root, const std::string& subKey, std::uint32_t /*options*/,
                             std::uint32_t /*samDesired*/, HKey* result,
                             std::uint32_t* disposition) {
  const auto path = posix::FullPath(root, subKey);
  if (!path) return root == kHkeyCurrentUser ? kErrorInvalidParameter : kErrorInvalidHandle;
  if (result == nullptr) return kErrorInvalidParameter;
  bool created = false;
  if (!posix::IsRoot(*path)) {
    posix::StoreLock lock;
    if (!lock.Held()) return kErrorAccessDenied;
    regfile::File file = posix::Load(true);
    file.CreateKey(*path, &created);
    if (created && !posix::Save(file)) return kErrorAccessDenied;
  }
  if (disposition != nullptr) {
    *disposition = created ? kRegCreatedNewKey : kRegOpenedExistingKey;
  }
  *result = posix::NewHandle(*path);
  return kErrorSuccess;
}

std::int32_t RegOpenKeyExA(HKey root, const std::string& subKey, std::uint32_t /*options*/,
                           std::uint32_t /*samDesired*/, HKey* result) {
  const auto path = posix::FullPath(root, subKey);
  if (!path) return root == kHkeyCurrentUser ? kErrorFileNotFound : kErrorInvalidHandle;
  if (result == nullptr) return kErrorInvalidParameter;
  if (!posix::IsRoot(*path)) {
    const regfile::File file = posix::Load(false);
    if (file.FindKey(*path) == nullptr) return kErrorFileNotFound;
  }
  *result = posix::NewHandle(*path);
  return kErrorSuccess;
}

std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* dataSize) {
  const auto it = posix::Handles().find(key);
  if (it == posix::Handles().end()) return kErrorInvalidHandle;
  if (data != nullptr && dataSize == nullptr) return kErrorInvalidParameter;
  const regfile::File file = posix::Load(false);
  const regfile::Key* k = file.FindKey(it->second);
  if (k == nullptr) return kErrorFileNotFound;
  const regfile::Value* v = regfile::File::FindValue(*k, valueName);
  if (v == nullptr) return kErrorFileNotFound;
  if (type != nullptr) *type = v->type;
  const auto size = static_cast<std::uint32_t>(v->data.size());
  if (data == nullptr) {
    if (dataSize != nullptr) *dataSize = size;
    return kErrorSuccess;
  }
  if (*dataSize < size) {
    *dataSize = size;
    return kErrorMoreData;
  }
  if (size > 0) std::memcpy(data, v->data.data(), size);
  *dataSize = size;
  return kErrorSuccess;
}

std::int32_t RegSetValueExA(HKey key, const std::string& valueName, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t dataSize) {
  const auto it = posix::Handles().find(key);
  if (it == posix::Handles().end() || posix::IsRoot(it->second)) return kErrorInvalidHandle;
  if (data == nullptr && dataSize != 0) return kErrorInvalidParameter;
  posix::StoreLock lock;
  if (!lock.Held()) return kErrorAccessDenied;
  regfile::File file = posix::Load(true);
  regfile::Key* k = file.FindKey(it->second);
  if (k == nullptr) return 1018;  // ERROR_KEY_DELETED
  const std::string bytes =
      data != nullptr ? std::string(reinterpret_cast<const char*>(data), dataSize) : std::string();
  if (regfile::Value* v = regfile::File::FindValue(*k, valueName)) {
    v->type = type;
    v->data = bytes;
  } else {
    k->values.push_back(regfile::Value{valueName, type, bytes});
  }
  return posix::Save(file) ? kErrorSuccess : kErrorAccessDenied;
}

std::int32_t RegCloseKey(HKey key) {
  if (key == kHkeyCurrentUser) return kErrorSuccess;
  return posix::Handles().erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace platform
