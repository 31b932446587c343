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
GameStart ReadDosSwitches(const std::vector<std::string>& words, char switchChar, bool unknownQuits,
                          bool fakePlayersHoldAMap) {
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
    // A digit loads that slot's saved game, in place of a level named
    // before it (the game does not read one named after it the same way).
    if (std::isdigit(static_cast<unsigned char>(w[1])) && w.size() == 2) {
      game.savedGame = w[1] - '0';
      game.startsLevel = false;
      continue;
    }
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
        if (!rest.empty()) game.groups.push_back(game.group);
        break;
      case 'x':
        // The main script in place of GAME.CON (a DOS game's switch alone).
        if (switchChar == '/' && !rest.empty()) {
          game.con = rest;
        } else if (unknownQuits) {
          game.quits = true;
        }
        break;
      case 'j':
        break;  // a search path
      default:
        if (unknownQuits) game.quits = true;
    }
  }
  if (allRespawn) game.respawn = {Respawn::kMonsters, Respawn::kItems, Respawn::kInventory};
  if (mapGiven && fakePlayersHoldAMap && game.fakePlayers > 0) game.startsLevel = false;
  if (!game.startsLevel && game.savedGame < 0) {
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

std::string Describe(const GameStart& g) {
  std::ostringstream out;
  out << (g.quits ? "quits; " : "") << (g.startsLevel ? "level " : "title screen ") << g.episode
      << "-" << g.level << ", skill " << g.skill << (g.skillFromMenu ? " (menu)" : "")
      << ", respawn";
  for (const auto r : g.respawn) out << " " << static_cast<int>(r);
  out << (g.monstersOff ? ", monsters off" : "") << (g.sound ? "" : ", no sound")
      << (g.music ? "" : ", no music") << (g.recordsDemo ? ", demo" : "") << ", fake players "
      << g.fakePlayers << (g.ai ? ", ai" : "") << ", map '" << g.map << "', group '" << g.group
      << "'" << (g.savedGame >= 0 ? ", saved game " + std::to_string(g.savedGame) : "");
  return out.str();
}

}  // namespace testsupport
