#include <QMimeData>
#include <QUrl>
#include <unistd.h>

#include <filesystem>

#include "base/launch_options.h"
#include "launch/command_line.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "winapi/dos_paths.h"
#include "text/text.h"
#include "widget_fixture.h"

namespace {

using testsupport::PickEntry;

class LaunchTest : public testsupport::WidgetTest {
 protected:
  void InstallGame() { testsupport::WriteFile(ProgramDir() + "/DUKE3D.EXE", "game"); }
  std::vector<std::string> WordsAfterCommandCom() {
    auto words = text::SplitWords(GameCommandLine);
    words.erase(words.begin());
    return words;
  }
};

TEST_F(LaunchTest, TheLineReachesCommandComWordForWordInTheProgramDirectory) {
  InstallGame();
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  ASSERT_TRUE(Load());
  QTest::mouseClick(form->lblRecord, Qt::LeftButton);
  PickEntry(form->cboSound, 1);
  PickEntry(form->cboSkills, 2);
  PickEntry(form->cboRespawn, 1);
  form->hsbFakePlayers->setValue(2);
  PickEntry(form->cboStages, 9);
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  EXPECT_EQ(GameCommandLine, "command.com /c Duke3D /r /nm /s3 /t1 /q2 /v2 /l02");
  const auto calls = testsupport::WaitForCalls(Bin(), "command.com", 1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].directory, ProgramDir());
  EXPECT_EQ(calls[0].args, WordsAfterCommandCom());
  EXPECT_TRUE(shown.empty());
}

TEST_F(LaunchTest, TheWindowWaitsMinimisedUntilTheUserComesBack) {
  InstallGame();
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  ASSERT_TRUE(Load());
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  EXPECT_TRUE(form->windowState() & Qt::WindowMinimized);
  EXPECT_TRUE(form->WaitingForReturn());
  // Kestrum keeps answering while the game runs.
  PressAltD();
  EXPECT_EQ(shown.size(), 1u);
  form->setWindowState(Qt::WindowNoState);  // the user picks Kestrum again
  EXPECT_FALSE(form->windowState() & Qt::WindowMinimized);
  EXPECT_FALSE(form->WaitingForReturn());
}

TEST_F(LaunchTest, WithoutTheGameNothingIsBuiltOrStarted) {
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  testsupport::MakeDirs(ProgramDir() + "/Duke3D.exe");  // a folder is no game
  testsupport::MakeDirs(Root() + "/elsewhere");
  testsupport::WriteFile(Root() + "/elsewhere/Duke3D.exe", "game");
  ASSERT_EQ(::chdir((Root() + "/elsewhere").c_str()), 0);
  ASSERT_TRUE(Load());
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Duke3D is not in required directory");
  EXPECT_EQ(shown[0].title, "No Dice...");
  EXPECT_EQ(shown[0].style, 16);
  EXPECT_EQ(GameCommandLine, "");
  EXPECT_FALSE(form->windowState() & Qt::WindowMinimized);
  QTest::qWait(300);
  EXPECT_TRUE(testsupport::ReadCalls(Bin(), "command.com").empty());
  // The debug key still shows the line.
  PressAltD();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, "command.com /c Duke3D /s1 /v1 /l01");
}

TEST_F(LaunchTest, WithoutDosBoxTheUserIsToldWhatToInstall) {
  InstallGame();
  ASSERT_TRUE(Load());
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, "No Dice...");
  EXPECT_TRUE(shown[0].text.contains("DOSBox")) << shown[0].text.toStdString();
  EXPECT_FALSE(form->windowState() & Qt::WindowMinimized);
  EXPECT_FALSE(form->WaitingForReturn());
}

