#include "support/game_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

namespace testsupport {

namespace {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

bool Is(const std::string& word, const char* lower) {
  if (word.size() != std::string(lower).size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(word[i])) != lower[i]) return false;
  }
  return true;
}

std::string WithExtension(std::string name, const char* extension) {
  const auto slash = name.find_last_of("\\/");
  if (name.find('.', slash == std::string::npos ? 0 : slash) == std::string::npos)
    name += extension;
  return name;
}

// The words both read alike: t1 monsters, t2 items, t3 inventory, anything
// else all three; ns no sound, nm no music, anything else the help.
void ReadRespawn(const std::string& rest, GameStart& game, bool& all) {
  if (rest == "1") {
    game.respawn.insert(Respawn::kMonsters);
  } else if (rest == "2") {
    game.respawn.insert(Respawn::kItems);
  } else if (rest == "3") {
    game.respawn.insert(Respawn::kInventory);
  } else {
    all = true;
  }
}
void ReadNoSound(const std::string& rest, GameStart& game) {
  if (Is(rest, "s")) {
    game.sound = false;
  } else if (Is(rest, "m")) {
    game.music = false;
  } else {
    game.quits = true;
  }
}

}  // namespace

namespace {

// The DOS game's switches as a reader of them takes them: with that switch
// character, and an unknown letter either ending the game with its help
// (the DOS game) or only warned of (JFDuke3D). With fake players a user map
// is started at once, or not (JFDuke3D).
GameStart ReadDosSwitches(const std::vector<std::string>& words, char switchChar,
                          bool unknownQuits, bool fakePlayersHoldAMap) {
  GameStart game;
  bool allRespawn = false;
  bool mapGiven = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (Is(w, "-map") || Is(w, "/map")) {
      if (i + 1 < words.size()) {
        game.map = WithExtension(words[++i], ".map");
        game.startsLevel = true;
        mapGiven = true;
      }
      continue;
    }
    if (Is(w, "-nosetup") && switchChar == '-') continue;
    if (w.size() < 2 || w[0] != switchChar) continue;  // other words are not read
    const std::string rest = w.substr(2);
    switch (std::tolower(static_cast<unsigned char>(w[1]))) {
      case 's':
        game.skill = std::atoi(rest.c_str()) % 5;
        if (game.skill == 4) game.respawn.insert(Respawn::kMonsters);
        break;
      case 'v':
        game.episode = std::atoi(rest.c_str());
        game.startsLevel = true;
        break;
      case 'l':
        game.level = std::atoi(rest.c_str());
        game.startsLevel = true;
        break;
      case 't':
        ReadRespawn(rest, game, allRespawn);
        break;
      case 'm':
        game.monstersOff = true;
        game.skill = 0;
        break;
      case 'n':
        ReadNoSound(rest, game);
        break;
      case 'r':
        game.recordsDemo = true;
        break;
      case 'q':
        game.fakePlayers = rest.empty() ? 1 : std::atoi(rest.c_str());
        allRespawn = true;
        break;
      case 'a':
        game.ai = true;
        break;
      case 'g':
        // Only a name attached to the switch is a group file.
        if (!rest.empty()) game.group = WithExtension(rest, ".grp");
        break;
      case 'j':
        break;  // a search path
      default:
        if (unknownQuits) game.quits = true;
    }
  }
  if (allRespawn) game.respawn = {Respawn::kMonsters, Respawn::kItems, Respawn::kInventory};
  if (mapGiven && fakePlayersHoldAMap && game.fakePlayers > 0) game.startsLevel = false;
  if (!game.startsLevel) {
    game.skillFromMenu = true;
    if (game.fakePlayers > 0) {
      game.monstersOff = true;
      game.skill = 0;
    }
  }
  return game;
}

}  // namespace

GameStart ReadAsTheGame(const std::string& commandLine) {
  auto words = Words(commandLine);
  // What command.com is told to run, then the game's own name.
  if (words.size() >= 2 && Is(words[0], "command.com") && Is(words[1], "/c")) {
    words.erase(words.begin(), words.begin() + 2);
  }
  if (!words.empty()) words.erase(words.begin());
  return ReadDosSwitches(words, '/', true, false);
}

GameStart ReadAsJFDuke3D(const std::vector<std::string>& argv) {
  const std::vector<std::string> words(argv.begin() + (argv.empty() ? 0 : 1), argv.end());
  return ReadDosSwitches(words, '-', false, true);
}

GameStart ReadAsRaze(const std::vector<std::string>& argv) {
  GameStart game;
  std::vector<std::string> files;
  std::string map;
  const auto name = [](const std::string& path) {
    return path.substr(path.find_last_of("/\\") + 1);
  };
  for (std::size_t i = 1; i < argv.size(); ++i) {
    const std::string& w = argv[i];
    if (w.empty() || w[0] != '-') continue;  // a "+" word is a console command; others are not read
    const bool takesValue = Is(w, "-gamegrp") || Is(w, "-iwad") || Is(w, "-map") || Is(w, "-file");
    if (takesValue && i + 1 < argv.size()) {
      const std::string& value = argv[++i];
      if (Is(w, "-map")) map = value;
      if (Is(w, "-file")) files.push_back(value);
      continue;
    }
    if (Is(w, "-nosound")) {
      game.sound = false;
      game.music = false;
    } else if (Is(w, "-nosfx")) {
      game.sound = false;
    } else if (Is(w, "-nomusic")) {
      game.music = false;
    }
  }
  for (const auto& file : files) {
    const auto dot = file.find_last_of('.');
    std::string extension = dot == std::string::npos ? std::string() : file.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".grp" || extension == ".zip") game.group = file;
  }
  if (!map.empty()) {
    // A level's label starts that level, whatever file of that name there is.
    int episode = 0, level = 0;
    char rest = '\0';
    const std::string lower = [&] {
      std::string l = map;
      for (char& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      return l;
    }();
    if (std::sscanf(lower.c_str(), "e%dl%d%c", &episode, &level, &rest) == 2 ||
        (std::sscanf(lower.c_str(), "e%dl%d.ma%c", &episode, &level, &rest) == 3 && rest == 'p')) {
      game.startsLevel = true;
      game.episode = episode;
      game.level = level;
    } else {
      for (const auto& file : files) {
        if (name(file) == map) {
          game.map = file;
          game.startsLevel = true;
        }
      }
    }
  }
  if (!game.startsLevel) game.skillFromMenu = true;
  return game;
}

