#include "launch/engine.h"

#include "os/processes.h"
#include "winapi/dos_paths.h"

namespace launch {

GameFolder LookAtGameFolder() {
  return LookAtFolder(platform::ProgramDirectory());
}

GameFolder LookAtFolder(const std::string& dir) {
  GameFolder folder;
  folder.dosGame = !platform::FindNormalFile(dir + "\\Duke3D.exe").empty();
  const std::string group = platform::FindNormalFile(dir + "\\DUKE3D.GRP");
  if (group.empty()) return folder;
  folder.groupSize = platform::LocateDosFile(dir + "\\" + group).size;
  for (const char* name : {"eduke32", "eduke32.exe"}) {
    const std::string found = platform::FindNormalFile(dir + "\\" + name);
    if (!found.empty()) {
      folder.portProgram = platform::DosToHost(dir + "\\" + found);
      break;
    }
  }
  if (folder.portProgram.empty()) {
#ifdef _WIN32
    folder.portProgram = platform::system::FindProgram("eduke32.exe");
#else
    folder.portProgram = platform::system::FindProgram("eduke32");
#endif
  }
  folder.port = !folder.portProgram.empty();
  return folder;
}

GameEngine EngineToRun(const GameFolder& folder, GameEngine chosen) {
  if (folder.port && (!folder.dosGame || chosen == GameEngine::kEDuke32)) {
    return GameEngine::kEDuke32;
  }
  return GameEngine::kDos;
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
