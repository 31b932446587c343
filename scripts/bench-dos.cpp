// One cold measurement of the core's file work, in a process of its own,
// printed in microseconds:
//   bench-dos choose <host file>         the map chosen in the Open dialog
//   bench-dos launch <game folder> <map> the launch button, from the click
//                                        until DOSBox has started
//   bench-dos look <home>                first contact's look where the stores
//                                        put the game, under that home
//   bench-dos saves <game folder>        the DOS game's saved games listed, as
//                                        "Saved games..." lists them
// For launch, PATH must hold a "dosbox" and no "command.com".
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <string>

#include "app/first_contact.h"
#include "base/main_window_port.h"
#include "launch/command_line.h"
#include "launch/launcher.h"
#include "launch/saved_games.h"
#include "levels/levels.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "winapi/dos_paths.h"

namespace {
struct NoWindow : MainWindowPort {
  std::string Caption() const override { return {}; }
  void SetCaption(const std::string&) override {}
  void ShowArtInt() override {}
  void SetTextButtonEnabled(bool) override {}
  void SetTextButtonToolTip(const std::string&) override {}
  double Left() const override { return 0; }
  double Top() const override { return 0; }
  void SetLeft(double) override {}
  void SetTop(double) override {}
  double ScreenWidth() const override { return 0; }
  double ScreenHeight() const override { return 0; }
  double Width() const override { return 0; }
  std::vector<Area> Screens() const override { return {}; }
  bool KnowsItsPosition() const override { return false; }
};

long long Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  if (std::string(argv[1]) == "look") {
    ::setenv("HOME", argv[2], 1);
    const auto start = std::chrono::steady_clock::now();
    const auto found = firstcontact::FoundGameFolders();
    std::printf("%lld\n", Since(start));
    return found.empty() ? 0 : 1;
  }
  const std::string mode = argv[1];
  NoWindow window;
  AddDuke3Levels(window.stages);
  if (mode == "choose") {
    const auto start = std::chrono::steady_clock::now();
    const auto refused = TakeChosenFile(argv[2], window);
    const long long took = Since(start);
    if (refused || UserFilePath.empty()) return 1;
    std::printf("%lld\n", took);
    return 0;
  }
  if (mode == "saves") {
    platform::RecordProgramFolder(platform::HostPath{argv[2]});
    const launch::GameFolder folder = launch::LookAtGameFolder();  // as the window has it
    const auto start = std::chrono::steady_clock::now();
    const auto games = launch::SavedGames(folder, GameEngine::kDos);
    const long long took = Since(start);
    if (games.empty()) return 1;
    std::printf("%lld\n", took);
    return 0;
  }
  if (mode == "launch" && argc >= 4) {
    platform::RecordProgramFolder(platform::HostPath{argv[2]});
    if (TakeChosenFile(platform::HostToDos(platform::HostPath{argv[3]}).text, window)) return 1;
    // What the launch button does, from its click.
    const auto start = std::chrono::steady_clock::now();
    launch::EnterProgramDirectory();
    if (!launch::ProgramIsInstalled("Duke3D.exe")) return 1;
    GameCommandLine = BuildCommandLine(LaunchOptions, window.stages.Text(), UserFilePath);
    const auto started = launch::StartMaximised(GameCommandLine);
    const long long took = Since(start);
    if (started.taskId == 0) {
      std::fprintf(stderr, "%s\n", started.error.c_str());
      return 1;
    }
    std::printf("%lld\n", took);
    return 0;
  }
  return 2;
}
