#include "launch/saved_games.h"

#include <algorithm>
#include <cstdlib>

#include "base/main_window.h"
#include "os/folders.h"
#include "text/text.h"
#include "winapi/dos_paths.h"

namespace launch {

namespace {

// The version a DOS game or JFDuke3D writes with the data this folder holds:
// the release its DUKE3D.GRP is, by its size.
int DosVersion(const GameFolder& folder) {
  const std::string edition = EditionOfGroupSize(folder.groupSize);
  if (folder.groupSize == 11035779) return saves::kDos13Shareware;
  return edition == "1.4" || edition == "1.3D" ? saves::kDos14 : saves::kDos15;
}
int JFDuke3DVersion(const GameFolder& folder) {
  if (folder.groupSize == 11035779) return saves::kJFDuke3D + 2;
  return saves::kJFDuke3D + (EditionOfGroupSize(folder.groupSize) == "1.3D" ? 0 : 1);
}

std::string Damaged(const saves::SaveInfo& info) {
  return info.readable ? std::string() : "It cannot be read: the file is damaged.";
}

std::string DosWhyNot(const saves::SaveInfo& info, const GameFolder& folder) {
  if (!info.readable) return Damaged(info);
  if (info.version != DosVersion(folder)) {
    return "It was saved by another version of the game (its version " +
           std::to_string(info.version) + ", this one's " + std::to_string(DosVersion(folder)) +
           ").";
  }
  if (info.players != 1) return "It is a game of several players, which loads only in one.";
  return {};
}

std::string JFDuke3DWhyNot(const saves::SaveInfo& info, const GameFolder& folder) {
  if (!info.readable) return Damaged(info);
  if (info.version != JFDuke3DVersion(folder)) {
    return "It was saved by another version of the game or another program (its version " +
           std::to_string(info.version) + ", this one's " +
           std::to_string(JFDuke3DVersion(folder)) + ").";
  }
  if (info.players != 1) return "It is a game of several players, which loads only in one.";
  return {};
}

std::string EDuke32WhyNot(const saves::SaveInfo& info, const GameFolder& folder) {
  if (!info.readable) return Damaged(info);
  if (info.pointerSize != static_cast<int>(sizeof(void*))) {
    return "It was saved by a " + std::to_string(info.pointerSize * 8) +
           "-bit EDuke32, which this one cannot load.";
  }
  const int bytever = saves::kEDuke32Bytever + (folder.groupSize == 11035779 ? 2 : 1);
  if (info.version != bytever) return "It was saved with other game data.";
  if (!text::EqualsNoCase(info.script, "GAME.CON")) {
    return "It was saved with another main script (" + info.script + ").";
  }
  return {};
}

std::string RazeWhyNot(const saves::SaveInfo& info, const GameFolder& folder) {
  if (!info.readable) return Damaged(info);
  if (info.engine != "Raze.Duke") return "It is a save of another game (" + info.engine + ").";
  if (info.version > saves::kRazeSaveVersion) return "It was saved by a newer Raze.";
  if (info.version < saves::kRazeSaveVersion) return "It was saved by an older Raze.";
  const std::string group = folder.mainGroup.substr(platform::LastSeparator(folder.mainGroup) + 1);
  if (!text::EqualsNoCase(info.script, group)) {
    return "It needs another game's data (" + info.script + ").";
  }
  return {};
}

// Where each engine keeps its saves and how it names them: a row each.
// A place as each system has it.
#ifdef _WIN32
#define KESTRUM_PLACE(posix, windows) windows
#else
#define KESTRUM_PLACE(posix, windows) posix
#endif

struct SaveRow {
  GameEngine engine;
  // Below the engine's own folder ("" none; "{game}" the game folder;
  // "{filter}" Raze's folder for the game it plays).
  const char* below;
  const char* prefix;  // the names' start and end (any case); a slot's digit between them
  const char* suffix;
  bool slot;  // told to load one by its slot; else by its name, where at all
  saves::SaveInfo (*read)(std::string_view bytes);
  std::string (*whyNot)(const saves::SaveInfo& info, const GameFolder& folder);
  // Windows: its own folder, in the folder that variable names (the engine
  // row's own folder is below the home, where the other systems keep it).
  const char* windowsBase = "";
  const char* windowsOwn = "";
};

const std::vector<SaveRow>& SaveRows() {
  static const std::vector<SaveRow> rows = {
      {GameEngine::kDos, "{game}", "game", ".sav", true, saves::ReadGameSave, DosWhyNot},
      {GameEngine::kEDuke32, KESTRUM_PLACE("", "{game}"), "", ".esv", false, saves::ReadEDuke32Save,
       EDuke32WhyNot},
      {GameEngine::kRaze, KESTRUM_PLACE("savegames/{filter}", "{filter}"), "", ".dsave", false,
       saves::ReadRazeSave, RazeWhyNot, "USERPROFILE", "Saved Games\\Raze"},
      {GameEngine::kJFDuke3D, "", "game", ".sav", true, saves::ReadGameSave, JFDuke3DWhyNot,
       "APPDATA", "JFDuke3D"},
  };
  return rows;
}

const SaveRow* RowFor(GameEngine engine) {
  for (const SaveRow& row : SaveRows()) {
    if (row.engine == engine) return &row;
  }
  return nullptr;
}

// Raze's folder for the game it plays, by its group's release.
std::string RazeFilter(const GameFolder& folder) {
  if (folder.groupSize == 44486702) return "Duke.WorldTour";
  if (folder.groupSize == 26524524) return "Duke.Duke.13";
  return "Duke.Duke.15";
}

// The engine's own folder, where it runs on this system.
std::string OwnFolder([[maybe_unused]] const FoundEngine& found,
                      [[maybe_unused]] const SaveRow& row) {
#ifdef _WIN32
  const char* base = std::getenv(row.windowsBase);
  if (base == nullptr || *row.windowsOwn == '\0') return {};
  return std::string(base) + "\\" + row.windowsOwn;
#else
  const std::string own = RowOf(found.engine).ownFolder;
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home != '/' || own.empty()) return {};
  if (!found.flatpakId.empty())
    return std::string(home) + "/.var/app/" + found.flatpakId + "/" + own;
  return std::string(home) + "/" + own;
#endif
}

// A slot's digit in a name of that form ("GAME3.SAV": 3); -1 for none.
int SlotOf(const std::string& name, const SaveRow& row) {
  const std::string lower = text::ToLower(name);
  const std::size_t p = std::char_traits<char>::length(row.prefix);
  const std::size_t s = std::char_traits<char>::length(row.suffix);
  if (lower.size() != p + 1 + s || lower.compare(0, p, row.prefix) != 0 ||
      lower.compare(p + 1, s, row.suffix) != 0 || lower[p] < '0' || lower[p] > '9') {
    return -1;
  }
  return lower[p] - '0';
}

}  // namespace

