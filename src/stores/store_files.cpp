#include "stores/store_files.h"

#include <cstddef>

namespace stores {

namespace {

// The lines of a text, without their line ends.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A quoted text from its opening quote on, with backslash escapes as both
// Valve's files and JSON write them; false when it is not closed.
bool Quoted(std::string_view text, std::size_t& at, std::string& out) {
  if (at >= text.size() || text[at] != '"') return false;
  out.clear();
  for (++at; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '"') {
      ++at;
      return true;
    }
    if (c == '\\' && at + 1 < text.size()) {
      const char next = text[++at];
      if (next == 'u') {
        // \uXXXX: only what a path of plain text would hold is kept.
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
          if (at + 1 >= text.size()) return false;
          const char h = text[++at];
          value = value * 16 + static_cast<unsigned>(h >= '0' && h <= '9'   ? h - '0'
                                                     : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                                     : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                                            : 0);
        }
        if (value < 0x80) {
          out.push_back(static_cast<char>(value));
        } else if (value < 0x800) {
          out.push_back(static_cast<char>(0xc0 | (value >> 6)));
          out.push_back(static_cast<char>(0x80 | (value & 0x3f)));
        } else {
          out.push_back(static_cast<char>(0xe0 | (value >> 12)));
          out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3f)));
          out.push_back(static_cast<char>(0x80 | (value & 0x3f)));
        }
        continue;
      }
      out.push_back(next == 'n' ? '\n' : next == 't' ? '\t' : next);
      continue;
    }
    out.push_back(c);
  }
  return false;
}

void SkipBlanks(std::string_view text, std::size_t& at) {
  while (at < text.size() &&
         (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n')) {
    ++at;
  }
}

// Every value of that key, written "key" VALUE (Valve) or "key": VALUE (JSON).
std::vector<std::string> QuotedValuesOf(std::string_view text, std::string_view key, bool colon) {
  std::vector<std::string> values;
  std::size_t at = 0;
  std::string token;
  while ((at = text.find('"', at)) != std::string_view::npos) {
    if (!Quoted(text, at, token)) break;
    if (token != key) continue;
    std::size_t value = at;
    SkipBlanks(text, value);
    if (colon) {
      if (value >= text.size() || text[value] != ':') continue;
      ++value;
      SkipBlanks(text, value);
    }
    std::string found;
    if (value < text.size() && text[value] == '"' && Quoted(text, value, found)) {
      if (!found.empty()) values.push_back(found);
      at = value;
    }
  }
  return values;
}

// A YAML scalar as Lutris writes one: plain, or in quotes.
std::string Scalar(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

}  // namespace

std::vector<std::string> SteamLibraries(std::string_view vdf) {
  return QuotedValuesOf(vdf, "path", false);
}

std::vector<std::string> HeroicInstallPaths(std::string_view json) {
  return QuotedValuesOf(json, "install_path", true);
}

std::vector<std::string> LutrisGameFolders(std::string_view yml) {
  std::vector<std::string> folders;
  bool inGame = false;
  for (std::string_view line : Lines(yml)) {
    if (Trim(line).empty() || Trim(line).front() == '#') continue;
    const bool indented = line.front() == ' ' || line.front() == '\t';
    if (!indented) {
      inGame = Trim(line) == "game:";
      continue;
    }
    if (!inGame) continue;
    const std::string_view entry = Trim(line);
    const auto colon = entry.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view key = entry.substr(0, colon);
    const std::string value = Scalar(entry.substr(colon + 1));
    if (value.empty() || value.front() != '/') continue;
    if (key == "exe") {
      const auto slash = value.find_last_of('/');
      folders.push_back(slash == 0 ? std::string("/") : value.substr(0, slash));
    } else if (key == "prefix") {
      folders.push_back(value);
    }
  }
  return folders;
}

std::string DesktopEntryPath(std::string_view desktop) {
  bool inEntry = false;
  for (std::string_view line : Lines(desktop)) {
    const std::string_view trimmed = Trim(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      inEntry = trimmed == "[Desktop Entry]";
      continue;
    }
    if (inEntry && trimmed.substr(0, 5) == "Path=") return std::string(trimmed.substr(5));
  }
  return {};
}

}  // namespace stores
