#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "winapi/dos_paths.h"
#include "winapi/posix/host_folders.h"
#include "os/posix/config_folder.h"
#include "os/posix/path_search.h"
#include "os/posix/small_files.h"
#include "text/text.h"

namespace platform {
namespace posix {

namespace {

bool IsDirectory(const std::string& hostPath) {
  struct stat st {};
  return ::stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string JoinHost(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace

}  // namespace posix

namespace {

bool IsHostPath(const std::string& path) {
  return !path.empty() && path[0] == '/';
}

// Splits a DOS path into its components; tells whether it starts at the
// root (with or without a drive). A host path is cut at "/" alone.
std::vector<std::string> DosComponents(std::string path, bool* absolute) {
  char separator = '/';
  if (!IsHostPath(path)) {
    if (path.size() >= 2 && path[1] == ':') path = path.substr(2);
    std::replace(path.begin(), path.end(), '/', '\\');
    separator = '\\';
  }
  *absolute = !path.empty() && path[0] == separator;
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    auto end = path.find(separator, start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string HostCurrentDirectory() {
  char buffer[PATH_MAX];
  if (::getcwd(buffer, sizeof buffer) == nullptr) return "/";
  return buffer;
}

std::string ParentHost(const std::string& host) {
  if (host == "/" || host.empty()) return "/";
  auto slash = host.find_last_of('/');
  if (slash == 0 || slash == std::string::npos) return "/";
  return host.substr(0, slash);
}

bool IsHiddenName(const std::string& name) {
  return !name.empty() && name[0] == '.';
}

}  // namespace

void RecordProgramFolder(const HostPath& folder) {
  posix::Started().programFolder = folder.text;
}

void RecordStartupPath(const char* startedAs) {
  posix::Started().currentFolder = HostCurrentDirectory();
  posix::Started().programFolder.clear();
  if (startedAs == nullptr || *startedAs == '\0') return;
  std::string path = startedAs;
  // As a shell finds it: a name with a slash is a path, a bare name is
  // searched on PATH.
  if (path.find('/') == std::string::npos) {
    path = posix::FindOnPath(path);
  }
  if (path.empty()) return;
  if (path[0] != '/') path = HostCurrentDirectory() + "/" + path;
  // The last component stays as it is (a link to the installed program must
  // not lead away from the game's folder); the folder itself is made
  // canonical, which takes "." and ".." away.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
  char folder[PATH_MAX];
  if (::realpath(ParentHost(path).c_str(), folder) == nullptr) return;
  RecordProgramFolder(HostPath{folder});
}

std::string ProgramFolder() {
  std::string host = posix::Started().programFolder;
  if (host.empty()) {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "/";
    host = ParentHost(std::string(buffer, static_cast<std::size_t>(n)));
  }
  return host;
}

std::string ProgramDirectory() {
  std::string dos = HostToDos(HostPath{ProgramFolder()}).text;
  if (!dos.empty() && dos.back() == '\\') dos.pop_back();
  return dos;
}

std::string InFolder(const std::string& hostFolder, const std::string& name) {
  return posix::JoinHost(hostFolder, name);
}

std::size_t LastSeparator(const std::string& path) {
  return IsHostPath(path) ? path.find_last_of('/') : path.find_last_of("\\/");
}

HostPath FromUser(const std::string& path) {
  return IsHostPath(path) ? HostPath{path} : DosToHost(DosPath{path});
}

DosPath DosNameIn(const HostPath& folder, const std::string& dosName) {
  // A path that starts with "/" is cut at "/" alone on its way back, so the
  // folder's names reach the host whole.
  return DosPath{posix::JoinHost(folder.text, dosName)};
}

DosPath HostToDos(const HostPath& hostPath) {
  std::string absolute = hostPath.text;
  if (absolute.empty() || absolute[0] != '/') {
    absolute = HostCurrentDirectory() + "/" + absolute;
  }
  std::string dos = "c:\\";
  std::size_t start = 1;
  bool first = true;
  while (start <= absolute.size()) {
    auto end = absolute.find('/', start);
    if (end == std::string::npos) end = absolute.size();
    if (end > start) {
      if (!first) dos += '\\';
      dos += absolute.substr(start, end - start);
      first = false;
    }
    start = end + 1;
  }
  return DosPath{dos};
}

HostPath DosToHost(const DosPath& dosPath) {
  bool absolute = false;
  const auto parts = DosComponents(dosPath.text, &absolute);
  std::string host = absolute ? "/" : HostCurrentDirectory();
  bool resolving = true;
  for (const auto& part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      host = ParentHost(host);
      continue;
    }
    std::string entry;
    if (resolving) entry = posix::MatchEntry(host, part);
    if (entry.empty()) {
      resolving = false;
      entry = part;
    }
    host = posix::JoinHost(host, entry);
  }
  return HostPath{host};
}

std::uint32_t GetShortPathNameA(const std::string& longPath, char* buffer,
                                std::uint32_t bufferLength) {
  if (longPath.empty()) return 0;
  bool absolute = false;
  std::string start = longPath;
  if (!IsHostPath(longPath) && (longPath.size() < 2 || longPath[1] != ':')) {
    // A relative path is taken from the current directory.
    start = CurrentDirectory() + "\\" + longPath;
  }
  const auto parts = DosComponents(start, &absolute);
  std::string host = "/";
  std::string shortPath = (IsHostPath(start) ? std::string("c:") : start.substr(0, 2)) + "\\";
  std::vector<std::string> shortParts;
  for (const auto& part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      host = ParentHost(host);
      if (!shortParts.empty()) shortParts.pop_back();
      continue;
    }
    const std::string entry = posix::MatchEntry(host, part);
    if (entry.empty()) return 0;
    const std::string alias = posix::AliasOf(host, entry);
    if (alias.empty()) return 0;
    shortParts.push_back(alias);
    host = posix::JoinHost(host, entry);
  }
  for (std::size_t i = 0; i < shortParts.size(); ++i) {
    if (i > 0) shortPath += '\\';
    shortPath += shortParts[i];
  }
  const auto needed = static_cast<std::uint32_t>(shortPath.size());
  if (buffer == nullptr || needed + 1 > bufferLength) return needed + 1;
  std::memcpy(buffer, shortPath.c_str(), needed + 1);
  return needed;
}

std::string ShortNameOf(const std::string& path) {
  const std::string host = IsHostPath(path) ? path : DosToHost(DosPath{path}).text;
  const auto slash = host.find_last_of('/');
  if (slash == std::string::npos || slash + 1 == host.size()) return {};
  return posix::AliasOf(slash == 0 ? std::string("/") : host.substr(0, slash),
                        host.substr(slash + 1));
}

std::string FindNormalFile(const std::string& dosPath) {
  std::string path = dosPath;
  if (!IsHostPath(path)) std::replace(path.begin(), path.end(), '/', '\\');
  const auto slash = LastSeparator(path);
  const std::string folder =
      slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name.find_first_of("*?") != std::string::npos) return {};
  return posix::FindEntry(IsHostPath(folder) ? folder : DosToHost(DosPath{folder}).text, name,
                          [](const std::string& hostFolder, const std::string& entry) {
                            struct stat st {};
                            return !IsHiddenName(entry) &&
                                   ::stat(posix::JoinHost(hostFolder, entry).c_str(), &st) == 0 &&
                                   S_ISREG(st.st_mode);
                          });
}

bool NamedByDosPath(const HostPath& hostPath) {
  const std::string identity = posix::FileIdentity(hostPath.text);
  return !identity.empty() && LocateDosFile(HostToDos(hostPath)).identity == identity;
}

DosFile LocateFile(const HostPath& hostPath) {
  DosFile file;
  file.hostPath = hostPath.text;
  file.name = file.hostPath.substr(file.hostPath.find_last_of('/') + 1);
  struct stat st {};
  if (::stat(file.hostPath.c_str(), &st) != 0) {
    if (errno == EACCES) file.kind = FileKind::kDenied;
    return file;
  }
  file.kind = S_ISREG(st.st_mode) ? FileKind::kFile : FileKind::kOther;
  file.identity = posix::FileIdentity(file.hostPath);
  file.size = static_cast<std::uint64_t>(st.st_size);
  file.readable = file.kind == FileKind::kFile && ::access(file.hostPath.c_str(), R_OK) == 0;
  return file;
}

DosFile LocateDosFile(const DosPath& dosPath) {
  return LocateFile(DosToHost(dosPath));
}

bool SetCurrentDirectory(const std::string& dosPath) {
  const std::string host =
      IsHostPath(dosPath) ? dosPath : DosToHost(DosPath{dosPath.empty() ? "\\" : dosPath}).text;
  return posix::IsDirectory(host) && ::chdir(host.c_str()) == 0;
}

std::string CurrentDirectory() {
  return HostToDos(HostPath{HostCurrentDirectory()}).text;
}

}  // namespace platform
