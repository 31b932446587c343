#include "support/engine_oracles.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdlib>

#include "support/test_support.h"

namespace testsupport {

namespace {

struct Parser {
  const std::string& s;
  std::size_t at = 0;

  void Blanks() {
    while (at < s.size() && std::isspace(static_cast<unsigned char>(s[at]))) ++at;
  }
  bool Take(char c) {
    Blanks();
    if (at < s.size() && s[at] == c) {
      ++at;
      return true;
    }
    return false;
  }
  static void Utf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xc0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xe0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
      out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
      out += static_cast<char>(0xf0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
      out += static_cast<char>(0x80 | (code & 0x3f));
    }
  }
  unsigned Hex4() {
    const unsigned code = static_cast<unsigned>(std::stoul(s.substr(at, 4), nullptr, 16));
    at += 4;
    return code;
  }
  std::string String() {
    std::string out;
    ++at;  // the opening quote
    while (at < s.size() && s[at] != '"') {
      if (s[at] != '\\') {
        out += s[at++];
        continue;
      }
      const char e = s[++at];
      ++at;
      switch (e) {
        case 'n':
          out += '\n';
          break;
        case 't':
          out += '\t';
          break;
        case 'r':
          out += '\r';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'u': {
          unsigned code = Hex4();
          if (code >= 0xd800 && code < 0xdc00 && s.compare(at, 2, "\\u") == 0) {
            at += 2;
            code = 0x10000 + ((code - 0xd800) << 10) + (Hex4() - 0xdc00);
          }
          Utf8(out, code);
          break;
        }
        default:
          out += e;
      }
    }
    ++at;
    return out;
  }
  Json Value() {
    Json v;
    Blanks();
    if (at >= s.size()) return v;
    const char c = s[at];
    if (c == '{') {
      v.kind = Json::Kind::kObject;
      ++at;
      if (Take('}')) return v;
      do {
        Blanks();
        std::string key = String();
        Take(':');
        v.members.emplace_back(std::move(key), Value());
      } while (Take(','));
      Take('}');
    } else if (c == '[') {
      v.kind = Json::Kind::kArray;
      ++at;
      if (Take(']')) return v;
      do v.items.push_back(Value());
      while (Take(','));
      Take(']');
    } else if (c == '"') {
      v.kind = Json::Kind::kString;
      v.text = String();
    } else if (s.compare(at, 4, "true") == 0 || s.compare(at, 5, "false") == 0) {
      v.kind = Json::Kind::kBool;
      v.boolean = s[at] == 't';
      at += v.boolean ? 4 : 5;
    } else if (s.compare(at, 4, "null") == 0) {
      at += 4;
    } else {
      v.kind = Json::Kind::kNumber;
      std::size_t used = 0;
      v.number = std::stod(s.substr(at), &used);
      at += used;
    }
    return v;
  }
};

bool Truthy(const Json& v) {
  return v.kind == Json::Kind::kBool ? v.boolean : v.kind == Json::Kind::kNumber && v.number != 0;
}

}  // namespace

const Json& Json::operator[](const std::string& key) const {
  static const Json none;
  for (const auto& [name, value] : members) {
    if (name == key) return value;
  }
  return none;
}

Json ParseJson(const std::string& text) {
  Parser parser{text};
  return parser.Value();
}

std::string EngineOracles() {
  const std::string oracle = KESTRUM_ENGINE_ORACLES;
  struct stat st {};
  return ::stat(oracle.c_str(), &st) == 0 ? oracle : std::string();
}

