#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/dos_names.h"
#include "platform/posix/path_search.h"
#include "platform/text.h"

namespace platform {
namespace posix {

namespace {

struct AliasEntry {
  std::string shortName;
  int number = 0;
};

// Compares a candidate (an upper-cased name without blanks) with an alias
// already given: only as many characters as the alias keeps before its "~N"
// count, so that every name sharing that prefix is in the same series.
int CompareWithAlias(const std::string& name, const std::string& alias) {
  const auto tilde = alias.find('~');
  if (tilde == std::string::npos) return std::strcmp(name.c_str(), alias.c_str());
  std::size_t count = tilde;
  const std::size_t numberSize = std::strcspn(alias.c_str() + tilde, ".");
  std::size_t nameBase = std::strcspn(name.c_str(), ".");
  if (nameBase > 8) nameBase = 8;
  if (nameBase > count + numberSize) count = nameBase - numberSize;
  return std::strncmp(name.c_str(), alias.c_str(), count);
}

// The next number for a name: one more than the number of the last alias in
// the sorted run of aliases that share its prefix.
int NextAliasNumber(const std::vector<AliasEntry>& sortedAliases, const std::string& name) {
  if (sortedAliases.empty()) return 1;
  long low = 0;
  long high = static_cast<long>(sortedAliases.size()) - 1;
  int found = 0;
  while (low <= high) {
    long mid = (low + high) / 2;
    const int res = CompareWithAlias(name, sortedAliases[static_cast<std::size_t>(mid)].shortName);
    if (res > 0) {
      low = mid + 1;
    } else if (res < 0) {
      high = mid - 1;
    } else {
      do {
        found = sortedAliases[static_cast<std::size_t>(mid)].number;
        ++mid;
      } while (static_cast<std::size_t>(mid) < sortedAliases.size() &&
               CompareWithAlias(name, sortedAliases[static_cast<std::size_t>(mid)].shortName) == 0);
      break;
    }
  }
  return found + 1;
}

std::string RemoveTrailingDot(std::string s) {
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

bool IsDirectory(const std::string& hostPath) {
  struct stat st {};
  return ::stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string JoinHost(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string& TestProgramDirectory() {
  static std::string dir;
  return dir;
}

// The host folder of the path Kestrum was started by; empty when unknown.
std::string& StartupFolder() {
  static std::string dir;
  return dir;
}

}  // namespace

std::vector<std::string> DosAliases(const std::vector<std::string>& names) {
  std::vector<std::string> result;
  result.reserve(names.size());
  std::vector<AliasEntry> aliased;         // sorted by alias
  std::vector<std::string> sortedAliases;  // every alias so far, sorted

  for (const auto& original : names) {
    std::string upper = text::ToUpper(original);
    bool makeAlias = upper.find(' ') != std::string::npos;
    upper.erase(std::remove(upper.begin(), upper.end(), ' '), upper.end());

    std::string name = upper;
    std::size_t baseLength = name.size();
    auto dot = name.find('.');
    if (dot != std::string::npos) {
      if (name.size() - dot > 4) {
        // An extension longer than three: leading dots do not count.
        const auto firstNonDot = name.find_first_not_of('.');
        name = firstNonDot == std::string::npos ? std::string() : name.substr(firstNonDot);
        makeAlias = true;
      }
      dot = name.find('.');
      baseLength = dot == std::string::npos ? name.size() : dot;
    } else {
      baseLength = name.size();
    }
    makeAlias = makeAlias || baseLength > 8;
    if (!makeAlias) {
      // A valid name that an earlier entry already shows is aliased too.
      makeAlias =
          std::binary_search(sortedAliases.begin(), sortedAliases.end(), RemoveTrailingDot(name));
    }

    std::string alias;
    if (makeAlias) {
      const int number = NextAliasNumber(aliased, name);
      const std::string digits = std::to_string(number);
      std::size_t keep = baseLength;
      if (baseLength + digits.size() + 1 > 8) keep = 8 - digits.size() - 1;
      alias = name.substr(0, keep) + "~" + digits;
      if (dot != std::string::npos) {
        alias += name.substr(name.rfind('.'), 4);
        if (alias.size() > 12) alias.resize(12);
      }
      AliasEntry entry{alias, number};
      aliased.insert(std::upper_bound(aliased.begin(), aliased.end(), entry,
                                      [](const AliasEntry& a, const AliasEntry& b) {
                                        return std::strcmp(a.shortName.c_str(),
                                                           b.shortName.c_str()) < 0;
                                      }),
                     entry);
    } else {
      alias = name;
    }
    alias = RemoveTrailingDot(alias);
    sortedAliases.insert(std::upper_bound(sortedAliases.begin(), sortedAliases.end(), alias),
                         alias);
    result.push_back(alias);
  }
  return result;
}

std::vector<std::string> ListFolder(const std::string& hostFolder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(hostFolder.empty() ? "." : hostFolder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

std::string MatchEntry(const std::string& hostFolder, const std::string& dosName) {
  if (dosName.empty()) return {};
  const auto names = ListFolder(hostFolder);
  for (const auto& n : names) {
    if (n == dosName) return n;
  }
  for (const auto& n : names) {
    if (text::EqualsNoCase(n, dosName)) return n;
  }
  const auto aliases = DosAliases(names);
  const std::string wanted = RemoveTrailingDot(text::ToUpper(dosName));
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (aliases[i] == wanted) return names[i];
  }
  return {};
}

}  // namespace posix

namespace {

// Splits a DOS path into its components; tells whether it starts at the
// root (with or without a drive).
std::vector<std::string> DosComponents(std::string path, bool* absolute) {
  if (path.size() >= 2 && path[1] == ':') path = path.substr(2);
  std::replace(path.begin(), path.end(), '/', '\\');
  *absolute = !path.empty() && path[0] == '\\';
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    auto end = path.find('\\', start);
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

void SetProgramDirectoryForTesting(const std::string& hostDirectory) {
  posix::TestProgramDirectory() = hostDirectory;
}

void RecordStartupPath(const char* startedAs) {
  posix::StartupFolder().clear();
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
  posix::StartupFolder() = folder;
}

std::string ProgramDirectory() {
  std::string host = posix::TestProgramDirectory();
  if (host.empty()) host = posix::StartupFolder();
  if (host.empty()) {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "c:";
    host = ParentHost(std::string(buffer, static_cast<std::size_t>(n)));
  }
  std::string dos = HostToDos(host);
  if (!dos.empty() && dos.back() == '\\') dos.pop_back();
  return dos;
}

std::string HostToDos(const std::string& hostPath) {
  std::string absolute = hostPath;
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
  return dos;
}

std::string DosToHost(const std::string& dosPath) {
  bool absolute = false;
  const auto parts = DosComponents(dosPath, &absolute);
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
  return host;
}

std::uint32_t GetShortPathNameA(const std::string& longPath, char* buffer,
                                std::uint32_t bufferLength) {
  if (longPath.empty()) return 0;
  bool absolute = false;
  std::string start = longPath;
  if (longPath.size() < 2 || longPath[1] != ':') {
    // A relative path is taken from the current directory.
    start = CurrentDirectory() + "\\" + longPath;
  }
  const auto parts = DosComponents(start, &absolute);
  std::string host = "/";
  std::string shortPath = start.substr(0, 2) + "\\";
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
    const auto names = posix::ListFolder(host);
    const auto aliases = posix::DosAliases(names);
    std::string alias;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] == entry) alias = aliases[i];
    }
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

std::string FindNormalFile(const std::string& dosPath) {
  std::string path = dosPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  const auto slash = path.find_last_of('\\');
  const std::string folder =
      slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name.find_first_of("*?") != std::string::npos) return {};
  const std::string hostFolder = DosToHost(folder);
  const auto names = posix::ListFolder(hostFolder);
  std::vector<std::string> aliases;
  const std::string wanted = text::ToUpper(name);
  for (std::size_t pass = 0; pass < 2; ++pass) {
    if (pass == 1) aliases = posix::DosAliases(names);
    for (std::size_t i = 0; i < names.size(); ++i) {
      const bool matches = pass == 0 ? text::EqualsNoCase(names[i], name) : aliases[i] == wanted;
      if (!matches || IsHiddenName(names[i])) continue;
      struct stat st {};
      if (::stat(posix::JoinHost(hostFolder, names[i]).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        return names[i];
      }
    }
  }
  return {};
}

bool SetCurrentDirectory(const std::string& dosPath) {
  const std::string host = DosToHost(dosPath.empty() ? std::string("\\") : dosPath);
  return posix::IsDirectory(host) && ::chdir(host.c_str()) == 0;
}

std::string CurrentDirectory() {
  return HostToDos(HostCurrentDirectory());
}

}  // namespace platform
