#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "launch/shell_paths.h"
#include "platform/platform.h"
#include "platform/text.h"
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
  ASSERT_NE(started.taskId, 0) << started.error;
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
  EXPECT_NE(started.error.find("DOSBox"), std::string::npos) << started.error;
  EXPECT_NE(started.error.find("apt install dosbox"), std::string::npos) << started.error;
}

TEST_F(ProcessesTest, DosBoxRunsTheLineFromTheCurrentDirectory) {
  UseSystemPath(true);
  if (!testsupport::OnPath("dosbox")) GTEST_SKIP() << "DOSBox is not installed";
  if (testsupport::BuildDosRecorder(ProgramDir() + "/Duke3D.exe").empty()) {
    GTEST_SKIP() << "nasm is not installed";
  }
  const std::string maps = Root() + "/Maps With Blanks";
  testsupport::MakeDirs(maps);
  testsupport::WriteFile(maps + "/My Great Map.map", "map");
  const std::string mapPath =
      text::ToLower(GetShortPath(platform::HostToDos(maps + "/My Great Map.map")));
  ASSERT_FALSE(mapPath.empty());
  const auto started = platform::StartProcess("command.com /c Duke3D /s3 /v1 /l02 -map " + mapPath,
                                              platform::kSwShowMaximized);
  ASSERT_NE(started.taskId, 0) << started.error;
  ASSERT_TRUE(testsupport::WaitFor([&] {
    return testsupport::ReadFile(ProgramDir() + "/ARGS.TXT").find("OPEN") != std::string::npos;
  }));
  EXPECT_EQ(testsupport::ReadFile(ProgramDir() + "/ARGS.TXT"),
            " /s3 /v1 /l02 -map " + mapPath + "\r\nOPEN OK");
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