EngineAnswer AskEngine(const std::string& engine, const std::vector<std::string>& argv,
                       const std::string& cwd, const std::string& home, const std::string& path) {
  // The oracle is a Python program, found where the system keeps Python,
  // whatever PATH the test has set.
  std::vector<std::string> command{
      "/usr/bin/python3", EngineOracles(), engine, "--cwd", cwd, "--home", home};
  if (!path.empty()) command.insert(command.end(), {"--path", path});
  command.push_back("--");
  command.insert(command.end(), argv.begin(), argv.end());
  EngineAnswer answer;
  int status = -1;
  {
    // Built once for every test, with the system's compilers, whatever
    // HOME and PATH the test has set.
    ScopedEnv cache("KESTRUM_ORACLE_CACHE", std::getenv("KESTRUM_ORACLE_CACHE") != nullptr
                                                ? std::string(std::getenv("KESTRUM_ORACLE_CACHE"))
                                                : std::string(KESTRUM_ORACLE_CACHE));
    ScopedEnv system("PATH", std::string("/usr/local/bin:/usr/bin:/bin"));
    answer.raw = Output(command, &status, false);
  }
  if (status != 0) {
    answer.error = "the oracle ended with " + std::to_string(status) + ": " + answer.raw;
    return answer;
  }
  answer.json = ParseJson(answer.raw);
  if (answer.json.kind != Json::Kind::kObject) answer.error = "no answer: " + answer.raw;
  return answer;
}

GameStart AsGameStart(const std::string& engine, const Json& answer) {
  GameStart game;
  game.quits = Truthy(answer["exited"]);
  const Json& start = answer["start"];
  if (game.quits || start.IsNull()) return game;
  if (engine == "raze") {
    const std::string starts = start["starts"].text;
    game.startsLevel = starts == "level" || starts == "user map";
    const std::string label = start["level"].text;  // "E2L5"
    if (label.size() >= 4 && (label[0] == 'E' || label[0] == 'e')) {
      game.episode = std::atoi(label.c_str() + 1);
      game.level = std::atoi(label.c_str() + label.find_first_of("Ll") + 1);
    }
    if (!start["map_file"].IsNull()) game.map = start["map_file"].text;
    // A user's group is a resource after the game's own.
    const Json& resources = start["resources"];
    for (std::size_t i = 2; i < resources.items.size(); ++i) {
      const std::string& r = resources.items[i].text;
      if (r.size() > 4 && (r.ends_with(".grp") || r.ends_with(".GRP"))) game.group = r;
    }
  } else {
    game.startsLevel = Truthy(start["warp"]);
    if (game.startsLevel && start["map"].IsNull()) {
      game.episode = start["volume"].Int() + 1;
      game.level = start["level"].Int() + 1;
    }
    if (!start["map_file"].IsNull()) game.map = start["map_file"].text;
    const Json& groups = start["groups"];
    for (std::size_t i = 1; i < groups.items.size(); ++i) {
      if (Truthy(groups.items[i]["loaded"])) game.group = groups.items[i]["file"].text;
    }
  }
  game.skill = start["skill"].Int();
  game.skillFromMenu = !game.startsLevel;
  if (Truthy(start["respawn_monsters"])) game.respawn.insert(Respawn::kMonsters);
  if (Truthy(start["respawn_items"])) game.respawn.insert(Respawn::kItems);
  if (Truthy(start["respawn_inventory"])) game.respawn.insert(Respawn::kInventory);
  game.monstersOff = Truthy(start["monsters_off"]);
  game.sound = start["sound"].IsNull() || Truthy(start["sound"]);
  game.music = start["music"].IsNull() || Truthy(start["music"]);
  game.recordsDemo = Truthy(start["record"]);
  const int players = start["players"].Int();
  game.fakePlayers = players > 1 ? players : 0;
  game.ai = Truthy(start["ai"]);
  return game;
}

std::vector<std::string> FilesOpened(const std::string& engine, const Json& answer) {
  std::vector<std::string> files;
  const Json& start = answer["start"];
  if (!start["map_file"].IsNull()) files.push_back(start["map_file"].text);
  if (engine == "raze") {
    for (const Json& r : start["resources"].items) files.push_back(r.text);
  } else {
    for (const Json& g : start["groups"].items) {
      if (Truthy(g["loaded"])) files.push_back(g["file"].text);
    }
  }
  return files;
}

}  // namespace testsupport
