#include "launch/command_line.h"
#include "levels/user_files.h"
#include "winapi/dos_paths.h"
#include "text/text.h"
#include "widget_fixture.h"

namespace {

std::string GetShortPathOf(const std::string& host) {
  char buffer[165];
  const auto n =
      platform::GetShortPathNameA(platform::HostToDos(platform::HostPath{host}).text, buffer, 164);
  return n > 0 && n < 164 ? std::string(buffer, n) : std::string();
}

class UserFilesWidgetTest : public testsupport::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    maps = Root() + "/My Maps";
    testsupport::MakeDirs(maps);
  }
  QString File(const std::string& name) {
    testsupport::WriteFile(maps + "/" + name, "x");
    return QString::fromStdString(maps + "/" + name);
  }
  void Choose(const QString& hostPath) {
    AnswerOpenDialog(hostPath);
    QTest::mouseClick(form->cmdOpen, Qt::LeftButton);
  }
  void Backspace() { QTest::keyClick(form->cboStages, Qt::Key_Backspace); }
  void ExpectList(int count, const QString& first, int selected) {
    EXPECT_EQ(form->cboStages->count(), count);
    EXPECT_EQ(form->cboStages->itemText(0), first);
    EXPECT_EQ(form->cboStages->currentIndex(), selected);
  }
  std::string maps;
};

TEST_F(UserFilesWidgetTest, TheOpenDialogAsTheGameExpects) {
  ASSERT_TRUE(Load());
  Choose(File("mymap.map"));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, "Gimme Some Sugar, Baby...");
  EXPECT_EQ(shown[0].defaultSuffix, "map");
  ASSERT_EQ(shown[0].filters.size(), 4);
  EXPECT_EQ(shown[0].filters,
            (QStringList{"All Duke Nukem Files|*.map;*.grp", "Duke Nukem Maps (*.map)|*.map",
                         "Duke Nukem Group Files (*.grp)|*.grp", "All Files (*.*)|*.*"}));
  EXPECT_EQ(shown[0].directory.toStdString(), ProgramDir());
  Choose({});  // cancelled
  EXPECT_EQ(shown[1].directory.toStdString(), maps);
  ExpectList(31, "mymap.map", 0);
}

TEST_F(UserFilesWidgetTest, StatesAndEvents) {
  File("mymap.txt");
  ASSERT_TRUE(Load());
  ExpectList(30, "1-01  Hollywood Holocaust", 0);

  Choose(File("mymap.map"));
  ExpectList(31, "mymap.map", 0);
  EXPECT_EQ(form->cboStages->itemText(1), "1-01  Hollywood Holocaust");
  EXPECT_TRUE(form->cmdText->isEnabled());
  EXPECT_EQ(form->cmdText->toolTip(), "Read mymap.txt");

  Choose(File("addon.grp"));
  ExpectList(31, "addon.grp", 0);
  EXPECT_FALSE(form->cmdText->isEnabled());
  EXPECT_EQ(form->cmdText->toolTip(), "Read mymap.txt");

  Choose(File("other.doc"));
  ExpectList(31, "addon.grp", 0);
  EXPECT_TRUE(UserFilePath.ends_with("\\addon.grp"));

  Choose({});
  EXPECT_TRUE(UserFilePath.ends_with("\\addon.grp"));

  EXPECT_FALSE(Drop({File("notes.txt"), File("second.map")}));
  ExpectList(31, "addon.grp", 0);

  // In a folder of its own: beside mymap.map it would be another DOS name.
  testsupport::MakeDirs(Root() + "/drops");
  testsupport::WriteFile(Root() + "/drops/MYMAP.MAP", "x");
  EXPECT_TRUE(Drop({QString::fromStdString(Root() + "/drops/MYMAP.MAP")}));
  ExpectList(31, "mymap.map", 0);

  form->cboStages->setCurrentIndex(4);
  QTest::keyClick(form->cboStages, Qt::Key_Backspace);
  ExpectList(31, "mymap.map", 4);

  form->cboStages->setCurrentIndex(0);
  Backspace();
  ExpectList(30, "1-01  Hollywood Holocaust", 0);
  Backspace();
  ExpectList(30, "1-01  Hollywood Holocaust", 0);
}

TEST_F(UserFilesWidgetTest, AFileNamedLikeTheFirstLevelGetsAnotherOnTop) {
  ASSERT_TRUE(Load());
  Choose(File("1-01test.map"));
  Choose(File("mymap.map"));
  ExpectList(32, "mymap.map", 0);
  EXPECT_EQ(form->cboStages->itemText(1), "1-01test.map");
}

TEST_F(UserFilesWidgetTest, TheCompanionTextOpensInTheProgramDirectory) {
  testsupport::WriteRecordingProgram(Bin(), "xdg-open");
  File("Long Level Name.txt");
  ASSERT_TRUE(Load());
  Choose(File("Long Level Name.map"));
  ASSERT_TRUE(form->cmdText->isEnabled());
  EXPECT_TRUE(form->cmdText->toolTip().startsWith("Read longle~"));
  QTest::mouseClick(form->cmdText, Qt::LeftButton);
  const auto calls = testsupport::WaitForCalls(Bin(), "xdg-open", 1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].directory, ProgramDir());
  EXPECT_EQ(calls[0].args, std::vector<std::string>{maps + "/Long Level Name.txt"});
}

TEST_F(UserFilesWidgetTest, ALongMixedCaseMapReachesTheGameAsAShortPath) {
  testsupport::WriteFile(ProgramDir() + "/Duke3D.exe", "game");
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  ASSERT_TRUE(Load());
  Choose(File("The BIG Showdown.map"));
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  testsupport::WaitForCalls(Bin(), "command.com", 1);
  Choose(File("Episode Pack.grp"));
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  const auto calls = testsupport::WaitForCalls(Bin(), "command.com", 2);
  ASSERT_EQ(calls.size(), 2u);
  const std::string folder = text::ToLower(GetShortPathOf(maps));
  EXPECT_EQ(calls[0].args,
            (std::vector<std::string>{"/c", "Duke3D", "/s1", "-map", folder + "\\thebig~1.map"}));
  EXPECT_EQ(calls[1].args,
            (std::vector<std::string>{"/c", "Duke3D", "/s1", "/g" + folder + "\\episod~1.grp"}));
}

}  // namespace
