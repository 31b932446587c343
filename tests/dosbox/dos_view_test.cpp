#include "dosbox/dos_view.h"
#include "launch/messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include "launch/shell_paths.h"
#include "winapi/dos_paths.h"
#include "text/text.h"
#include "support/test_support.h"

namespace {

using platform::dosview::Trouble;

class DosViewTest : public testsupport::IsolatedTest {
 protected:
  std::string Dos(const std::string& host) {
    return platform::HostToDos(platform::HostPath{host}).text;
  }
  platform::DosShortPath Short(const std::string& host) {
    return platform::DosShortPath{text::ToLower(GetShortPath(Dos(host)))};
  }
  // The file as the dialog gave it, and the short path the game would get.
  platform::dosview::FileTrouble Check(const std::string& host) {
    return platform::dosview::CheckChosenFile(platform::HostPath{host}, Short(host));
  }
  std::string File(const std::string& relative, const std::string& content = "x") {
    const std::string path = Root() + "/" + relative;
    testsupport::MakeDirs(path.substr(0, path.rfind('/')));
    testsupport::WriteFile(path, content);
    return path;
  }
};

// Files DOS cannot open are told apart when they are chosen, with the name
// the user knows them by.
TEST_F(DosViewTest, AChosenFileDosCannotOpenIsNamedWithItsReason) {
  const std::string maps = Root() + "/maps";
  testsupport::MakeDirs(maps);
  ASSERT_EQ(::symlink((maps + "/nowhere.map").c_str(), (maps + "/gone.map").c_str()), 0);
  testsupport::MakeDirs(maps + "/folder.map");
  std::string deep = "deep";
  for (int i = 0; i < 18; ++i) deep += "/Folder Number " + std::to_string(i);
  struct Case {
    std::string file;  // below Root()
    Trouble trouble;
    char character;
  };
  const std::vector<Case> cases = {
      {File("maps/My Great Map.map"), Trouble::kNone, '\0'},
      {File("maps/con.map"), Trouble::kDevice, '\0'},
      {File("maps/LPT1.GRP"), Trouble::kDevice, '\0'},
      {File("maps/a;b.map"), Trouble::kCharacter, ';'},
      {File("maps/x[1].map"), Trouble::kCharacter, '['},
      {File("maps/\xc3\xa9t\xc3\xa9.map"), Trouble::kCharacter, '\xc3'},
      {File("clash/Another Map.map"), Trouble::kAnotherFile, '\0'},
      {maps + "/gone.map", Trouble::kMissing, '\0'},
      {maps + "/folder.map", Trouble::kNotAFile, '\0'},
      {File(deep + "/deep.map"), Trouble::kPathTooLong, '\0'},
  };
  File("clash/ANOTHE~1.MAP");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const auto t = Check(c.file);
    EXPECT_EQ(t.kind, c.trouble);
    EXPECT_EQ(t.character, c.character);
    EXPECT_EQ(t.fileName, c.file.substr(c.file.rfind('/') + 1));
  }
  EXPECT_EQ(
      launch::Describe(Check(maps + "/con.map")),
      "DOS takes \"con.map\" for its device CON, not for a file. Rename the file and choose it "
      "again.");
  const std::string clash = Root() + "/clash/Another Map.map";
  EXPECT_EQ(launch::Describe(Check(clash)),
            "In DOS, \"Another Map.map\" is called ANOTHE~1.MAP, and so is another file in its "
            "folder. Rename one of them and choose it again.");
}

// The line DOSBox runs names each file by a drive of its own; what the line
// would still give DOSBox's shell to read, or cannot give the game, stops it.
TEST_F(DosViewTest, ThePlanGivesEachFileADriveAndRefusesWhatDosCannotTake) {
  const std::string map = Short(File("My Maps/My Great Map.map")).text;
  const std::string group = Short(File("Add Ons/Big Addon.grp")).text;
  const std::string device = Dos(File("maps/con.map"));
  const std::string gone = Dos(Root() + "/maps/gone.map");
  struct Case {
    std::string line;
    std::string planned;  // empty: refused
    std::string problem;  // a piece of the message
  };
  const std::vector<Case> cases = {
      {"command.com /c Duke3D /s2 -map " + map, "command.com /c Duke3D /s2 -map d:\\mygrea~1.map",
       ""},
      {"command.com /c Duke3D /s2 -map " + map + " /g" + group,
       "command.com /c Duke3D /s2 -map d:\\mygrea~1.map /ge:\\bigadd~1.grp", ""},
      {"command.com /c Duke3D -map " + map + " /g " + map,
       "command.com /c Duke3D -map d:\\mygrea~1.map /g d:\\mygrea~1.map", ""},
      {"command.com /c Build.exe 1-01>x.map", "",
       "DOSBox would read \">\" in \"1-01>x.map\" as commands of its own, so Build.exe was not "
       "started."},
      {"command.com /c Duke3D -map " + device, "", "for its device CON"},
      {"command.com /c Duke3D -map " + gone, "", "\"gone.map\" cannot be found."},
      {"command.com /c Duke3D " + std::string(125, 'x'),
       "command.com /c Duke3D " + std::string(125, 'x'), ""},
      {"command.com /c Duke3D " + std::string(126, 'x'), "",
       "is 127 characters long, and DOS takes 126, so Duke3D was not started."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto plan = platform::dosview::MakePlan(c.line, ProgramDir());
    if (c.planned.empty()) {
      EXPECT_NE(launch::Describe(plan.failure).find(c.problem), std::string::npos)
          << launch::Describe(plan.failure);
    } else {
      EXPECT_EQ(launch::Describe(plan.failure), "");
      EXPECT_EQ(plan.line, c.planned);
    }
  }
  const auto plan =
      platform::dosview::MakePlan("command.com /c Duke3D -map " + map + " /g" + map, ProgramDir());
  ASSERT_EQ(plan.drives.size(), 2u);
  EXPECT_EQ(plan.drives[0].hostFolder, ProgramDir());
  EXPECT_EQ(plan.drives[1].hostFile, Root() + "/My Maps/My Great Map.map");
  EXPECT_EQ(plan.drives[1].dosName, "MYGREA~1.MAP");
}

// Every DOSBox runs eleven -c commands (0.74 and DOSBox-X drop the rest
// without a word): seven files of their own drives fit with C:, "c:", the
// line and "exit"; an eighth is refused, never left for DOSBox to lose.
TEST_F(DosViewTest, ALineFitsTheCommandsEveryDosBoxRuns) {
  std::string line = "command.com /c Build";
  for (int i = 1; i <= 8; ++i) {
    line += " " + Short(File("files/f" + std::to_string(i) + ".map")).text;
    const auto plan = platform::dosview::MakePlan(line, ProgramDir());
    SCOPED_TRACE(line);
    if (i <= 7) {
      ASSERT_FALSE(plan.failure) << launch::Describe(plan.failure);
      std::vector<std::string> mounts(plan.drives.size(), "/x");
      const auto args = platform::dosview::DosBoxArguments(plan.drives, mounts, plan.line, true);
      EXPECT_LE(std::count(args.begin(), args.end(), "-c"), 11);
      EXPECT_EQ(args.back(), "exit");
    } else {
      EXPECT_EQ(plan.failure.kind, platform::StartFailure::Kind::kTooManyFiles);
    }
  }
}

}  // namespace
