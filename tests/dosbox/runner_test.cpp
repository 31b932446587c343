#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "launch/messages.h"
#include "launch/shell_paths.h"
#include "winapi/dos_paths.h"
#include "os/processes.h"
#include "dosbox/runner.h"
#include "os/flatpak.h"
#include "text/text.h"
#include "support/test_support.h"

namespace {

class ProcessesTest : public testsupport::IsolatedTest {
 protected:
  void SetUp() override {
    IsolatedTest::SetUp();
    ASSERT_EQ(::chdir(ProgramDir().c_str()), 0);
  }
};

TEST_F(ProcessesTest, AProgramOnThePathGetsTheWordsAsTheyAre) {
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  const std::string odd = "c:\\x\\$(touch${IFS}pwned);&`touch${IFS}pwned2`'\"|>é.map";
  const auto started = platform::StartProcess("command.com  /c Duke3D /s2   -map " + odd,
                                              platform::kSwShowMaximized);
  ASSERT_NE(started.taskId, 0) << launch::Describe(started.failure);
  const auto calls = testsupport::WaitForCalls(Bin(), "command.com", 1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].directory, ProgramDir());
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{"/c", "Duke3D", "/s2", "-map", odd}));
  EXPECT_FALSE(testsupport::Exists(ProgramDir() + "/pwned"));
  EXPECT_FALSE(testsupport::Exists(ProgramDir() + "/pwned2"));
}

TEST_F(ProcessesTest, WithoutTheProgramOrDosBoxNothingStartsAndTheUserIsTold) {
  const auto started =
      platform::StartProcess("command.com /c Duke3D /s2", platform::kSwShowMaximized);
  EXPECT_EQ(started.taskId, 0);
  EXPECT_NE(launch::Describe(started.failure).find("DOSBox"), std::string::npos)
      << launch::Describe(started.failure);
  EXPECT_NE(launch::Describe(started.failure).find("apt install dosbox"), std::string::npos)
      << launch::Describe(started.failure);
}

// What the game gets, wherever the game and the user's map live and however
// their folders are named: DOSBox runs the game from its own folder, the
// game opens the map by a short name, and nothing else on the disk changes.
TEST_F(ProcessesTest, TheGameOpensTheChosenMapWhereverBothLive) {
  UseSystemPath(true);
  if (!testsupport::OnPath("dosbox")) GTEST_SKIP() << "DOSBox is not installed";
  // A file the user owns that crafted folder names once reached: emptied by
  // a redirection, deleted by a second command.
  const std::string victim = Root() + "/victim/mymap.map";
  testsupport::MakeDirs(Root() + "/victim");
  testsupport::WriteFile(victim, "the user's own map");
  // The victim's folder as the folders below a crafted name repeat it.
  const std::string victimPath = Root().substr(1) + "/victim";
  std::string nine, ten;
  for (int i = 1; i <= 10; ++i) {
    (i <= 9 ? nine : ten) += "/Folder Number " + std::to_string(i);
    if (i == 9) ten = nine;
  }
  struct Case {
    const char* name;
    std::string game;  // below Root()
    std::string map;   // below Root()
  };
  const std::vector<Case> cases = {
      {"a folder with a newline and a DOS command", "/Duke Nukem 3D",
       "/x\ndel/" + victimPath + "/mymap.map"},
      {"a folder that redirects", "/Duke Nukem 3D", "/x>/" + victimPath + "/mymap.map"},
      {"a game below a non-ASCII folder, a map below others", "/Téléchargements/Duke Nukem 3D",
       "/Cartes élues/x>y/My Great Map.map"},
      {"a game nine folders deep, a map ten", nine + "/Duke Nukem 3D", ten + "/My Great Map.map"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string game = Root() + c.game;
    testsupport::MakeDirs(game);
    ASSERT_FALSE(testsupport::BuildDosRecorder(game + "/Duke3D.exe").empty()) << "nasm";
    ::unlink((game + "/ARGS.TXT").c_str());
    const std::string map = Root() + c.map;
    testsupport::MakeDirs(map.substr(0, map.rfind('/')));
    testsupport::WriteFile(map, c.name);
    platform::RecordProgramFolder(platform::HostPath{game});
    ASSERT_EQ(::chdir(game.c_str()), 0);
    const std::string mapPath =
        text::ToLower(GetShortPath(platform::HostToDos(platform::HostPath{map}).text));
    ASSERT_FALSE(mapPath.empty());
    const auto started = platform::StartProcess("command.com /c Duke3D /s2 -map " + mapPath,
                                                platform::kSwShowMaximized);
    ASSERT_NE(started.taskId, 0) << launch::Describe(started.failure);
    ASSERT_TRUE(testsupport::WaitFor([&] {
      return testsupport::ReadFile(game + "/ARGS.TXT").find("OPEN") != std::string::npos;
    }));
    // The recorder shows the first 32 bytes of what it opened.
    const std::string opened = std::string(c.name).substr(0, 32);
    EXPECT_EQ(testsupport::ReadFile(game + "/ARGS.TXT"),
              " /s2 -map d:\\" + mapPath.substr(mapPath.rfind('\\') + 1) + "\r\nOPEN OK:" + opened);
    EXPECT_EQ(testsupport::ReadFile(victim), "the user's own map");
  }
  // The drives' links go with the DOSBox that used them.
  EXPECT_TRUE(testsupport::WaitFor(
      [&] { return testsupport::ListDir(Root() + "/runtime/kestrum").empty(); }));
}

TEST_F(ProcessesTest, ShellOpenHandsUrlsAndHostPathsToXdgOpen) {
  testsupport::WriteRecordingProgram(Bin(), "xdg-open");
  testsupport::WriteFile(ProgramDir() + "/Read Me.txt", "x");
  ShellOpen("mailto:someone@example.org");
  ShellOpen(platform::ProgramDirectory() + "\\READ ME.TXT");
  const auto calls = testsupport::WaitForCalls(Bin(), "xdg-open", 2);
  ASSERT_EQ(calls.size(), 2u);
  for (const auto& call : calls) EXPECT_EQ(call.directory, ProgramDir());
  std::vector<std::string> args{calls[0].args.at(0), calls[1].args.at(0)};
  std::sort(args.begin(), args.end());
  EXPECT_EQ(args, (std::vector<std::string>{ProgramDir() + "/Read Me.txt",
                                            "mailto:someone@example.org"}));
}

}  // namespace