std::vector<std::string> SaveFolders(const FoundEngine& found, const GameFolder& folder) {
  const SaveRow* row = RowFor(found.engine);
  if (row == nullptr) return {};
  std::string below = row->below;
  if (below == "{game}") return {platform::ProgramFolder()};
  const std::string own = OwnFolder(found, *row);
  if (own.empty()) return {};
  const auto filter = below.find("{filter}");
  if (filter != std::string::npos) below.replace(filter, 8, RazeFilter(folder));
#ifdef _WIN32
  for (char& c : below) c = c == '/' ? '\\' : c;
#endif
  return {below.empty() ? own : platform::InFolder(own, below)};
}

std::vector<SavedGame> SavedGames(const GameFolder& folder, GameEngine engine) {
  std::vector<SavedGame> games;
  const FoundEngine* found = folder.Find(engine);
  const SaveRow* row = RowFor(engine);
  if (found == nullptr || row == nullptr) return games;
  for (const std::string& where : SaveFolders(*found, folder)) {
    // Only names of the engine's form are looked at, each once.
    for (const std::string& path : platform::system::FilesEndingIn(where, "", kMostEntries)) {
      const std::string name = path.substr(platform::LastSeparator(path) + 1);
      const int slot = row->slot ? SlotOf(name, *row) : -1;
      if (row->slot
              ? slot < 0
              : !text::EqualsNoCase(text::Right(name, std::char_traits<char>::length(row->suffix)),
                                    row->suffix)) {
        continue;
      }
      const long long modified = platform::system::ModifiedTime(path);
      if (modified == 0) continue;
      SavedGame game;
      game.path = path;
      game.modified = modified;
      if (row->slot) {
        game.load = std::to_string(slot);
      } else if (RowOf(engine).dialect({}, {}).save != CommandDialect::Save::kNone) {
        game.load = name.substr(0, name.size() - std::char_traits<char>::length(row->suffix));
      }
      games.push_back(std::move(game));
    }
  }
  std::sort(games.begin(), games.end(),
            [](const SavedGame& a, const SavedGame& b) { return a.modified > b.modified; });
  if (games.size() > kMostSaves) games.resize(kMostSaves);
  // Their headers (and pictures) alone: a save's game state is not read.
  constexpr std::size_t kMostBytes = std::size_t{64} << 20;
  for (SavedGame& game : games) {
    const std::size_t limit = row->read == saves::ReadRazeSave ? kMostBytes : std::size_t{1} << 18;
    game.info = row->read(platform::system::ReadListFile(game.path, limit));
    game.identity = platform::LocateFile(platform::HostPath{game.path}).identity;
    game.whyNot = row->whyNot(game.info, folder);
  }
  return games;
}

