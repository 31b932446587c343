#include "tools/companion_tools.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "levels/levels.h"
#include "base/stage_list.h"
#include "text/text.h"
#include "support/test_support.h"

namespace {

struct ToolCase {
  CompanionToolId tool;
  const char* file;
  std::vector<std::string> args;  // what command.com receives
  const char* message;
};

void PrintTo(const ToolCase& c, std::ostream* os) {
  *os << c.file;
}

class CompanionToolTest : public testsupport::IsolatedTest,
                          public ::testing::WithParamInterface<ToolCase> {
 protected:
  void SetUp() override {
    IsolatedTest::SetUp();
    testsupport::WriteRecordingProgram(Bin(), "command.com");
    AddDuke3Levels(stages);
  }
  StageList stages;
  std::string Cwd() {
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? buffer : "";
  }
};

TEST_P(CompanionToolTest, StartsThroughCommandComInTheProgramDirectory) {
  const ToolCase& c = GetParam();
  // File names are matched without regard to case.
  testsupport::WriteFile(ProgramDir() + "/" + text::ToUpper(c.file), "x");
  const ToolStart result = StartCompanionTool(FindCompanionTool(c.tool), stages);
  EXPECT_EQ(result.outcome, ToolStart::Outcome::Started);
  const auto calls = testsupport::WaitForCalls(Bin(), "command.com", 1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].directory, ProgramDir());
  EXPECT_EQ(calls[0].args, c.args);
  EXPECT_EQ(Cwd(), ProgramDir());
}

TEST_P(CompanionToolTest, MissingToolSaysSoAndChangesNothing) {
  const ToolCase& c = GetParam();
  testsupport::MakeDirs(ProgramDir() + "/" + c.file);  // a folder does not count
  testsupport::WriteFile(ProgramDir() + "/." + c.file, "x");
  const std::string before = Cwd();
  const ToolStart result = StartCompanionTool(FindCompanionTool(c.tool), stages);
  EXPECT_EQ(result.outcome, ToolStart::Outcome::Missing);
  EXPECT_EQ(result.message, c.message);
  EXPECT_EQ(Cwd(), before);
  EXPECT_TRUE(testsupport::ReadCalls(Bin(), "command.com").empty());
}

INSTANTIATE_TEST_SUITE_P(Tools, CompanionToolTest,
                         ::testing::Values(ToolCase{CompanionToolId::kBuild,
                                                    "Build.exe",
                                                    {"/c", "Build.exe"},
                                                    "Build.exe is not in required directory"},
                                           ToolCase{CompanionToolId::kEditArt,
                                                    "Editart.exe",
                                                    {"/c", "Editart.exe"},
                                                    "Editart.exe is not in required directory"},
                                           ToolCase{CompanionToolId::kSetup,
                                                    "Setup.exe",
                                                    {"/c", "Setup.exe"},
                                                    "Setup.exe is not in required directory"},
                                           ToolCase{CompanionToolId::kDukeHelp,
                                                    "Dn3dHelp.exe",
                                                    {"/c", "Dn3dHelp.exe"},
                                                    "Dn3DHelp.exe is not in required directory"}),
                         [](const ::testing::TestParamInfo<ToolCase>& info) {
                           return std::string(FindCompanionTool(info.param.tool).control);
                         });

}  // namespace

namespace {

class CompanionToolDosBoxTest : public testsupport::IsolatedTest {};

TEST_F(CompanionToolDosBoxTest, TheMapEditorGetsTheUserMapsNameInsideDosBox) {
  UseSystemPath(true);
  if (!testsupport::OnPath("dosbox")) GTEST_SKIP() << "DOSBox is not installed";
  if (testsupport::BuildDosRecorder(ProgramDir() + "/Build.exe").empty()) {
    GTEST_SKIP() << "nasm is not installed";
  }
  StageList stages;
  AddDuke3Levels(stages);
  stages.InsertItem("mygrea~1.map", 0);
  const ToolStart result = StartCompanionTool(FindCompanionTool(CompanionToolId::kBuild), stages);
  ASSERT_EQ(result.outcome, ToolStart::Outcome::Started) << result.message;
  ASSERT_TRUE(
      testsupport::WaitFor([&] { return testsupport::Exists(ProgramDir() + "/ARGS.TXT"); }));
  ASSERT_TRUE(testsupport::WaitFor(
      [&] { return testsupport::ReadFile(ProgramDir() + "/ARGS.TXT") == " mygrea~1.map"; }));
}

}  // namespace