// Clearing away the drives of old runs takes only what a run made: a link
// named like a run, or a stranger's file in a run's folder, is never
// followed or removed.
TEST_F(ProcessesTest, OldRunsAreSweptWithoutFollowingALink) {
  testsupport::WriteRecordingProgram(Bin(), "dosbox");
  const std::string runs = Root() + "/runtime/kestrum";
  testsupport::MakeDirs(runs);
  ::chmod(runs.c_str(), 0700);
  const std::string victim = Root() + "/victim";
  testsupport::MakeDirs(victim + "/d");
  const std::string ended = "999999999\n";  // no such process
  for (const char* file : {"/task", "/c", "/d/keep.map", "/notes.txt"}) {
    testsupport::WriteFile(victim + file, ended);
  }
  ASSERT_EQ(::symlink(victim.c_str(), (runs + "/dos-abc123").c_str()), 0);
  testsupport::MakeDirs(runs + "/dos-XYZ789");
  testsupport::WriteFile(runs + "/dos-XYZ789/task", ended);
  testsupport::WriteFile(runs + "/dos-XYZ789/mine.txt", "a stranger's");

  const auto started = platform::StartProcess("command.com /c Duke3D /s2", platform::kSwShowNormal);
  ASSERT_NE(started.taskId, 0) << launch::Describe(started.failure);
  ASSERT_EQ(testsupport::WaitForCalls(Bin(), "dosbox", 1).size(), 1u);
  for (const char* file : {"/task", "/c", "/d/keep.map", "/notes.txt"}) {
    EXPECT_EQ(testsupport::ReadFile(victim + file), ended) << file;
  }
  EXPECT_EQ(testsupport::ReadFile(runs + "/dos-XYZ789/mine.txt"), "a stranger's");
  EXPECT_FALSE(testsupport::Exists(runs + "/dos-XYZ789/task"));
}

// Where no private folder serves, the message names the places that were
// tried: the temporary folder the user set, not one Kestrum did not try.
TEST_F(ProcessesTest, WithoutAPrivateFolderTheMessageNamesTheFoldersTried) {
  testsupport::WriteRecordingProgram(Bin(), "dosbox");
  testsupport::ScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
  testsupport::ScopedEnv tmp("TMPDIR", Root() + "/no such folder");
  const auto started = platform::StartProcess("command.com /c Duke3D /s2", platform::kSwShowNormal);
  EXPECT_EQ(started.taskId, 0);
  EXPECT_NE(launch::Describe(started.failure)
                .find("the folder named by TMPDIR (" + Root() + "/no such folder)"),
            std::string::npos)
      << launch::Describe(started.failure);
}

