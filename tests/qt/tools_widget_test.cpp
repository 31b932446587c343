#include "widget_fixture.h"
#include "base/stage_list.h"
#include "qt/frm_popup.h"

#include <unistd.h>

namespace {

using testsupport::PickEntry;

class ToolsWidgetTest : public testsupport::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    testsupport::WriteRecordingProgram(Bin(), "command.com");
  }
};

TEST_F(ToolsWidgetTest, ToolbarButtonsStartTheEditors) {
  testsupport::WriteFile(ProgramDir() + "/build.exe", "x");
  testsupport::WriteFile(ProgramDir() + "/EDITART.EXE", "x");
  testsupport::WriteFile(Root() + "/mymap.map", "x");
  ASSERT_TRUE(Load());
  QTest::mouseClick(form->cmdBuild, Qt::LeftButton);
  testsupport::WaitForCalls(Bin(), "command.com", 1);
  AnswerOpenDialog(QString::fromStdString(Root() + "/mymap.map"));
  QTest::mouseClick(form->cmdOpen, Qt::LeftButton);
  PickEntry(form->cboStages, 5);  // the editor still gets the map
  QTest::mouseClick(form->cmdBuild, Qt::LeftButton);
  testsupport::WaitForCalls(Bin(), "command.com", 2);
  QTest::mouseClick(form->cmdEditArt, Qt::LeftButton);
  const auto calls = testsupport::WaitForCalls(Bin(), "command.com", 3);
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{"/c", "Build.exe"}));
  EXPECT_EQ(calls[1].args, (std::vector<std::string>{"/c", "Build.exe", "mymap.map"}));
  EXPECT_EQ(calls[2].args, (std::vector<std::string>{"/c", "Editart.exe"}));
  for (const auto& c : calls) EXPECT_EQ(c.directory, ProgramDir());
  for (const auto& s : shown)
    EXPECT_NE(s.kind, DialogRequest::Kind::kMessage) << s.text.toStdString();
  EXPECT_TRUE(form->isEnabled());
}

TEST_F(ToolsWidgetTest, MissingToolsAreNamedAndNothingStarts) {
  ASSERT_TRUE(Load());
  QTest::mouseClick(form->cmdBuild, Qt::LeftButton);
  QTest::mouseClick(form->cmdEditArt, Qt::LeftButton);
  frmPopup::Instance().mnuSetup_Click();
  frmPopup::Instance().mnuDukeHelp_Click();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].text, "Build.exe is not in required directory");
  EXPECT_EQ(shown[1].text, "Editart.exe is not in required directory");
  EXPECT_EQ(shown[2].text, "Setup.exe is not in required directory");
  EXPECT_EQ(shown[3].text, "Dn3DHelp.exe is not in required directory");
  for (const auto& s : shown) {
    EXPECT_EQ(s.title, "No Dice...");
    EXPECT_EQ(s.style, 16);
  }
  QTest::qWait(200);
  EXPECT_TRUE(testsupport::ReadCalls(Bin(), "command.com").empty());
}

TEST_F(ToolsWidgetTest, AToolThatCannotStartLeavesKestrumUsable) {
  testsupport::WriteFile(ProgramDir() + "/Editart.exe", "x");
  ::unlink((Bin() + "/command.com").c_str());  // and no DOSBox on PATH
  ASSERT_TRUE(Load());
  QTest::mouseClick(form->cmdEditArt, Qt::LeftButton);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, "No Dice...");
  EXPECT_TRUE(shown[0].text.contains("DOSBox"));
  EXPECT_TRUE(form->isEnabled());
}

}  // namespace
