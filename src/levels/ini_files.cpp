#include "levels/ini_files.h"

#include "base/main_window.h"
#include "base/main_window_port.h"
#include "launch/engine.h"
#include "levels/levels.h"
#include "winapi/dos_paths.h"
#include "winapi/profile.h"
#include "settings/numbers.h"

std::string SetupVersion;

std::string ReadINIValue(const std::string& section, const std::string& key,
                         std::int16_t textAllowed, const std::string& fileName) {
  // The reader's working buffer and the count it read.
  std::string iniBuffer(255, ' ');
  const auto iniCount = static_cast<std::int32_t>(
      platform::GetPrivateProfileStringA(section, key, "", iniBuffer.data(), 255, fileName));
  iniBuffer.resize(static_cast<std::size_t>(iniCount));
  if (textAllowed == 0 && !numbers::ReadsAsNumber(iniBuffer)) return "0";
  return iniBuffer;
}

void CheckDukeVersion(MainWindowPort& window) {
  const launch::GameFolder folder = launch::LookAtGameFolder();
  CheckDukeVersion(window, folder, launch::EngineToRun(folder, GameEngine::kDos));
}

void CheckDukeVersion(MainWindowPort& window, const launch::GameFolder& folder, GameEngine engine) {
  const std::string path = platform::InFolder(platform::ProgramFolder(), "Duke3d.cfg");
  SetupVersion = ReadINIValue("Setup", "SetupVersion", 1, path);
  // A source port's folder need not hold the DOS game's setup file: its
  // DUKE3D.GRP tells the edition.
  if (SetupVersion.empty() && launch::RowOf(engine).editionFromGroup) {
    SetupVersion = launch::EditionOfGroupSize(folder.groupSize);
  }
  window.SetCaption(mainwindow::kCaption + SetupVersion);
  if (SetupVersion != "1.5" && SetupVersion != "1.4") return;
  window.ShowArtInt();
  AddDukeAtomic(window.stages);
}
