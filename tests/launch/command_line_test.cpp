#include "launch/command_line.h"

#include <gtest/gtest.h>

#include "app/launch_options.h"
#include "levels/levels.h"
#include "levels/stage_list.h"
#include "levels/user_files.h"
#include "support/shared_fixture.h"

namespace {

struct LineCase {
  const char* name;
  LaunchOptionsRecord options;
  std::vector<std::string> entries;  // the stage list
  int selected;
  std::string userFilePath;
  std::string expected;
};

void PrintTo(const LineCase& c, std::ostream* os) {
  *os << c.name;
}

class BuildCommandLineTest : public ::testing::TestWithParam<LineCase> {
 protected:
  void SetUp() override { testsupport::ResetProcessWideValues(); }
  void TearDown() override { testsupport::ResetProcessWideValues(); }
};

LaunchOptionsRecord Options(std::int16_t record, std::int16_t monsters, std::int16_t sound,
                            std::int16_t skills, std::int16_t respawn, std::int16_t fakers,
                            std::int16_t artInt) {
  return {record, monsters, sound, skills, respawn, fakers, artInt};
}

const std::vector<std::string> kLevels = {"1-01  Hollywood Holocaust", "1-02  Red Light District",
                                          "2-05  Occupied Territory", "4-11  Area 51"};

TEST_P(BuildCommandLineTest, BuildsTheLine) {
  const LineCase& c = GetParam();
  LaunchOptions = c.options;
  for (const auto& e : c.entries) Stages.AddItem(e);
  Stages.SetListIndex(c.selected);
  UserFilePath = c.userFilePath;
  BuildCommandLine();
  EXPECT_EQ(GameCommandLine, c.expected);
  // A second build starts afresh instead of appending.
  BuildCommandLine();
  EXPECT_EQ(GameCommandLine, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BuildCommandLineTest,
    ::testing::Values(LineCase{"defaults", Options(0, 0, 0, 1, 0, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s2"},
                      LineCase{"everything", Options(1, 0, 3, 3, 4, 3, 1), kLevels, 2, "",
                               "command.com /c Duke3D /r /nm /ns /s4 /tx /q3 /a /v2 /l05"},
                      LineCase{"user_map",
                               Options(0, 1, 1, 0, 1, 0, 0),
                               {"mymap.map", kLevels[0]},
                               0,
                               "c:\\maps\\mymap.map",
                               "command.com /c Duke3D /m /nm /s1 /t0 -map c:\\maps\\mymap.map"},
                      LineCase{"group_file",
                               Options(0, 0, 0, 2, 0, 0, 0),
                               {"addon.grp", kLevels[0]},
                               0,
                               "c:\\duke3d\\addon.grp",
                               "command.com /c Duke3D /s3 /g c:\\duke3d\\addon.grp"},
                      LineCase{"all_off_still_has_skill", Options(0, 0, 0, 0, 0, 0, 0), kLevels, 0,
                               "", "command.com /c Duke3D /s1"},
                      LineCase{"sound_disabled", Options(0, 0, 2, 0, 0, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /ns /s1"},
                      LineCase{"sound_out_of_range", Options(0, 0, -1, 0, 0, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s1"},
                      LineCase{"stored_two_is_not_set", Options(2, 2, 0, 0, 0, 0, 2), kLevels, 0,
                               "", "command.com /c Duke3D /s1"},
                      LineCase{"respawn_items", Options(0, 0, 0, 0, 2, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s1 /t1"},
                      LineCase{"respawn_inventory", Options(0, 0, 0, 0, 3, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s1 /t2"},
                      LineCase{"respawn_negative", Options(0, 0, 0, 0, -1, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s1 /t-2"},
                      LineCase{"skill_negative", Options(0, 0, 0, -5, 0, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s-4"},
                      LineCase{"ai_without_fakers", Options(0, 0, 0, 0, 0, 0, 1), kLevels, 0, "",
                               "command.com /c Duke3D /s1 /a"},
                      LineCase{"eight_fakers", Options(0, 0, 0, 0, 0, 8, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s1 /q8"},
                      LineCase{"episode_four", Options(0, 0, 0, 0, 0, 0, 0), kLevels, 3, "",
                               "command.com /c Duke3D /s1 /v4 /l11"},
                      LineCase{"built_in_below_user_map",
                               Options(0, 0, 0, 0, 0, 0, 0),
                               {"mymap.map", kLevels[0], kLevels[1]},
                               1,
                               "c:\\maps\\mymap.map",
                               "command.com /c Duke3D /s1 /v1 /l01"},
                      LineCase{"no_selection", Options(0, 0, 0, 0, 0, 0, 0), kLevels, -1, "",
                               "command.com /c Duke3D /s1 /v /l"},
                      LineCase{"map_without_path",
                               Options(0, 0, 0, 0, 0, 0, 0),
                               {"mymap.map"},
                               0,
                               "",
                               "command.com /c Duke3D /s1 -map"},
                      LineCase{"upper_case_extension",
                               Options(0, 0, 0, 0, 0, 0, 0),
                               {"MYMAP.MAP"},
                               0,
                               "c:\\mymap.map",
                               "command.com /c Duke3D /s1 -map c:\\mymap.map"},
                      LineCase{"short_stage_text",
                               Options(0, 0, 0, 0, 0, 0, 0),
                               {"x", "abc"},
                               1,
                               "",
                               "command.com /c Duke3D /s1 /va /lc"},
                      LineCase{"text_shorter_than_extension",
                               Options(0, 0, 0, 0, 0, 0, 0),
                               {"map"},
                               0,
                               "c:\\x.map",
                               "command.com /c Duke3D /s1"}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(BuildCommandLine, IsEmptyBeforeTheFirstBuild) {
  testsupport::ResetProcessWideValues();
  EXPECT_EQ(GameCommandLine, "");
}

}  // namespace
