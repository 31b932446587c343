// An installed Kestrum made at home in a game's folder: the link there that
// makes the folder its program directory, and a menu entry that starts
// Kestrum by that link.
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/posix/small_files.h"
#include "platform/system.h"

namespace platform {

namespace {

// What a menu entry's text values hold, as the desktop entry format writes
// it; empty when a character cannot be written there at all.
std::string EntryText(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return {};
        out += c;
    }
  }
  if (!out.empty() && out[0] == ' ') out.replace(0, 1, "\\s");
  return out;
}

// A path as one quoted argument of Exec; empty when it cannot be one.
std::string ExecArgument(const std::string& path) {
  std::string quoted = "\"";
  for (const char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return EntryText(quoted);
}

std::string MenuFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && *data == '/') return std::string(data) + "/applications";
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home != '/') return {};
  return std::string(home) + "/.local/share/applications";
}

bool MakeFolders(const std::string& folder) {
  for (std::size_t pos = 1; pos != std::string::npos;) {
    pos = folder.find('/', pos + 1);
    if (::mkdir(folder.substr(0, pos).c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return true;
}

// The entry's own name: one for each game folder, the same each time.
std::string EntryName(const std::string& folder) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : folder) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  char name[40];
  std::snprintf(name, sizeof name, "kestrum-%016llx.desktop",
                static_cast<unsigned long long>(hash));
  return name;
}

std::string WriteMenuEntry(const std::string& folder, const std::string& link) {
  const std::string menu = MenuFolder();
  const std::string exec = ExecArgument(link);
  const std::string folderName = EntryText(folder.substr(folder.find_last_of('/') + 1));
  if (menu.empty() || exec.empty() || folderName.empty()) {
    return "Kestrum made its link in " + folder +
           ", but that folder cannot be named in a menu entry.";
  }
  // Named after its folder, so that two games (a copy with add-ons, say)
  // are told apart in the menu.
  const std::string name =
      folderName == "Duke Nukem 3D" ? folderName : "Duke Nukem 3D (" + folderName + ")";
  const std::string entry =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=" +
      name +
      "\n"
      "Comment=Play Duke Nukem 3D from " +
      EntryText(folder) +
      " with Kestrum\n"
      "Exec=" +
      exec +
      "\n"
      "Icon=kestrum\n"
      "Terminal=false\n"
      "Categories=Game;ActionGame;\n";
  const std::string path = menu + "/" + EntryName(folder);
  const std::string temp = path + ".tmp-" + std::to_string(::getpid());
  if (!MakeFolders(menu) || !posix::WriteSmallFile(temp, entry) ||
      ::chmod(temp.c_str(), 0644) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return "Kestrum made its link in " + folder + ", but could not write its menu entry in " +
           menu + ": " + std::strerror(errno) + ".";
  }
  return {};
}

}  // namespace

bool CanMakeGameFolderHome() {
  return true;
}

GameFolderHome MakeGameFolderHome(const std::string& dosFolder) {
  GameFolderHome home;
  const std::string folder = DosToHost(dosFolder);
  const std::string link = folder + "/kestrum";
  char self[PATH_MAX];
  if (::realpath("/proc/self/exe", self) == nullptr) {
    home.error = "Kestrum cannot tell where it is installed.";
    return home;
  }
  struct stat st {};
  if (::lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
    // Kestrum copied there by hand is at home already.
    if (!S_ISREG(st.st_mode)) {
      home.error = link + " is in the way of Kestrum's link there.";
      return home;
    }
  } else {
    // A link of an earlier Kestrum (built elsewhere) now leads to this one.
    ::unlink(link.c_str());
    if (::symlink(self, link.c_str()) != 0) {
      home.error =
          "Kestrum could not make its link in " + folder + ": " + std::strerror(errno) + ".";
      return home;
    }
  }
  home.linked = true;
  home.error = WriteMenuEntry(folder, link);
  return home;
}

bool StartFromGameFolder(const std::string& dosFolder) {
  const std::string link = DosToHost(dosFolder) + "/kestrum";
  return system::Start(link, {link}, kSwShowNormal, {}) != 0;
}

}  // namespace platform
