// The rules of the user entry at the top of the stage list, on paths alone:
// the same on Windows and in the POSIX imitation.
#include <gtest/gtest.h>

#include "levels/levels.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "dosbox/dos_view.h"
#include "launch/messages.h"
#include "support/fake_window.h"
#include "support/shared_fixture.h"
#include "dosbox/runner.h"

namespace {

class UserEntryTest : public testsupport::SharedTest {
 protected:
  void SetUp() override {
    SharedTest::SetUp();
    AddDuke3Levels(window.stages);
  }
  testsupport::FakeWindow window;
};

TEST_F(UserEntryTest, InsertedFirstThenReplaced) {
  SetupFile(platform::DosShortPath{"c:\\maps\\mymap.map"}, window);
  EXPECT_EQ(window.stages.ListCount(), 31);
  EXPECT_EQ(window.stages.List(0), "mymap.map");
  EXPECT_EQ(window.stages.ListIndex(), 0);
  EXPECT_FALSE(window.textEnabled);  // no companion text there
  window.stages.SetListIndex(7);
  SetupFile(platform::DosShortPath{"c:\\maps\\addon.grp"}, window);
  EXPECT_EQ(window.stages.ListCount(), 31);
  EXPECT_EQ(window.stages.List(0), "addon.grp");
  EXPECT_EQ(window.stages.ListIndex(), 0);
}

TEST_F(UserEntryTest, AnEntryStartingLikeTheFirstLevelCountsAsNone) {
  SetupFile(platform::DosShortPath{"c:\\1-01test.map"}, window);
  SetupFile(platform::DosShortPath{"c:\\mymap.map"}, window);
  EXPECT_EQ(window.stages.ListCount(), 32);
  EXPECT_EQ(window.stages.List(1), "1-01test.map");
}

TEST_F(UserEntryTest, BackspaceTakesTheSelectedUserEntryAway) {
  SetupFile(platform::DosShortPath{"c:\\mymap.map"}, window);
  window.stages.SetListIndex(2);
  StagesKeyPress(window.stages, 8);
  EXPECT_EQ(window.stages.ListCount(), 31);
  window.stages.SetListIndex(0);
  StagesKeyPress(window.stages, 13);
  EXPECT_EQ(window.stages.ListCount(), 31);
  StagesKeyPress(window.stages, 8);
  EXPECT_EQ(window.stages.ListCount(), 30);
  EXPECT_EQ(window.stages.Text(), "1-01  Hollywood Holocaust");
  window.stages.InsertItem("LOUD.MAP", 0);
  window.stages.SetListIndex(0);
  StagesKeyPress(window.stages, 8);  // the extension test is exact: upper case is no user entry
  EXPECT_EQ(window.stages.ListCount(), 31);
}

TEST_F(UserEntryTest, APathWithoutADriveLeavesTheListAlone) {
  SetupFile(platform::DosShortPath{"\\\\server\\share\\x.map"}, window);
  SetupFile(platform::DosShortPath{"maps\\x.map"}, window);
  EXPECT_EQ(window.stages.ListCount(), 30);
}

TEST(CheckValidFile, MapAndGroupInAnyCase) {
  EXPECT_EQ(CheckValidFile("a.map"), 1);
  EXPECT_EQ(CheckValidFile("A.MAP"), 1);
  EXPECT_EQ(CheckValidFile("x.Grp"), 1);
  EXPECT_EQ(CheckValidFile("x.txt"), 0);
  EXPECT_EQ(CheckValidFile("map"), 0);
  EXPECT_EQ(CheckValidFile(""), 0);
}

}  // namespace

// The game is given the very file that was chosen: one put in its place
// since, under its name, is refused at launch, and so is a chosen file gone.
TEST_F(UserEntryTest, AFileReplacedSinceItWasChosenIsNotGivenToTheGame) {
  const std::string chosen = WriteTempFile("My Great Map.map", "chosen");
  ASSERT_FALSE(TakeChosenFile(chosen, window).has_value());
  const std::string line = "command.com /c Duke3D /s2 -map " + UserFilePath;
  const std::vector<platform::ChosenFile> pinned{{UserFilePath, window.stages.ChosenFile().identity,
                                                  platform::DosToHost(platform::DosPath{chosen})}};
  EXPECT_EQ(launch::Describe(platform::dosview::CheckChosenFiles(line, pinned)), "");
  // Renamed over it while it still exists: surely another file.
  WriteTempFile("newer.map", "another");
  std::filesystem::rename(temp_ / "newer.map", temp_ / "My Great Map.map");
  EXPECT_EQ(launch::Describe(platform::dosview::CheckChosenFiles(line, pinned)),
            "\"My Great Map.map\" is no longer the file you chose: it was moved, deleted or "
            "replaced since. Choose it again.");
  std::filesystem::remove(temp_ / "My Great Map.map");
  EXPECT_NE(
      launch::Describe(platform::dosview::CheckChosenFiles(line, pinned)).find("cannot be found"),
      std::string::npos);
}
