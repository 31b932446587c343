#include "launch/engine.h"

#include "os/processes.h"
#include "winapi/dos_paths.h"

namespace launch {

namespace {

CommandDialect DosGame(const std::string&) {
  return DosDialect();
}

// A port's program as this system names it: a Windows build beside the
// game is no program on Linux, and would only shadow one on PATH.
#ifdef _WIN32
constexpr const char* kEDuke32Program = "eduke32.exe";
#else
constexpr const char* kEDuke32Program = "eduke32";
#endif

}  // namespace

const std::vector<EngineRow>& Engines() {
  static const std::vector<EngineRow> rows = {
      {GameEngine::kDos, "dos", "Duke3D.exe", "Duke3D.exe", "", StartedBy::kCommandInterpreter,
       false, false, DosGame},
      {GameEngine::kEDuke32, "eduke32", "EDuke32", "DUKE3D.GRP", kEDuke32Program,
       StartedBy::kDirectly, true, true, PortDialect},
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

std::string GameFolder::ProgramOf(GameEngine engine) const {
  for (const FoundEngine& found : engines) {
    if (found.engine == engine) return found.program;
  }
  return {};
}

GameFolder LookAtGameFolder() {
  return LookAtFolder(platform::ProgramFolder());
}

GameFolder LookAtFolder(const std::string& dir) {
  GameFolder folder;
  const std::string group = platform::FindNormalFile(platform::InFolder(dir, "DUKE3D.GRP"));
  if (!group.empty()) folder.groupSize = platform::LocateDosFile(platform::InFolder(dir, group)).size;
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
      if (program.empty()) continue;
    }
    folder.engines.push_back({row.id, program});
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
      return "1.5";  // Atomic Edition
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
