#include "launch/engine.h"

#include "os/processes.h"
#include "winapi/dos_paths.h"

namespace launch {

namespace {

// The port's program as this system names it: a Windows build beside the
// game is no program on Linux, and would only shadow one on PATH.
#ifdef _WIN32
constexpr const char* kPortProgram = "eduke32.exe";
#else
constexpr const char* kPortProgram = "eduke32";
#endif

}  // namespace

GameFolder LookAtGameFolder() {
  return LookAtFolder(platform::ProgramFolder());
}

GameFolder LookAtFolder(const std::string& dir) {
  GameFolder folder;
  folder.dosGame = !platform::FindNormalFile(platform::InFolder(dir, "Duke3D.exe")).empty();
  const std::string group = platform::FindNormalFile(platform::InFolder(dir, "DUKE3D.GRP"));
  if (group.empty()) return folder;
  folder.groupSize = platform::LocateDosFile(platform::InFolder(dir, group)).size;
  const std::string found = platform::FindNormalFile(platform::InFolder(dir, kPortProgram));
  if (!found.empty()) {
    const std::string program = platform::DosToHost(platform::InFolder(dir, found));
    // Only a program this system can run counts; else the next candidate.
    if (platform::system::CanRun(program)) folder.portProgram = program;
  }
  if (folder.portProgram.empty()) {
    folder.portProgram = platform::system::FindProgram(kPortProgram);
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
