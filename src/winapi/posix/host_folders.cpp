#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "dos/dos_names.h"
#include "winapi/posix/host_folders.h"
#include "text/text.h"

namespace platform::posix {

namespace {

// One folder as it was read, with what tells whether it has changed since.
struct Listing {
  dev_t device = 0;
  ino_t inode = 0;
  timespec modified{};
  timespec changed{};
  // A folder changed within the last moments may change again within the
  // same tick of the file system's clock, unseen; such a listing is used
  // once and read again next time.
  bool settled = false;

  std::vector<std::string> names;  // in listing order
  // Every entry by its upper-case name, and (once asked for) by its alias;
  // each list of positions in listing order.
  std::unordered_map<std::string, std::vector<std::size_t>> byUpperName;
  std::vector<std::string> aliases;
  std::unordered_map<std::string, std::vector<std::size_t>> byAlias;
  bool aliased = false;

  void MakeAliases() {
    if (aliased) return;
    aliases = dos::DosAliases(names);
    byAlias.reserve(aliases.size());
    for (std::size_t i = 0; i < aliases.size(); ++i) byAlias[aliases[i]].push_back(i);
    aliased = true;
  }
};

bool Same(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// The listings kept, with the lock that guards them: one value for the run.
struct Kept {
  std::mutex lock;
  std::unordered_map<std::string, std::shared_ptr<Listing>> listings;
};
Kept& TheKept() {
  static Kept kept;
  return kept;
}
std::mutex& CacheLock() {
  return TheKept().lock;
}
std::unordered_map<std::string, std::shared_ptr<Listing>>& Cache() {
  return TheKept().listings;
}

// The folder's listing: the kept one while the folder is unchanged, else a
// fresh read. Null when the folder cannot be read. Call with the lock held.
std::shared_ptr<Listing> Listed(const std::string& hostFolder) {
  const std::string folder = hostFolder.empty() ? "." : hostFolder;
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return nullptr;
  auto& cache = Cache();
  if (const auto kept = cache.find(folder); kept != cache.end()) {
    const Listing& l = *kept->second;
    if (l.settled && l.device == st.st_dev && l.inode == st.st_ino &&
        Same(l.modified, st.st_mtim) && Same(l.changed, st.st_ctim)) {
      return kept->second;
    }
  }
  auto listing = std::make_shared<Listing>();
  listing->device = st.st_dev;
  listing->inode = st.st_ino;
  listing->modified = st.st_mtim;
  listing->changed = st.st_ctim;
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto newest = std::chrono::seconds(std::max(st.st_mtim.tv_sec, st.st_ctim.tv_sec));
  listing->settled = now - newest > std::chrono::seconds(2);
  listing->names = ListFolder(folder);
  listing->byUpperName.reserve(listing->names.size());
  for (std::size_t i = 0; i < listing->names.size(); ++i) {
    listing->byUpperName[text::ToUpper(listing->names[i])].push_back(i);
  }
  // Only a few folders are ever looked into: the game's, the maps' and the
  // folders above them. Many more means something walks the disk.
  if (cache.size() >= 64) cache.clear();
  cache[folder] = listing;
  return listing;
}

std::string RemoveTrailingDot(std::string s) {
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

const std::vector<std::size_t>* Positions(
    const std::unordered_map<std::string, std::vector<std::size_t>>& index,
    const std::string& key) {
  const auto found = index.find(key);
  return found == index.end() ? nullptr : &found->second;
}

}  // namespace

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
  // The exact name needs no listing at all.
  struct stat st {};
  const std::string folder = hostFolder.empty() ? "." : hostFolder;
  const std::string exact = folder.back() == '/' ? folder + dosName : folder + "/" + dosName;
  if (dosName.find('/') == std::string::npos && ::lstat(exact.c_str(), &st) == 0) return dosName;

  const std::lock_guard<std::mutex> hold(CacheLock());
  const auto listing = Listed(hostFolder);
  if (!listing) return {};
  if (const auto* found = Positions(listing->byUpperName, text::ToUpper(dosName))) {
    return listing->names[found->front()];
  }
  listing->MakeAliases();
  if (const auto* found = Positions(listing->byAlias, RemoveTrailingDot(text::ToUpper(dosName)))) {
    return listing->names[found->front()];
  }
  return {};
}

std::string AliasOf(const std::string& hostFolder, const std::string& entry) {
  const std::lock_guard<std::mutex> hold(CacheLock());
  const auto listing = Listed(hostFolder);
  if (!listing) return {};
  const auto* sameName = Positions(listing->byUpperName, text::ToUpper(entry));
  if (sameName == nullptr) return {};
  for (const std::size_t i : *sameName) {
    if (listing->names[i] == entry) {
      listing->MakeAliases();
      return listing->aliases[i];
    }
  }
  return {};
}

std::string FindEntry(const std::string& hostFolder, const std::string& dosName,
                      bool (*accept)(const std::string& hostFolder, const std::string& entry)) {
  if (dosName.empty()) return {};
  const std::lock_guard<std::mutex> hold(CacheLock());
  const auto listing = Listed(hostFolder);
  if (!listing) return {};
  const std::string wanted = text::ToUpper(dosName);
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) listing->MakeAliases();
    const auto* found = Positions(pass == 0 ? listing->byUpperName : listing->byAlias, wanted);
    if (found == nullptr) continue;
    for (const std::size_t i : *found) {
      if (accept(hostFolder, listing->names[i])) return listing->names[i];
    }
  }
  return {};
}

}  // namespace platform::posix
