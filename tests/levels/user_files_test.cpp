#include "levels/user_files.h"

#include <gtest/gtest.h>

#include "launch/shell_paths.h"
#include "levels/levels.h"
#include "base/stage_list.h"
#include "winapi/dos_paths.h"
#include "support/fake_window.h"
#include "support/test_support.h"

namespace {

class UserFilesTest : public testsupport::IsolatedTest {
 protected:
  void SetUp() override {
    IsolatedTest::SetUp();
    maps = Root() + "/My Maps";
    testsupport::MakeDirs(maps);
    AddDuke3Levels(window.stages);
    AddDukeAtomic(window.stages);
  }
  std::string File(const std::string& name, bool create = true) {
    if (create) testsupport::WriteFile(maps + "/" + name, "x");
    return platform::HostToDos(platform::HostPath{maps + "/" + name}).text;
  }
  std::string ShortOf(const std::string& dos) { return text(GetShortPath(dos)); }
  static std::string text(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }
  std::string maps;
  testsupport::FakeWindow window;
};

TEST_F(UserFilesTest, FirstChoiceIsInsertedAndSelected) {
  TakeChosenFile(File("mymap.map"), window);
  EXPECT_EQ(window.stages.ListCount(), 42);
  EXPECT_EQ(window.stages.List(0), "mymap.map");
  EXPECT_EQ(window.stages.List(1), "1-01  Hollywood Holocaust");
  EXPECT_EQ(window.stages.ListIndex(), 0);
  EXPECT_EQ(UserFilePath, ShortOf(File("mymap.map")));
  EXPECT_FALSE(window.textEnabled);
}

TEST_F(UserFilesTest, SecondChoiceReplacesTheEntry) {
  TakeChosenFile(File("mymap.map"), window);
  window.stages.SetListIndex(5);
  TakeChosenFile(File("addon.grp"), window);
  EXPECT_EQ(window.stages.ListCount(), 42);
  EXPECT_EQ(window.stages.List(0), "addon.grp");
  EXPECT_EQ(window.stages.ListIndex(), 0);
}

TEST_F(UserFilesTest, LongNameShowsTheLowerCaseShortName) {
  TakeChosenFile(File("My Great Map.map"), window);
  EXPECT_EQ(window.stages.List(0), "mygrea~1.map");
  EXPECT_TRUE(UserFilePath.ends_with("\\mymaps~1\\mygrea~1.map")) << UserFilePath;
  EXPECT_EQ(UserFilePath, text(UserFilePath));
}

TEST_F(UserFilesTest, CompanionTextIsFoundByItsRealName) {
  // Listed after the map, the text's alias is ~2: the short path with its
  // extension swapped would name no file.
  File("My Great Map.map");
  File("My Great Map.txt");
  TakeChosenFile(File("My Great Map.map", false), window);
  EXPECT_TRUE(window.textEnabled);
  const std::string alias = text(ParsePath(GetShortPath(File("My Great Map.txt", false)), 0));
  EXPECT_EQ(window.textToolTip, "Read " + alias);
  // Found where the host keeps it, whichever kind of path the map was given by.
  EXPECT_EQ(CompanionTextPath(window.stages),
            platform::DosToHost(platform::DosPath{File("My Great Map.txt", false)}).text);
}

TEST_F(UserFilesTest, CompanionOfAShortNamedMap) {
  File("mymap.txt");
  TakeChosenFile(File("mymap.map"), window);
  EXPECT_TRUE(window.textEnabled);
  EXPECT_EQ(window.textToolTip, "Read mymap.txt");
  // A later map without a text disables the button and keeps the old tip.
  TakeChosenFile(File("other.map"), window);
  EXPECT_FALSE(window.textEnabled);
  EXPECT_EQ(window.textToolTip, "Read mymap.txt");
}

// As a drop: a map of the DOS era, named in capitals, is a map; a file of
// another type is no map for the game and changes nothing.
TEST_F(UserFilesTest, TheDialogTakesMapsInAnyCaseAndNothingElse) {
  TakeChosenFile(File("mymap.map"), window);
  TakeChosenFile(File("OTHER.MAP"), window);
  EXPECT_EQ(window.stages.List(0), "other.map");
  EXPECT_EQ(window.stages.ListCount(), 42);
  EXPECT_EQ(UserFilePath, ShortOf(File("OTHER.MAP", false)));
  TakeChosenFile(File("readme.doc"), window);
  EXPECT_EQ(window.stages.List(0), "other.map");
  EXPECT_EQ(UserFilePath, ShortOf(File("OTHER.MAP", false)));
}

TEST_F(UserFilesTest, NameThatDoesNotExistChangesNothing) {
  TakeChosenFile(File("mymap.map"), window);
  const std::string before = UserFilePath;
  TakeChosenFile(File("typed.map", false), window);
  EXPECT_EQ(UserFilePath, before);
  EXPECT_EQ(window.stages.List(0), "mymap.map");
  EXPECT_EQ(window.stages.ListCount(), 42);
}

TEST_F(UserFilesTest, DropsTakeTheFirstFileInAnyCase) {
  TakeDroppedFiles({File("MYMAP.MAP")}, window);
  EXPECT_EQ(window.stages.List(0), "mymap.map");
  TakeDroppedFiles({File("notes.txt"), File("second.map")}, window);
  EXPECT_EQ(window.stages.List(0), "mymap.map");
  TakeDroppedFiles({}, window);
  EXPECT_EQ(window.stages.ListCount(), 42);
}

TEST_F(UserFilesTest, BackspaceTakesOnlyTheUserEntryAway) {
  File("mymap.txt");
  TakeChosenFile(File("mymap.map"), window);
  const std::string path = UserFilePath;
  StagesKeyPress(window.stages, 'a');
  EXPECT_EQ(window.stages.ListCount(), 42);
  StagesKeyPress(window.stages, 8);
  EXPECT_EQ(window.stages.ListCount(), 41);
  EXPECT_EQ(window.stages.ListIndex(), 0);
  EXPECT_EQ(window.stages.Text(), "1-01  Hollywood Holocaust");
  EXPECT_EQ(UserFilePath, path);
  EXPECT_TRUE(window.textEnabled);
  StagesKeyPress(window.stages, 8);
  EXPECT_EQ(window.stages.ListCount(), 41);
}

TEST_F(UserFilesTest, BackspaceOnABuiltInLevelChangesNothing) {
  TakeChosenFile(File("mymap.map"), window);
  window.stages.SetListIndex(3);
  StagesKeyPress(window.stages, 8);
  EXPECT_EQ(window.stages.ListCount(), 42);
  EXPECT_EQ(window.stages.ListIndex(), 3);
}

TEST_F(UserFilesTest, NameStartingLikeTheFirstLevelIsNotReplaced) {
  TakeChosenFile(File("1-01test.map"), window);
  TakeChosenFile(File("mymap.map"), window);
  EXPECT_EQ(window.stages.ListCount(), 43);
  EXPECT_EQ(window.stages.List(0), "mymap.map");
  EXPECT_EQ(window.stages.List(1), "1-01test.map");
}

TEST_F(UserFilesTest, PathWithoutDriveLeavesTheListAlone) {
  SetupFile(platform::DosShortPath{"\\\\server\\share\\x.map"}, window);
  EXPECT_EQ(window.stages.ListCount(), 41);
  EXPECT_EQ(window.stages.List(0), "1-01  Hollywood Holocaust");
}

}  // namespace