const SavedGame* NewestLoadable(const std::vector<SavedGame>& games) {
  for (const SavedGame& game : games) {
    if (game.whyNot.empty() && !game.load.empty()) return &game;
  }
  return nullptr;
}

std::string WhyNoContinue(GameEngine engine) {
  if (RowOf(engine).dialect({}, {}).save != CommandDialect::Save::kNone) return {};
  return std::string(RowOf(engine).menuText) +
         " cannot be told to load a saved game when it starts: start it, then load the game "
         "from its own menu (Load Game).";
}

std::string Describe(const SavedGame& game, const std::vector<std::string>& stages, long long now,
                     bool brief) {
  const saves::SaveInfo& info = game.info;
  std::string where;
  if (!info.userMap.empty()) {
    where = info.userMap.substr(info.userMap.find_last_of("/\\") + 1);
  } else if (info.episode > 0 && info.level > 0) {
    const std::string number = std::to_string(info.episode) + "-" + (info.level < 10 ? "0" : "") +
                               std::to_string(info.level);
    where = number;
    for (const std::string& stage : brief ? std::vector<std::string>{} : stages) {
      if (text::StartsWith(stage, number + "  ")) where = stage;
    }
  }
  std::string text = where.empty() ? std::string("A saved game") : where;
  const auto& skills = mainwindow::SkillEntries();
  if (info.skill >= 1 && static_cast<std::size_t>(info.skill) <= skills.size()) {
    text += (brief ? " " : ", ") + skills[static_cast<std::size_t>(info.skill - 1)];
  }
  if (!info.name.empty() && !brief) text += ", \"" + info.name + "\"";
  const long long ago = now > game.modified ? now - game.modified : 0;
  const auto unit = [](long long n, const char* one) {
    return std::to_string(n) + " " + one + (n == 1 ? "" : "s") + " ago";
  };
  text += ", ";
  if (ago < 60) {
    text += "just now";
  } else if (ago < 3600) {
    text += unit(ago / 60, "minute");
  } else if (ago < 86400) {
    text += unit(ago / 3600, "hour");
  } else {
    text += unit(ago / 86400, "day");
  }
  return text;
}

}  // namespace launch
