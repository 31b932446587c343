#include "winapi/registry.h"

#include "os/posix/config_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <thread>

#include "winapi/regfile.h"
#include "text/text.h"

namespace platform {

namespace posix {

namespace {

std::string StoreFolder() {
  return ConfigFolder();
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

// The file a path stands for once every link is followed: where a save must
// go, so that a store kept elsewhere and linked in stays linked. A link that
// leads nowhere gives where it points; a loop gives the empty text.
std::string FollowLinks(std::string path) {
  // Linux follows 40 links on a path and no more.
  constexpr int kMostLinks = 40;
  for (int hops = 0;; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    if (hops == kMostLinks) return {};
    std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n <= 0) return {};
    target.resize(static_cast<std::size_t>(n));
    if (target[0] != '/') target = path.substr(0, path.rfind('/') + 1) + target;
    path = target;
  }
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool& LockGivenUp();

// Holds the store's lock file for one change. Another process that holds it
// (a backup tool, a stuck Kestrum on a network home) is waited for a moment,
// never for as long as it likes.
class StoreLock {
 public:
  StoreLock() {
    if (LockGivenUp() || !MakeFolders(StoreFolder())) return;
    fd_ = ::open((StoreFolder() + "/user.reg.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      const bool heldElsewhere = errno == EWOULDBLOCK;
      if ((!heldElsewhere && errno != EINTR) || std::chrono::steady_clock::now() > until) {
        ::close(fd_);
        fd_ = -1;
        LockGivenUp() = heldElsewhere;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
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

// What is known of the file on disk. The store is read again only when the
// file is another than the one read last (inode, size or time differ), so
// that a big store costs one parse a run, not one a registry call.
struct Store {
  std::string path;    // the store's path as configured
  std::string target;  // the file it stands for, links followed
  bool present = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};
  // False when the file there is no store Kestrum may replace: unreadable,
  // not a regular file, or a file that does not parse and could not be kept
  // aside. Kestrum then works from its defaults and writes nothing.
  bool writable = true;
  bool parsed = false;  // false: the file needs setting aside first
  regfile::File file;
};

// The imitated registry of this process, one value as Windows keeps its
// own: the store as read last, the open keys' handles, and whether the
// store's lock was given up.
struct Registry {
  Store store;
  std::map<HKey, std::string> handles;
  HKey lastHandle = 0x1000;
  // Set once the lock could not be had in time: the store is then only
  // read for the rest of the run, as one that may not be written.
  bool lockGivenUp = false;
};
Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

Store& Cache() {
  return TheRegistry().store;
}
bool& LockGivenUp() {
  return TheRegistry().lockGivenUp;
}

bool SameFile(const Store& s, const struct stat& st) {
  return s.present && s.device == st.st_dev && s.inode == st.st_ino && s.size == st.st_size &&
         s.modified.tv_sec == st.st_mtim.tv_sec && s.modified.tv_nsec == st.st_mtim.tv_nsec &&
         s.changed.tv_sec == st.st_ctim.tv_sec && s.changed.tv_nsec == st.st_ctim.tv_nsec;
}

void Remember(Store& s, const struct stat& st) {
  s.present = true;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = st.st_size;
  s.modified = st.st_mtim;
  s.changed = st.st_ctim;
}

// Reads a regular file whole; never blocks on a FIFO or a device.
bool ReadRegularFile(const std::string& path, std::string& out, struct stat& st) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return false;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (ok) {
    out.clear();
    out.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[65536];
    ssize_t n = 0;
    while ((n = ::read(fd, chunk, sizeof chunk)) > 0)
      out.append(chunk, static_cast<std::size_t>(n));
    ok = n == 0;
  }
  ::close(fd);
  return ok;
}

// A file that does not parse is someone's data: it is moved aside, never
// overwritten. Called with the lock held; false when it could not be moved.
bool SetAside(const std::string& path) {
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  ::localtime_r(&now, &tm);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
  std::string target = path + ".unreadable-" + stamp;
  for (int n = 2; ::access(target.c_str(), F_OK) == 0 || errno != ENOENT; ++n) {
    if (n > 1000) return false;
    target = path + ".unreadable-" + stamp + "-" + std::to_string(n);
  }
  return ::rename(path.c_str(), target.c_str()) == 0;
}

// The store as it is on disk, read again only when the file changed. With
// the lock held, a file that does not parse is set aside and the store
// starts empty.
Store& Load(bool lockHeld) {
  Store& s = Cache();
  const std::string path = RegistryFilePath();
  const std::string target = FollowLinks(path);
  struct stat st {};
  const bool exists = !target.empty() && ::stat(target.c_str(), &st) == 0;
  const bool missing = !exists && errno == ENOENT;
  if (s.path == path && s.target == target && (exists ? SameFile(s, st) : !s.present) &&
      (s.parsed || !lockHeld)) {
    return s;
  }
  s = Store{};
  s.path = path;
  s.target = target;
  if (target.empty()) {
    s.writable = false;  // a loop of links
    return s;
  }
  if (!exists) {
    // Nothing there yet (a link that leads nowhere included): a save makes it.
    s.writable = missing;
    s.parsed = true;
    return s;
  }
  std::string content;
  if (!S_ISREG(st.st_mode) || !ReadRegularFile(target, content, st)) {
    Remember(s, st);
    s.writable = false;
    return s;
  }
  Remember(s, st);
  // One that nobody may write to (0444), or this user may not, is only read.
  s.writable = (st.st_mode & 0222) != 0 && ::access(target.c_str(), W_OK) == 0;
  if (content.empty()) {
    s.parsed = true;
    return s;
  }
  if (auto parsed = regfile::Parse(content)) {
    s.file = std::move(*parsed);
    s.parsed = true;
    return s;
  }
  // Read as empty; the next change sets it aside, unless it may not be
  // changed at all.
  if (!lockHeld || !s.writable) return s;
  if (SetAside(target)) {
    s = Store{};
    s.path = path;
    s.target = target;
    s.parsed = true;
  } else {
    s.writable = false;
  }
  return s;
}

// A process's temporary copy is named after it; one whose process is gone
// was left by a writer that died mid-save.
void RemoveLeftovers(const std::string& folder, const std::string& prefix) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (!name.starts_with(prefix) || name.size() == prefix.size()) continue;
    const std::string digits = name.substr(prefix.size());
    if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t pid = static_cast<pid_t>(std::stol(digits));
    if (pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH)) {
      ::unlink((folder + "/" + name).c_str());
    }
  }
  ::closedir(dir);
}

}  // namespace

bool ReplaceWhole(const std::string& target, const std::string& content,
                  const std::function<void()>& beforeReplace) {
  const std::string folder = FolderOf(target);
  const std::string base = target.substr(target.rfind('/') + 1);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists &&
      (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) {
    return false;
  }
  RemoveLeftovers(folder, base + ".tmp-");
  const std::string temp = folder + "/" + base + ".tmp-" + std::to_string(::getpid());
  const mode_t mode = exists ? (old.st_mode & 07777) : 0600;
  ::unlink(temp.c_str());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  bool ok = true;
  if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
    // A store shared through a link by users of one group keeps its owner
    // where this process may keep it, else at least its group: a new file
    // of this user's own group would lock the others out for good.
    const bool ownerKept = ::fchown(fd, old.st_uid, old.st_gid) == 0;
    const bool groupKept = ownerKept || ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
    ok = groupKept || old.st_uid == ::geteuid();
  }
  ok = ok && ::fchmod(fd, mode) == 0;
  std::size_t written = 0;
  while (ok && written < content.size()) {
    const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
    ok = n > 0;
    if (ok) written += static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ::close(fd);
  if (ok && beforeReplace) beforeReplace();
  if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

namespace {

// The store's file (where its links lead) replaced by what is in memory.
bool Replace(Store& s) {
  if (!s.writable || !s.parsed || s.target.empty()) return false;
  if (!ReplaceWhole(s.target, regfile::Write(s.file))) return false;
  // The file just written is the one in memory: no need to read it again.
  struct stat fresh {};
  if (::stat(s.target.c_str(), &fresh) == 0) Remember(s, fresh);
  return true;
}

bool Save(Store& s) {
  const bool saved = Replace(s);
  // What is in memory is no longer what is on disk: read it again next time.
  if (!saved) s = Store{};
  return saved;
}

constexpr const char* kCurrentUser = "HKEY_CURRENT_USER";

std::map<HKey, std::string>& Handles() {
  return TheRegistry().handles;
}

HKey NewHandle(const std::string& path) {
  const HKey handle = ++TheRegistry().lastHandle;
  Handles()[handle] = path;
  return handle;
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
    posix::Store& store = posix::Load(true);
    if (!store.file.HasKey(*path)) {
      if (!store.writable) return kErrorAccessDenied;
      store.file.CreateKey(*path, &created);
      if (!posix::Save(store)) return kErrorAccessDenied;
    }
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
    if (!posix::Load(false).file.HasKey(*path)) return kErrorFileNotFound;
  }
  *result = posix::NewHandle(*path);
  return kErrorSuccess;
}

std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* dataSize) {
  const auto it = posix::Handles().find(key);
  if (it == posix::Handles().end()) return kErrorInvalidHandle;
  if (data != nullptr && dataSize == nullptr) return kErrorInvalidParameter;
  const regfile::Value* v = posix::Load(false).file.FindValue(it->second, valueName);
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
  posix::Store& store = posix::Load(true);
  if (!store.file.HasKey(it->second)) return 1018;  // ERROR_KEY_DELETED
  std::string bytes =
      data != nullptr ? std::string(reinterpret_cast<const char*>(data), dataSize) : std::string();
  if (!store.writable) return kErrorAccessDenied;
  if (!store.file.SetValue(it->second, valueName, type, std::move(bytes))) {
    return kErrorSuccess;  // it holds that already
  }
  return posix::Save(store) ? kErrorSuccess : kErrorAccessDenied;
}

std::string SettingsStorePath() {
  return posix::RegistryFilePath();
}

std::int32_t RegEnumKeyExA(HKey key, std::uint32_t index, std::string* name) {
  const auto it = posix::Handles().find(key);
  const std::string path = key == kHkeyCurrentUser        ? std::string(posix::kCurrentUser)
                           : it != posix::Handles().end() ? it->second
                                                          : std::string();
  if (path.empty()) return kErrorInvalidHandle;
  const auto names = posix::Load(false).file.SubKeys(path);
  if (index >= names.size()) return kErrorNoMoreItems;
  if (name != nullptr) *name = names[index];
  return kErrorSuccess;
}

std::int32_t RegDeleteTreeA(HKey root, const std::string& subKey) {
  const auto path = posix::FullPath(root, subKey);
  if (!path || posix::IsRoot(*path)) return kErrorInvalidParameter;
  posix::StoreLock lock;
  if (!lock.Held()) return kErrorAccessDenied;
  posix::Store& store = posix::Load(true);
  if (!store.file.HasKey(*path)) return kErrorFileNotFound;
  if (!store.writable) return kErrorAccessDenied;
  store.file.DeleteKey(*path);
  return posix::Save(store) ? kErrorSuccess : kErrorAccessDenied;
}

std::int32_t RegCloseKey(HKey key) {
  if (key == kHkeyCurrentUser) return kErrorSuccess;
  return posix::Handles().erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace platform