// A map from a downloaded pack, in a folder whose name would have given
// DOSBox a second command, reaches the game as that file and nothing else;
// a name DOS reads as a device is refused when it is chosen.
TEST_F(LaunchTest, DosBoxGivesTheGameTheChosenFileAndNothingElse) {
  UseSystemPath(true);
  if (!testsupport::OnPath("dosbox")) GTEST_SKIP() << "DOSBox is not installed";
  if (testsupport::BuildDosRecorder(ProgramDir() + "/Duke3D.exe").empty()) {
    GTEST_SKIP() << "nasm is not installed";
  }
  testsupport::MakeDirs(Root() + "/victim");
  testsupport::WriteFile(Root() + "/victim/big.map", "the user's own map");
  const std::string pack = Root() + "/x\ndel/" + Root().substr(1) + "/victim";
  testsupport::MakeDirs(pack);
  testsupport::WriteFile(pack + "/big.map", "from the pack");
  testsupport::WriteFile(pack + "/con.map", "a map named like the console");
  ASSERT_TRUE(Load());
  EXPECT_TRUE(Drop({QString::fromStdString(pack + "/big.map")}));
  PickEntry(form->cboSkills, 3);
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  ASSERT_TRUE(shown.empty()) << shown.back().text.toStdString();
  ASSERT_TRUE(testsupport::WaitFor([&] {
    return testsupport::ReadFile(ProgramDir() + "/ARGS.TXT").find("OPEN") != std::string::npos;
  }));
  EXPECT_EQ(testsupport::ReadFile(ProgramDir() + "/ARGS.TXT"),
            " /s4 -map d:\\big.map\r\nOPEN OK:from the pack");
  EXPECT_EQ(testsupport::ReadFile(Root() + "/victim/big.map"), "the user's own map");

  AnswerOpenDialog(QString::fromStdString(pack + "/con.map"));
  QTest::mouseClick(form->cmdOpen, Qt::LeftButton);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text,
            "DOS takes \"con.map\" for its device CON, not for a file. Rename the file and choose "
            "it again.");
  EXPECT_EQ(shown[1].title, "No Dice...");
  EXPECT_EQ(shown[1].style, 16);
  EXPECT_EQ(form->cboStages->itemText(0), "big.map");
  EXPECT_TRUE(UserFilePath.ends_with("\\big.map")) << UserFilePath;
}

// A backslash is part of a name: started from a folder "back\slash" Kestrum
// plays the game there, not in back/slash; a map named "back\slash.map" is
// refused for the reason that holds (DOS names cannot hold one), whatever
// back/slash.map is.
TEST_F(LaunchTest, ABackslashIsPartOfAName) {
  const std::string game = Root() + "/back\\slash";
  testsupport::MakeDirs(game);
  testsupport::MakeDirs(Root() + "/back/slash");
  testsupport::WriteFile(game + "/DUKE3D.EXE", "game");
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  platform::RecordProgramFolder(platform::HostPath{game});
  ASSERT_TRUE(Load());
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  const auto calls = testsupport::WaitForCalls(Bin(), "command.com", 1);
  ASSERT_EQ(calls.size(), 1u) << (shown.empty() ? "" : shown[0].text.toStdString());
  EXPECT_EQ(calls[0].directory, game);

  const std::string maps = Root() + "/m";
  testsupport::MakeDirs(maps + "/back");
  testsupport::WriteFile(maps + "/back/slash.map", "another");
  testsupport::WriteFile(maps + "/back\\slash.map", "chosen");
  shown.clear();
  AnswerOpenDialog(QString::fromStdString(maps + "/back\\slash.map"));
  QTest::mouseClick(form->cmdOpen, Qt::LeftButton);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text.toStdString(),
            "DOS cannot open \"back\\slash.map\": DOS names cannot hold \"\\\". Rename the file "
            "and choose it again.");
  EXPECT_TRUE(UserFilePath.empty()) << UserFilePath;
}

