#include "os/folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "os/posix/config_folder.h"

namespace platform::system {

namespace {

std::string IdentityOf(const struct stat& st) {
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

}  // namespace

std::vector<SubFolder> SubFolders(const std::string& hostFolder, const std::string& prefix,
                                  std::size_t most) {
  std::vector<SubFolder> found;
  const int fd = ::open(hostFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return found;
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    ::close(fd);
    return found;
  }
  struct stat own {};
  const bool knowsDevice = ::fstat(fd, &own) == 0;
  std::size_t read = 0;
  while (const dirent* e = ::readdir(dir)) {
    if (++read > most) break;
    const std::string name = e->d_name;
    if (name == "." || name == ".." || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (e->d_type != DT_DIR && e->d_type != DT_LNK && e->d_type != DT_UNKNOWN) continue;
    const std::string path = hostFolder == "/" ? "/" + name : hostFolder + "/" + name;
    // A folder of this one's own file system is told by its entry alone;
    // a link, or what the listing does not say, by where it leads.
    if (e->d_type == DT_DIR && knowsDevice) {
      found.push_back({path, std::to_string(own.st_dev) + ":" + std::to_string(e->d_ino)});
      continue;
    }
    struct stat st {};
    if (::fstatat(fd, e->d_name, &st, 0) != 0 || !S_ISDIR(st.st_mode)) continue;
    found.push_back({path, IdentityOf(st)});
  }
  ::closedir(dir);
  return found;
}

std::vector<std::string> FilesEndingIn(const std::string& hostFolder, const std::string& suffix,
                                       std::size_t most) {
  std::vector<std::string> found;
  DIR* dir = ::opendir(hostFolder.c_str());
  if (dir == nullptr) return found;
  std::size_t read = 0;
  while (const dirent* e = ::readdir(dir)) {
    if (++read > most) break;
    const std::string name = e->d_name;
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      found.push_back(hostFolder + "/" + name);
    }
  }
  ::closedir(dir);
  return found;
}

std::string ReadListFile(const std::string& hostPath, std::size_t limit) {
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return {};
  std::string text;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    char chunk[16384];
    ssize_t n = 0;
    while (text.size() < limit && (n = ::read(fd, chunk, sizeof chunk)) > 0) {
      text.append(chunk, static_cast<std::size_t>(n));
    }
    if (text.size() > limit) text.resize(limit);
  }
  ::close(fd);
  return text;
}

bool HoldsAnyOf(const std::string& hostFolder, const std::vector<std::string>& names,
                std::size_t most) {
  DIR* dir = ::opendir(hostFolder.c_str());
  if (dir == nullptr) return false;
  bool found = false;
  std::size_t read = 0;
  while (const dirent* e = ::readdir(dir)) {
    if (++read > most) break;
    for (const auto& name : names) found = found || ::strcasecmp(e->d_name, name.c_str()) == 0;
    if (found) break;
  }
  ::closedir(dir);
  return found;
}

bool CanList(const std::string& hostFolder) {
  DIR* dir = ::opendir(hostFolder.c_str());
  if (dir == nullptr) return false;
  ::closedir(dir);
  return true;
}

std::string FolderIdentity(const std::string& hostFolder) {
  struct stat st {};
  if (::stat(hostFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  return IdentityOf(st);
}

long long ModifiedTime(const std::string& hostPath) {
  struct stat st {};
  if (::stat(hostPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  return static_cast<long long>(st.st_mtim.tv_sec);
}

std::vector<std::string> MachineValues(const std::string&, const std::string&) {
  return {};
}

std::vector<std::string> UserValues(const std::string&, const std::string&) {
  return {};
}

std::string KestrumDataFolder() {
  return posix::ConfigFolder();
}

bool MakeFolderWith(const std::string& hostFolder, const std::string& emptyFile) {
  if (hostFolder.empty() || hostFolder[0] != '/') return false;
  for (std::size_t at = hostFolder.find('/', 1);; at = hostFolder.find('/', at + 1)) {
    const std::string upTo = hostFolder.substr(0, at);
    if (::mkdir(upTo.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (at == std::string::npos) break;
  }
  struct stat st {};
  if (::stat(hostFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  if (emptyFile.empty()) return true;
  const int fd = ::open((hostFolder + "/" + emptyFile).c_str(),
                        O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

}  // namespace platform::system
