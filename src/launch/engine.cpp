#include "launch/engine.h"

#include <cstdlib>

#include "os/processes.h"
#include "winapi/dos_paths.h"

namespace launch {

namespace {

CommandDialect DosGame(const std::vector<std::string>&, const std::string&) {
  return DosDialect();
}

// The ports' programs as this system names them: a Windows build beside the
// game is no program on Linux, and would only shadow one on PATH.
#ifdef _WIN32
#define KESTRUM_PROGRAM(name) name ".exe"
#else
#define KESTRUM_PROGRAM(name) name
#endif

}  // namespace

const std::vector<EngineRow>& Engines() {
  using S = StartedBy;
  static const std::vector<EngineRow> rows = {
      {GameEngine::kDos, "dos", "Duke3D.exe", "Duke3D.exe", "", "", S::kCommandInterpreter, false,
       false, DosGame},
      {GameEngine::kEDuke32, "eduke32", "EDuke32", "DUKE3D.GRP", KESTRUM_PROGRAM("eduke32"),
       "com.eduke32.EDuke32", S::kDirectly, true, true, PortDialect},
      {GameEngine::kRaze, "raze", "Raze", "DUKE3D.GRP", KESTRUM_PROGRAM("raze"), "org.zdoom.Raze",
       S::kDirectly, true, true, RazeDialect},
      {GameEngine::kJFDuke3D, "jfduke3d", "JFDuke3D", "DUKE3D.GRP", KESTRUM_PROGRAM("jfduke3d"), "",
       S::kDirectly, true, true, JFDuke3DDialect},
  };
  return rows;
}

const EngineRow& RowOf(GameEngine engine) {
  for (const EngineRow& row : Engines()) {
    if (row.id == engine) return row;
  }
  return Engines().front();
}

const EngineRow* RowSavedAs(const std::string& name) {
  for (const EngineRow& row : Engines()) {
    if (name == row.savedAs) return &row;
  }
  return nullptr;
}

bool GameFolder::Has(GameEngine engine) const {
  for (const FoundEngine& found : engines) {
    if (found.engine == engine) return true;
  }
  return false;
}

const FoundEngine* GameFolder::Find(GameEngine engine) const {
  for (const FoundEngine& found : engines) {
    if (found.engine == engine) return &found;
  }
  return nullptr;
}

std::vector<std::string> ProgramWords(const FoundEngine& found,
                                      const std::vector<std::string>& grantedFolders) {
  if (found.flatpakId.empty()) return {found.program};
  // The app sees its own folders only: the run is granted the game's and
  // the user's file's, to read, and nothing else of the home.
  std::vector<std::string> words{found.program, "run"};
  for (const auto& folder : grantedFolders) words.push_back("--filesystem=" + folder + ":ro");
  words.push_back(found.flatpakId);
  return words;
}

GameFolder LookAtGameFolder() {
  return LookAtFolder(platform::ProgramFolder());
}

GameFolder LookAtFolder(const std::string& dir) {
  GameFolder folder;
  const std::string group = platform::FindNormalFile(platform::InFolder(dir, "DUKE3D.GRP"));
  if (!group.empty()) {
    folder.mainGroup = platform::InFolder(dir, group);
    folder.groupSize = platform::LocateDosFile(folder.mainGroup).size;
  }
  for (const EngineRow& row : Engines()) {
    if (platform::FindNormalFile(platform::InFolder(dir, row.mark)).empty()) continue;
    std::string program;
    if (*row.program != '\0') {
      const std::string found = platform::FindNormalFile(platform::InFolder(dir, row.program));
      if (!found.empty()) {
        const std::string path = platform::DosToHost(platform::InFolder(dir, found));
        // Only a program this system can run counts; else the next candidate.
        if (platform::system::CanRun(path)) program = path;
      }
      if (program.empty()) program = platform::system::FindProgram(row.program);
      if (program.empty()) {
        const std::string flatpak = platform::system::FlatpakFor(row.flatpakId);
        if (!flatpak.empty()) folder.engines.push_back({row.id, flatpak, row.flatpakId});
        continue;
      }
    }
    folder.engines.push_back({row.id, program, {}});
  }
  return folder;
}

GameEngine EngineToRun(const GameFolder& folder, GameEngine chosen) {
  if (folder.Has(chosen)) return chosen;
  return folder.Any() ? folder.engines.front().engine : Engines().front().id;
}

std::string EditionOfGroupSize(std::uint64_t size) {
  // The sizes of the releases' own DUKE3D.GRP.
  switch (size) {
    case 44356548:
      return "1.5";  // Atomic Edition, and the World Tour's
    case 44486702:
      return "1.5";  // the World Tour's other
    case 44348015:
      return "1.4";  // Plutonium Pak
    case 26524524:
      return "1.3D";
    case 11035779:
      return "1.3D";  // shareware
    default:
      return {};
  }
}

}  // namespace launch
