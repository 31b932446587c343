#include "levels/ini_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/stage_list.h"
#include "levels/levels.h"
#include "winapi/dos_paths.h"
#include "support/fake_window.h"
#include "support/test_support.h"

namespace {

class CheckDukeVersionTest : public testsupport::IsolatedTest {
 protected:
  void Cfg(const std::string& content, const std::string& name = "Duke3d.cfg") {
    testsupport::WriteFile(ProgramDir() + "/" + name, content);
  }
  void StartUp() {
    AddDuke3Levels(window.stages);
    CheckDukeVersion(window);
  }
  void ResetState() {
    testsupport::ResetProcessWideValues();
    window = testsupport::FakeWindow{};
  }
  testsupport::FakeWindow window;
};

struct VersionCase {
  const char* name;
  std::string file;  // empty: no file
  std::string caption;
  int entries;
};

void PrintTo(const VersionCase& c, std::ostream* os) {
  *os << c.name;
}

class VersionTable : public CheckDukeVersionTest,
                     public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionTable, CaptionListAndArtificialIntelligence) {
  const VersionCase& c = GetParam();
  if (!c.file.empty()) Cfg(c.file);
  StartUp();
  EXPECT_EQ(window.caption, c.caption);
  EXPECT_EQ(window.stages.ListCount(), c.entries);
  EXPECT_EQ(window.stages.ListIndex(), 0);
  EXPECT_EQ(window.artIntShown, c.entries == 41);
  EXPECT_EQ(window.stages.List(c.entries - 1), c.entries == 41 ? "4-11  Area 51" : "3-11  Freeway");
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionTable,
    ::testing::Values(
        VersionCase{"v15", "[Setup]\r\nSetupVersion = 1.5\r\n", "Duke Nukem 1.5", 41},
        VersionCase{"v14", "[Setup]\nSetupVersion=1.4\n", "Duke Nukem 1.4", 41},
        VersionCase{"v13d", "[Setup]\r\nSetupVersion = 1.3D\r\n", "Duke Nukem 1.3D", 30},
        VersionCase{"quoted", "[Setup]\r\nSetupVersion = \"1.5\"\r\n", "Duke Nukem 1.5", 41},
        VersionCase{"trailing_letter", "[Setup]\r\nSetupVersion = 1.5a\r\n", "Duke Nukem 1.5a", 30},
        VersionCase{"trailing_zero", "[Setup]\r\nSetupVersion = 1.50\r\n", "Duke Nukem 1.50", 30},
        VersionCase{"with_word", "[Setup]\r\nSetupVersion = 1.5 beta\r\n", "Duke Nukem 1.5 beta",
                    30},
        VersionCase{"other_section", "[Screen Setup]\r\nSetupVersion = 1.5\r\n", "Duke Nukem ", 30},
        VersionCase{"no_key", "[Setup]\r\nVersion = 1.5\r\n", "Duke Nukem ", 30},
        VersionCase{"binary_garbage", std::string("\x00\xff\xfe[\x01Setup\x02]\x00\x80", 11),
                    "Duke Nukem ", 30},
        VersionCase{"no_file", "", "Duke Nukem ", 30}),
    [](const ::testing::TestParamInfo<VersionCase>& info) { return std::string(info.param.name); });

TEST_F(CheckDukeVersionTest, FindsTheFileWhateverTheCaseOfItsName) {
  Cfg("[Setup]\r\nSetupVersion = 1.5\r\n", "DUKE3D.CFG");
  StartUp();
  EXPECT_EQ(SetupVersion, "1.5");
  EXPECT_EQ(window.stages.ListCount(), 41);
}

TEST_F(CheckDukeVersionTest, LongValueIsCutTo254BeforeTheCaption) {
  Cfg("[Setup]\r\nSetupVersion = " + std::string(300, 'v') + "\r\n");
  StartUp();
  EXPECT_EQ(SetupVersion, std::string(254, 'v'));
  EXPECT_EQ(window.caption, "Duke Nukem " + std::string(254, 'v'));
}

TEST_F(CheckDukeVersionTest, DirectoryOrHugeFileGivesTheEmptyVersion) {
  testsupport::MakeDirs(ProgramDir() + "/Duke3d.cfg");
  StartUp();
  EXPECT_EQ(SetupVersion, "");
  ::rmdir((ProgramDir() + "/Duke3d.cfg").c_str());
  ResetState();
  // 40 MB of one line without a line end: read in pieces, never at once.
  Cfg(std::string(40 * 1024 * 1024, 'x') + "\n[Setup]\nSetupVersion=1.4\n");
  StartUp();
  EXPECT_EQ(SetupVersion, "1.4");
}

TEST_F(CheckDukeVersionTest, ReadINIValueWithoutTextGivesNumbersOnly) {
  Cfg("[Setup]\r\nNumber = 12\r\nWord = abc\r\n");
  const std::string file = platform::ProgramDirectory() + "\\Duke3d.cfg";
  EXPECT_EQ(ReadINIValue("Setup", "Number", 0, file), "12");
  EXPECT_EQ(ReadINIValue("Setup", "Word", 0, file), "0");
  EXPECT_EQ(ReadINIValue("Setup", "Missing", 0, file), "0");
  EXPECT_EQ(ReadINIValue("Setup", "Word", 1, file), "abc");
  EXPECT_EQ(ReadINIValue("Setup", "Missing", 1, file), "");
}

}  // namespace