// DOSBox wherever users have it: the distribution's, then DOSBox Staging,
// then DOSBox-X on PATH, then the one a store put in the game's folder;
// the first found runs the line.
TEST_F(ProcessesTest, DosBoxIsFoundWhereUsersHaveIt) {
  struct Case {
    const char* name;
    std::vector<std::string> onPath;
    bool inGameFolder;
    std::string runs;  // the recorder's calls file that must get the line
  };
  const Case cases[] = {
      {"all three on PATH", {"dosbox", "dosbox-staging", "dosbox-x"}, true, "bin/dosbox"},
      {"DOSBox Staging", {"dosbox-staging", "dosbox-x"}, true, "bin/dosbox-staging"},
      {"DOSBox-X", {"dosbox-x"}, true, "bin/dosbox-x"},
      {"the store's, in the game's folder", {}, true, "Duke Nukem 3D/DOSBox/dosbox"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(Bin());
    std::filesystem::remove_all(ProgramDir() + "/DOSBox");
    testsupport::MakeDirs(Bin());
    for (const auto& name : c.onPath) testsupport::WriteRecordingProgram(Bin(), name);
    if (c.inGameFolder) testsupport::WriteRecordingProgram(ProgramDir() + "/DOSBox", "dosbox");
    const auto started =
        platform::StartProcess("command.com /c Duke3D /s2", platform::kSwShowNormal);
    ASSERT_NE(started.taskId, 0) << launch::Describe(started.failure);
    const std::string runs = Root() + "/" + c.runs;
    const auto slash = runs.rfind('/');
    const auto calls = testsupport::WaitForCalls(runs.substr(0, slash), runs.substr(slash + 1), 1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NE(std::find(calls[0].args.begin(), calls[0].args.end(), "command.com /c Duke3D /s2"),
              calls[0].args.end());
  }
  std::filesystem::remove_all(ProgramDir() + "/DOSBox");
  const auto none = platform::StartProcess("command.com /c Duke3D /s2", platform::kSwShowNormal);
  EXPECT_NE(launch::Describe(none.failure).find("dosbox-staging and dosbox-x"), std::string::npos);
}

namespace {

// A DOSBox installed only as a Flatpak app sees nothing of the host but
// what the run grants it: the drives' folder to read, the game's folder
// (which the game writes to), and each file the line names, to read.
TEST_F(ProcessesTest, AFlatpakDosBoxIsGrantedWhatTheRunNeedsAlone) {
  testsupport::MakeDirs(Root() + "/home/.local/share/flatpak/exports/bin");
  testsupport::WriteFile(Root() + "/home/.local/share/flatpak/exports/bin/io.github.dosbox-staging",
                         "");
  testsupport::WriteRecordingProgram(Bin(), "flatpak");
  testsupport::WriteFile(Bin() + "/flatpak",
                         testsupport::ReadFile(Bin() + "/flatpak") + "exec /bin/sleep 3\n");
  testsupport::MakeDirs(Root() + "/maps");
  testsupport::WriteFile(Root() + "/maps/mymap.map", "mine");
  const auto started = platform::StartProcess(
      "command.com /c Duke3D /s2 -map " +
          platform::HostToDos(platform::HostPath{Root() + "/maps/mymap.map"}).text,
      platform::kSwShowMaximized);
  ASSERT_NE(started.taskId, 0) << launch::Describe(started.failure);
  const auto calls = testsupport::WaitForCalls(Bin(), "flatpak", 1);
  ASSERT_EQ(calls.size(), 1u);
  const auto& args = calls[0].args;
  ASSERT_GE(args.size(), 6u);
  EXPECT_EQ(args[0], "run");
  EXPECT_TRUE(args[1].starts_with("--filesystem=" + Root() + "/runtime/kestrum/dos-")) << args[1];
  EXPECT_TRUE(args[1].ends_with(":ro")) << args[1];
  EXPECT_EQ(args[2], "--filesystem=" + ProgramDir() + ":rw");
  // The drive holds the file itself: the map's own folder is not granted.
  EXPECT_EQ(args[3], "io.github.dosbox-staging");
  EXPECT_EQ(args[4], "-noautoexec");
}

// What Flatpak makes of a --filesystem= option: "\" escapes the next
// character, the first plain ":" starts the mode, and a mode it does not
// know is ignored (the grant is then read-write).
std::pair<std::string, std::string> AsFlatpakReadsIt(const std::string& option) {
  std::string path, mode = "rw";
  std::size_t at = std::string("--filesystem=").size();
  while (at < option.size() && option[at] != ':') {
    if (option[at] == '\\') ++at;
    if (at < option.size()) path += option[at++];
  }
  if (at < option.size()) {
    const std::string suffix = option.substr(at + 1);
    if (suffix == "ro" || suffix == "rw" || suffix == "create") mode = suffix;
  }
  return {path, mode};
}

// Every granted path reaches the sandbox as exactly that path and mode;
// one Flatpak would not share as it stands is refused with the reason.
TEST(FlatpakGrant, EveryPathIsGrantedExactlyOrNotAtAll) {
  for (const std::string path : {"/home/ann/Games/Duke Nukem 3D: Atomic", "/home/ann/maps:x",
                                 "/home/ann/back\\slash", "/home/ann/a\\:b:ro", "/home/ann/Mapé"}) {
    for (const bool readOnly : {true, false}) {
      SCOPED_TRACE(path);
      const auto grant = platform::system::GrantToFlatpak(path, readOnly);
      ASSERT_EQ(grant.whyNot, "");
      EXPECT_EQ(AsFlatpakReadsIt(grant.option),
                std::make_pair(path, std::string(readOnly ? "ro" : "rw")));
    }
  }
  for (const auto& [path, why] : std::vector<std::pair<std::string, std::string>>{
           {"/usr/share/games/eduke32", "Flatpak keeps that folder for the sandbox's own"},
           {"/home/ann/\xe9t\xe9", "Flatpak takes only names written in UTF-8"},
           {"/home/ann/../bob", "its path holds \"..\""},
           {"maps", "it is not a full path"}}) {
    SCOPED_TRACE(path);
    const auto grant = platform::system::GrantToFlatpak(path, true);
    EXPECT_EQ(grant.option, "");
    EXPECT_EQ(grant.whyNot, why);
  }
}

}  // namespace
