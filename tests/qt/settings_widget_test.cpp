#include "settings/registry.h"
#include "app/exit_program.h"
#include "base/launch_options.h"
#include "base/stage_list.h"
#include "widget_fixture.h"
#include "winapi/registry.h"

namespace {

using testsupport::PickEntry;

class SettingsWidgetTest : public testsupport::WidgetTest {
 protected:
  void Restart() {
    form.reset();
    testsupport::ResetProcessWideValues();
    ASSERT_TRUE(Load());
  }
};

TEST_F(SettingsWidgetTest, ARestartRestoresThePositionAndTheSixOptions) {
  ASSERT_TRUE(Load());
  form->move(96, 48);
  QTest::mouseClick(form->lblRecord, Qt::LeftButton);
  PickEntry(form->cboSound, 2);
  PickEntry(form->cboSkills, 3);
  PickEntry(form->cboRespawn, 1);
  form->hsbFakePlayers->setValue(4);
  form->close();
  EXPECT_EQ(processEnds, 1);
  const std::string file = testsupport::ReadFile(RegistryFile());
  EXPECT_NE(file.find("\"FormX\"=\"1440\"\r\n\"FormY\"=\"720\"\r\n\"Record\"=\"1\"\r\n"
                      "\"Monsters\"=\"0\"\r\n\"Sound\"=\"2\"\r\n\"Skills\"=\"3\"\r\n"
                      "\"Respawn\"=\"1\"\r\n\"Fakers\"=\"4\"\r\n"),
            std::string::npos)
      << file;

  Restart();
  EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(96, 48));
  EXPECT_EQ(form->chkRecord->checkState(), Qt::Checked);
  EXPECT_EQ(form->chkMonsters->checkState(), Qt::Unchecked);
  EXPECT_EQ(form->cboSound->currentIndex(), 2);
  EXPECT_EQ(form->cboSkills->currentIndex(), 3);
  EXPECT_EQ(form->cboRespawn->currentIndex(), 1);
  EXPECT_EQ(form->txtFakePlayers->text(), "4");
  EXPECT_EQ(LaunchOptions.Fakers, 4);
  // The stage is not saved: every run starts on the first level.
  EXPECT_EQ(form->cboStages->currentIndex(), 0);
}

TEST_F(SettingsWidgetTest, SettingsAreWrittenExactlyOnce) {
  ASSERT_TRUE(Load());
  form->close();
  const std::string first = testsupport::ReadFile(RegistryFile());
  LaunchOptions.Sound = 3;
  ExitProgram();  // a second way out in the same run
  form->close();
  EXPECT_EQ(testsupport::ReadFile(RegistryFile()), first);
  EXPECT_EQ(processEnds, 1);
}

TEST_F(SettingsWidgetTest, AMangledStoreIsKeptAsideAndKestrumStartsWithDefaults) {
  testsupport::MakeDirs(ConfigHome() + "/kestrum");
  testsupport::WriteFile(RegistryFile(),
                         "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Tolv\r\n\xff\xfe");
  ASSERT_TRUE(Load());
  EXPECT_EQ(form->cboSound->currentIndex(), 0);
  bool kept = false;
  for (const auto& name : testsupport::ListDir(ConfigHome() + "/kestrum")) {
    kept = kept || name.starts_with("user.reg.unreadable-");
  }
  EXPECT_TRUE(kept);
  form->close();
  EXPECT_NE(testsupport::ReadFile(RegistryFile()).find("\"Fakers\"=\"0\""), std::string::npos);
}

TEST_F(SettingsWidgetTest, APositionOffTheScreenIsNotApplied) {
  MakeRegistryKey(SettingsKey, platform::kHkeyCurrentUser);
  form = std::make_unique<testsupport::TestForm>();
  const double width = form->ScreenWidth();
  WriteRegistryValue(SettingsKey, "FormX", std::to_string(static_cast<int>(width)),
                     platform::kRegSz);
  WriteRegistryValue(SettingsKey, "FormY", "-150", platform::kRegSz);
  form->move(30, 40);
  ASSERT_TRUE(form->Form_Load());
  EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(30, -10));
}

}  // namespace

namespace {

TEST_F(SettingsWidgetTest, AnAbsurdPositionIsAppliedWithoutOverflow) {
  MakeRegistryKey(SettingsKey, platform::kHkeyCurrentUser);
  WriteRegistryValue(SettingsKey, "FormX", std::string("-99999999999999999999999999"),
                     platform::kRegSz);
  ASSERT_TRUE(Load());
  EXPECT_EQ(form->frameGeometry().x(), -(1 << 24));
}

}  // namespace

// A store Kestrum may not write (here: no file at all, but a folder by its
// name) loses the run's settings: the user is told so once, on the way out.
TEST_F(SettingsWidgetTest, SettingsThatCannotBeSavedAreToldOnceWhenKestrumEnds) {
  testsupport::MakeDirs(RegistryFile());
  ASSERT_TRUE(Load());
  EXPECT_TRUE(shown.empty());
  form->close();
  ExitProgram();
  EXPECT_EQ(processEnds, 1);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text.toStdString(),
            "Kestrum could not save its settings in " + RegistryFile() +
                ", so the options and the window's place will not come back next time.");
  EXPECT_EQ(shown[0].title, "No Dice...");
  EXPECT_EQ(shown[0].style, 16);
}
