// An installed Kestrum made at home in a game's folder: the link there that
// makes the folder its program directory, and a menu entry that starts
// Kestrum by that link.
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "os/processes.h"
#include "os/game_folder.h"
#include "os/posix/small_files.h"

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
std::string QuotedArgument(const std::string& path) {
  std::string quoted = "\"";
  for (const char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return EntryText(quoted);
}

// Exec for a program at that path. GLib's menus look the program up by the
// text of Exec's first word before "%%" becomes "%" (and so never find a
// path that holds one): such a path is handed to env, which GLib does find,
// as its argument. env takes a word with "=" for a variable, so a path with
// both cannot be written at all.
std::string ExecLine(const std::string& path) {
  if (path.find('%') == std::string::npos) return QuotedArgument(path);
  if (path.find('=') != std::string::npos) return {};
  const std::string argument = QuotedArgument(path);
  return argument.empty() ? argument : "env " + argument;
}

// Whether the text is UTF-8, as every value of a menu entry must be.
bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    std::size_t more = 0;
    std::uint32_t code = 0;
    if (byte < 0x80) {
      ++i;
      continue;
    } else if ((byte & 0xe0) == 0xc0) {
      more = 1, code = byte & 0x1f;
    } else if ((byte & 0xf0) == 0xe0) {
      more = 2, code = byte & 0x0f;
    } else if ((byte & 0xf8) == 0xf0) {
      more = 3, code = byte & 0x07;
    } else {
      return false;
    }
    if (i + more >= text.size()) return false;
    for (std::size_t k = 1; k <= more; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xc0) != 0x80) return false;
      code = (code << 6) | (next & 0x3f);
    }
    // Overlong forms, surrogates and code points past Unicode's last.
    static constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (code < kLeast[more] || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff) return false;
    i += more + 1;
  }
  return true;
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

// Writes the menu entry; the problem that kept it from being written.
GameFolderHome::Problem WriteMenuEntry(const std::string& folder, const std::string& link,
                                       const MenuEntryTexts& texts, GameFolderHome& home,
                                       const std::vector<std::string>& arguments = {}) {
  using Problem = GameFolderHome::Problem;
  const std::string menu = MenuFolder();
  if (menu.empty()) return Problem::kNoMenuFolder;
  if (!IsUtf8(link)) return Problem::kNotUtf8;
  std::string exec = ExecLine(link);
  for (const std::string& argument : arguments) {
    const std::string quoted = IsUtf8(argument) ? QuotedArgument(argument) : std::string();
    if (quoted.empty()) return Problem::kUnnamable;
    exec += " " + quoted;
  }
  const std::string name = EntryText(texts.name);
  const std::string comment = EntryText(texts.comment);
  if (exec.empty() || name.empty() || comment.empty()) return Problem::kUnnamable;
  const std::string entry =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=" +
      name +
      "\n"
      "Comment=" +
      comment +
      "\n"
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
    home.reason = std::strerror(errno);
    home.menuFolder = menu;
    ::unlink(temp.c_str());
    return Problem::kEntryNotWritten;
  }
  return Problem::kNone;
}

// Whether the path leads to this very program: the same file, or a copy of
// it byte for byte (Kestrum copied there by hand).
bool IsThisProgram(const std::string& path) {
  struct stat there {
  }, self{};
  if (::stat(path.c_str(), &there) != 0 || !S_ISREG(there.st_mode) ||
      ::stat("/proc/self/exe", &self) != 0) {
    return false;
  }
  if (there.st_dev == self.st_dev && there.st_ino == self.st_ino) return true;
  if (there.st_size != self.st_size) return false;
  const int a = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  const int b = ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
  bool same = a >= 0 && b >= 0;
  char x[65536], y[65536];
  while (same) {
    const ssize_t n = ::read(a, x, sizeof x);
    if (n <= 0) {
      same = n == 0 && ::read(b, y, 1) == 0;
      break;
    }
    ssize_t got = 0;
    while (got < n) {
      const ssize_t m = ::read(b, y + got, static_cast<std::size_t>(n - got));
      if (m <= 0) break;
      got += m;
    }
    same = got == n && std::memcmp(x, y, static_cast<std::size_t>(n)) == 0;
  }
  if (a >= 0) ::close(a);
  if (b >= 0) ::close(b);
  return same;
}

}  // namespace

bool CanMakeGameFolderHome() {
  return true;
}

GameFolderHome MakeGameFolderHome(const std::string& folder, const MenuEntryTexts& texts) {
  using Problem = GameFolderHome::Problem;
  GameFolderHome home;
  home.link = folder + "/kestrum";
  char self[PATH_MAX];
  if (::realpath("/proc/self/exe", self) == nullptr) {
    home.problem = Problem::kSelfUnknown;
    return home;
  }
  struct stat st {};
  if (::lstat(home.link.c_str(), &st) != 0) {
    if (::symlink(self, home.link.c_str()) != 0) {
      home.problem = Problem::kLinkNotMade;
      home.reason = std::strerror(errno);
      return home;
    }
  } else if (!IsThisProgram(home.link)) {
    // Whatever is there was put there by someone: Kestrum neither runs a
    // stranger's file nor takes its place.
    char target[PATH_MAX] = {};
    const ssize_t n =
        S_ISLNK(st.st_mode) ? ::readlink(home.link.c_str(), target, sizeof target - 1) : -1;
    if (n > 0) home.target.assign(target, static_cast<std::size_t>(n));
    home.problem = Problem::kStrangerThere;
    return home;
  }
  home.linked = true;
  home.problem = WriteMenuEntry(folder, home.link, texts, home);
  return home;
}

GameFolderHome AddPresetToMenu(const std::string& folder, const std::string& preset,
                               const MenuEntryTexts& texts) {
  GameFolderHome home;
  home.link = folder + "/kestrum";
  // The entry starts Kestrum as the game folder's own entry does: by its
  // link there, which makes that folder the game's.
  if (!IsThisProgram(home.link)) {
    home.problem = GameFolderHome::Problem::kLinkNotMade;
    home.reason = "Kestrum has no link of its own there";
    return home;
  }
  home.linked = true;
  home.problem = WriteMenuEntry(folder + "\n--preset\n" + preset, home.link, texts, home,
                                {"--preset", preset});
  return home;
}

bool StartFromGameFolder(const std::string& folder) {
  const std::string link = folder + "/kestrum";
  return system::Start(link, {link}, kSwShowNormal, {}) != 0;
}

}  // namespace platform
