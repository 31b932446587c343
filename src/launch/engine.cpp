#include "launch/engine.h"

#include <cstdlib>

#include "os/flatpak.h"
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
       false, "", false, DosGame},
      {GameEngine::kEDuke32, "eduke32", "EDuke32", "DUKE3D.GRP", KESTRUM_PROGRAM("eduke32"),
       "com.eduke32.EDuke32", S::kDirectly, true, true, ".config/eduke32", false, PortDialect},
      {GameEngine::kRaze, "raze", "Raze", "DUKE3D.GRP", KESTRUM_PROGRAM("raze"), "org.zdoom.Raze",
       S::kDirectly, true, true, ".config/raze", true, RazeDialect},
      {GameEngine::kJFDuke3D, "jfduke3d", "JFDuke3D", "DUKE3D.GRP", KESTRUM_PROGRAM("jfduke3d"), "",
       S::kDirectly, true, true, ".jfduke3d", false, JFDuke3DDialect},
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

ProgramStart ProgramWords(const FoundEngine& found, const std::vector<std::string>& grantedFolders,
                          const std::vector<std::string>& writableFolders) {
  if (found.flatpakId.empty()) return {{found.program}, {}};
  // The app sees its own folders only: the run is granted the game's and
  // the user's file's, to read, and nothing else of the home.
  ProgramStart start{{found.program, "run"}, {}};
  std::vector<std::pair<std::string, bool>> grants;
  for (const auto& folder : grantedFolders) grants.emplace_back(folder, true);
  for (const auto& folder : writableFolders) grants.emplace_back(folder, false);
  for (const auto& [folder, readOnly] : grants) {
    const platform::system::FlatpakGrant grant = platform::system::GrantToFlatpak(folder, readOnly);
    if (!grant.whyNot.empty()) {
      return {{},
              std::string(RowOf(found.engine).menuText) +
                  " runs in Flatpak's sandbox, and Kestrum cannot let it read " + folder + ": " +
                  grant.whyNot + ". Move the files to another folder and try again."};
    }
    start.words.push_back(grant.option);
  }
  start.words.push_back(found.flatpakId);
  return start;
}

std::vector<std::string> LooksFirstIn(const FoundEngine& found) {
  std::vector<std::string> folders{platform::ProgramFolder()};
  const std::string own = RowOf(found.engine).ownFolder;
  const char* home = std::getenv("HOME");
  if (own.empty() || home == nullptr || *home == '\0') return folders;
  folders.push_back(platform::InFolder(home, own));
  // A sandboxed app keeps the same folder inside its own.
  if (!found.flatpakId.empty()) {
    folders.push_back(platform::InFolder(home, ".var/app/" + found.flatpakId + "/" + own));
  }
  return folders;
}

GameFolder LookAtGameFolder() {
  return LookAtFolder(platform::ProgramFolder());
}

GameFolder LookAtFolder(const std::string& dir) {
  GameFolder folder;
  const std::string group = platform::FindNormalFile(platform::InFolder(dir, "DUKE3D.GRP"));
  if (!group.empty()) {
    folder.mainGroup = platform::InFolder(dir, group);
    folder.groupSize = platform::LocateFile(platform::HostPath{folder.mainGroup}).size;
  }
  for (const EngineRow& row : Engines()) {
    if (platform::FindNormalFile(platform::InFolder(dir, row.mark)).empty()) continue;
    std::string program;
    if (*row.program != '\0') {
      const std::string found = platform::FindNormalFile(platform::InFolder(dir, row.program));
      if (!found.empty()) {
        const std::string path = platform::InFolder(dir, found);  // the name as found
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