namespace {

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(
      std::filesystem::path(reinterpret_cast<const char8_t*>(path.c_str())), error);
}

}  // namespace

GameStart ReadAsThePort(const std::vector<std::string>& argv, const std::string& gameFolder) {
  GameStart game;
  bool allRespawn = false;
  bool warp = false;
  std::string map;
  std::vector<std::string> searchPath;
  const auto extension = [](const std::string& w) {
    const auto dot = w.find_last_of('.');
    std::string e = dot == std::string::npos ? std::string() : w.substr(dot);
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return e;
  };
  for (std::size_t i = 1; i < argv.size(); ++i) {
    const std::string& w = argv[i];
    if (w.size() < 2 || w[0] != '-') {
      // Not an option: read by its extension.
      if (extension(w) == ".map") {
        map = w;
      } else if (extension(w) == ".grp" || extension(w) == ".zip" || extension(w) == ".pk3") {
        game.group = w;
      }
      continue;
    }
    // Long options take the next argument whole.
    if (Is(w, "-map") || Is(w, "-g") || Is(w, "-grp") || Is(w, "-x") || Is(w, "-h") ||
        Is(w, "-j") || Is(w, "-cfg") || Is(w, "-gamegrp")) {
      if (i + 1 >= argv.size()) continue;
      const std::string& value = argv[++i];
      if (Is(w, "-map")) {
        map = value;
      } else if (Is(w, "-g") || Is(w, "-grp")) {
        game.group = value;
      } else if (Is(w, "-j")) {
        searchPath.push_back(value);
      }
      continue;
    }
    if (Is(w, "-nosetup") || Is(w, "-nologo") || Is(w, "-usecwd")) continue;
    const std::string rest = w.substr(2);
    const bool digit = !rest.empty() && std::isdigit(static_cast<unsigned char>(rest[0]));
    switch (std::tolower(static_cast<unsigned char>(w[1]))) {
      case 's':
        // Clamped to the game's own skills, not taken modulo.
        game.skill = std::max(0, std::min(4, std::atoi(rest.c_str())));
        if (game.skill == 4) game.respawn.insert(Respawn::kMonsters);
        break;
      case 'v':
        game.episode = std::atoi(rest.c_str());
        warp = true;
        break;
      case 'l':
        if (digit) {
          game.level = std::atoi(rest.c_str());
          warp = true;
        }
        break;
      case 't':
        ReadRespawn(rest, game, allRespawn);
        break;
      case 'm':
        if (rest.empty()) {
          game.monstersOff = true;
          game.skill = 0;
        }
        break;
      case 'n':
        ReadNoSound(rest, game);
        break;
      case 'r':
        game.recordsDemo = true;
        break;
      case 'q': {
        const int players = std::atoi(rest.c_str());
        game.fakePlayers = players >= 2 && players <= 8 ? players : 1;
        allRespawn = true;
        break;
      }
      case 'a':
        game.ai = true;
        break;
      case 'g':
        if (!rest.empty()) game.group = rest;
        break;
      default:
        break;  // an unknown letter is only warned of
    }
  }
  if (!map.empty()) {
    const char* home = std::getenv("HOME");
    searchPath.push_back(gameFolder);
    searchPath.push_back(std::string(home != nullptr ? home : "") + "/.config/eduke32");
    const std::string name = map.substr(map.find_first_not_of('/') == std::string::npos
                                            ? map.size()
                                            : map.find_first_not_of('/'));
    for (const auto& folder : searchPath) {
      if (!name.empty() && IsFile(folder + "/" + name)) {
        game.map = folder + "/" + name;
        warp = true;
        break;
      }
    }
  }
  if (allRespawn) game.respawn = {Respawn::kMonsters, Respawn::kItems, Respawn::kInventory};
  game.startsLevel = warp;
  if (!warp) game.skillFromMenu = true;
  return game;
}

std::string Describe(const GameStart& g) {
  std::ostringstream out;
  out << (g.quits ? "quits; " : "") << (g.startsLevel ? "level " : "title screen ") << g.episode
      << "-" << g.level << ", skill " << g.skill << (g.skillFromMenu ? " (menu)" : "")
      << ", respawn";
  for (const auto r : g.respawn) out << " " << static_cast<int>(r);
  out << (g.monstersOff ? ", monsters off" : "") << (g.sound ? "" : ", no sound")
      << (g.music ? "" : ", no music") << (g.recordsDemo ? ", demo" : "") << ", fake players "
      << g.fakePlayers << (g.ai ? ", ai" : "") << ", map '" << g.map << "', group '" << g.group
      << "'";
  return out.str();
}

}  // namespace testsupport