// Chosen in the Open dialog, a map of the DOS era (named in capitals), a map
// with a long name and a group file each reach the game under their switch.
TEST_F(LaunchTest, ChosenFilesReachTheGameUnderTheirSwitch) {
  UseSystemPath(true);
  if (!testsupport::OnPath("dosbox")) GTEST_SKIP() << "DOSBox is not installed";
  if (testsupport::BuildDosRecorder(ProgramDir() + "/Duke3D.exe").empty()) {
    GTEST_SKIP() << "nasm is not installed";
  }
  const std::string maps = Root() + "/My Maps";
  testsupport::MakeDirs(maps);
  ASSERT_TRUE(Load());
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"ROOFTOP.MAP", " /s1 -map d:\\rooftop.map"},
      {"My Long Named Map.map", " /s1 -map d:\\mylong~1.map"},
      {"Add On Pack.grp", " /s1 /gd:\\addonp~1.grp"},
  };
  for (const auto& [name, tail] : cases) {
    SCOPED_TRACE(name);
    testsupport::WriteFile(maps + "/" + name, name);
    ::unlink((ProgramDir() + "/ARGS.TXT").c_str());
    AnswerOpenDialog(QString::fromStdString(maps + "/" + name));
    QTest::mouseClick(form->cmdOpen, Qt::LeftButton);
    QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
    ASSERT_TRUE(testsupport::WaitFor([&] {
      return testsupport::ReadFile(ProgramDir() + "/ARGS.TXT").find("OPEN") != std::string::npos;
    }));
    EXPECT_EQ(testsupport::ReadFile(ProgramDir() + "/ARGS.TXT"), tail + "\r\nOPEN OK:" + name);
  }
}

}  // namespace

// At launch the game is given the file that was chosen or none: a file that
// has taken the chosen one's DOS name since is never started in its place,
// and the message names the file the user chose. DOSBox's drive holds the
// chosen file alone, so there the game plays it whatever lies beside it.
TEST_F(LaunchTest, AFileThatTookTheChosenOnesNameIsNeverStarted) {
  InstallGame();
  struct Case {
    const char* name;
    const char* starter;   // the program the line would reach
    const char* newcomer;  // appears after the choice
    bool chosenRemoved;
    const char* said;  // empty: the chosen file is played
  };
  const Case cases[] = {
      {"deleted, and a neighbour took its alias", "command.com", "My Great Map 2.map", true,
       "\"My Great Map.map\" cannot be found."},
      {"a file literally named by its alias", "command.com", "MYGREA~1.MAP", false,
       "In DOS, \"My Great Map.map\" is called MYGREA~1.MAP, and so is another file in its "
       "folder. Rename one of them and choose it again."},
      {"the same, run by DOSBox", "dosbox", "MYGREA~1.MAP", false, ""},
  };
  const std::string maps = Root() + "/maps";
  ASSERT_TRUE(Load());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(maps);
    std::filesystem::remove_all(Bin());
    testsupport::MakeDirs(maps);
    testsupport::MakeDirs(Bin());
    testsupport::WriteRecordingProgram(Bin(), c.starter);
    testsupport::WriteFile(maps + "/My Great Map.map", "chosen");
    shown.clear();
    AnswerOpenDialog(QString::fromStdString(maps + "/My Great Map.map"));
    QTest::mouseClick(form->cmdOpen, Qt::LeftButton);
    ASSERT_EQ(shown.size(), 1u);  // the Open dialog alone
    shown.clear();
    ASSERT_EQ(UserFilePath,
              text::ToLower(platform::HostToDos(platform::HostPath{maps}).text) + "\\mygrea~1.map");
    if (c.chosenRemoved) ::unlink((maps + "/My Great Map.map").c_str());
    testsupport::WriteFile(maps + "/" + c.newcomer, "another");
    QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
    if (*c.said == '\0') {
      EXPECT_TRUE(shown.empty()) << shown[0].text.toStdString();
      const auto calls = testsupport::WaitForCalls(Bin(), c.starter, 1);
      ASSERT_EQ(calls.size(), 1u);
      EXPECT_EQ(calls[0].args[calls[0].args.size() - 3],
                "command.com /c Duke3D /s1 -map d:\\mygrea~1.map");
      continue;
    }
    ASSERT_EQ(shown.size(), 1u) << GameCommandLine << " / " << form->stages.ChosenFile().identity;
    EXPECT_EQ(shown[0].text.toStdString(), c.said);
    EXPECT_EQ(shown[0].title, "No Dice...");
    QTest::qWait(200);
    EXPECT_TRUE(testsupport::ReadCalls(Bin(), c.starter).empty());
    EXPECT_FALSE(form->windowState() & Qt::WindowMinimized);
  }
}
