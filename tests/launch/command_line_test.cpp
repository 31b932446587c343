#include "launch/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/launch_options.h"
#include "base/main_window.h"
#include "launch/engine.h"
#include "launch/launcher.h"
#include "text/text.h"
#include "winapi/dos_paths.h"
#include "levels/levels.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "support/game_reader.h"
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
  StageList stages;
  for (const auto& e : c.entries) stages.AddItem(e);
  stages.SetListIndex(c.selected);
  UserFilePath = c.userFilePath;
  GameCommandLine = BuildCommandLine(LaunchOptions, stages.Text(), UserFilePath);
  EXPECT_EQ(GameCommandLine, c.expected);
  // A second build starts afresh instead of appending.
  GameCommandLine = BuildCommandLine(LaunchOptions, stages.Text(), UserFilePath);
  EXPECT_EQ(GameCommandLine, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BuildCommandLineTest,
    ::testing::Values(LineCase{"defaults", Options(0, 0, 0, 1, 0, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s2 /v1 /l01"},
                      LineCase{"everything", Options(1, 0, 3, 3, 4, 3, 1), kLevels, 2, "",
                               "command.com /c Duke3D /r /nm /ns /s4 /tx /q3 /a /v2 /l05"},
                      LineCase{"user_map",
                               Options(0, 1, 1, 0, 1, 0, 0),
                               {"mymap.map", kLevels[0]},
                               0,
                               "c:\\maps\\mymap.map",
                               "command.com /c Duke3D /m /nm /s1 /t1 -map c:\\maps\\mymap.map"},
                      LineCase{"group_file",
                               Options(0, 0, 0, 2, 0, 0, 0),
                               {"addon.grp", kLevels[0]},
                               0,
                               "c:\\duke3d\\addon.grp",
                               "command.com /c Duke3D /s3 /gc:\\duke3d\\addon.grp"},
                      LineCase{"all_off_still_has_skill", Options(0, 0, 0, 0, 0, 0, 0), kLevels, 0,
                               "", "command.com /c Duke3D /s1 /v1 /l01"},
                      LineCase{"sound_disabled", Options(0, 0, 2, 0, 0, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /ns /s1 /v1 /l01"},
                      LineCase{"sound_out_of_range", Options(0, 0, -1, 0, 0, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s1 /v1 /l01"},
                      LineCase{"stored_two_is_not_set", Options(2, 2, 0, 0, 0, 0, 2), kLevels, 0,
                               "", "command.com /c Duke3D /s1 /v1 /l01"},
                      LineCase{"respawn_items", Options(0, 0, 0, 0, 2, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s1 /t2 /v1 /l01"},
                      LineCase{"respawn_inventory", Options(0, 0, 0, 0, 3, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s1 /t3 /v1 /l01"},
                      LineCase{"respawn_negative", Options(0, 0, 0, 0, -1, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s1 /t-1 /v1 /l01"},
                      LineCase{"skill_negative", Options(0, 0, 0, -5, 0, 0, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s-4 /v1 /l01"},
                      LineCase{"ai_without_fakers", Options(0, 0, 0, 0, 0, 0, 1), kLevels, 0, "",
                               "command.com /c Duke3D /s1 /a /v1 /l01"},
                      LineCase{"eight_fakers", Options(0, 0, 0, 0, 0, 8, 0), kLevels, 0, "",
                               "command.com /c Duke3D /s1 /q8 /v1 /l01"},
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
                               "command.com /c Duke3D /s1 /vm /lp"}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

// Read as the game reads its switches, the line starts the game the user
// chose: every option, and every kind of stage.
class BuildCommandLineFiles : public testsupport::SharedTest {
 protected:
  // A file of the temporary folder, by its host path.
  std::string HostFile(const std::string& name, const std::string& content) {
    const auto path = temp_ / std::filesystem::path(reinterpret_cast<const char8_t*>(name.c_str()));
    std::ofstream(path, std::ios::binary) << content;
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
  }
  std::string Folder() const {
    const auto text = temp_.u8string();
    return std::string(text.begin(), text.end());
  }
};

TEST_F(BuildCommandLineFiles, TheGameStartsAsTheUserChose) {
  using testsupport::GameStart;
  using testsupport::Respawn;
  const std::set<Respawn> all = {Respawn::kMonsters, Respawn::kItems, Respawn::kInventory};
  const std::vector<std::string> belowUserMap = {"mymap.map", kLevels[0], kLevels[1]};
  const std::vector<std::string> group = {"addon.grp", kLevels[0]};
  struct Case {
    const char* name;
    LaunchOptionsRecord options;
    std::vector<std::string> entries;
    int selected;
    GameStart expected;
  };
  // Each case names only what differs from the game's own defaults.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
  const std::vector<Case> cases = {
      {"the first level",
       Options(0, 0, 0, 1, 0, 0, 0),
       kLevels,
       0,
       {.startsLevel = true, .skill = 2}},
      {"Piece of Cake",
       Options(0, 0, 0, 0, 0, 0, 0),
       kLevels,
       1,
       {.startsLevel = true, .skill = 1, .level = 2}},
      {"Damn I'm Good",
       Options(0, 0, 0, 3, 0, 0, 0),
       kLevels,
       0,
       {.startsLevel = true, .skill = 4, .respawn = {Respawn::kMonsters}}},
      {"Monsters Only",
       Options(0, 0, 0, 1, 1, 0, 0),
       kLevels,
       0,
       {.startsLevel = true, .skill = 2, .respawn = {Respawn::kMonsters}}},
      {"Items Only",
       Options(0, 0, 0, 1, 2, 0, 0),
       kLevels,
       0,
       {.startsLevel = true, .skill = 2, .respawn = {Respawn::kItems}}},
      {"Inventory Only",
       Options(0, 0, 0, 1, 3, 0, 0),
       kLevels,
       0,
       {.startsLevel = true, .skill = 2, .respawn = {Respawn::kInventory}}},
      {"Everything!",
       Options(0, 0, 0, 1, 4, 0, 0),
       kLevels,
       0,
       {.startsLevel = true, .skill = 2, .respawn = all}},
      {"Music Disabled",
       Options(0, 0, 1, 1, 0, 0, 0),
       kLevels,
       0,
       {.startsLevel = true, .skill = 2, .music = false}},
      {"Sound Disabled",
       Options(0, 0, 2, 1, 0, 0, 0),
       kLevels,
       0,
       {.startsLevel = true, .skill = 2, .sound = false}},
      {"Sound & Music Off",
       Options(0, 0, 3, 1, 0, 0, 0),
       kLevels,
       0,
       {.startsLevel = true, .skill = 2, .sound = false, .music = false}},
      {"Disable Monsters keeps the skill",
       Options(0, 1, 0, 2, 0, 0, 0),
       kLevels,
       0,
       {.startsLevel = true, .skill = 3, .monstersOff = true}},
      {"Record Demo",
       Options(1, 0, 0, 1, 0, 0, 0),
       kLevels,
       0,
       {.startsLevel = true, .skill = 2, .recordsDemo = true}},
      // Fake players respawn everything in the game; on the first level the
      // monsters and the skill stay as chosen.
      {"fake players with AI on the first level",
       Options(0, 0, 0, 2, 0, 3, 1),
       kLevels,
       0,
       {.startsLevel = true, .skill = 3, .respawn = all, .fakePlayers = 3, .ai = true}},
      {"episode 4",
       Options(0, 0, 0, 1, 0, 0, 0),
       kLevels,
       3,
       {.startsLevel = true, .skill = 2, .episode = 4, .level = 11}},
      {"a user map",
       Options(0, 0, 0, 1, 0, 0, 0),
       belowUserMap,
       0,
       {.startsLevel = true, .skill = 2, .map = "c:\\maps\\mymap.map"}},
      {"the first level below a user map",
       Options(0, 0, 0, 1, 0, 0, 0),
       belowUserMap,
       1,
       {.startsLevel = true, .skill = 2}},
      // A user map starts at once: the skill, the fake players and their AI
      // stay as chosen.
      {"a user map, Damn I'm Good, fake players with AI",
       Options(0, 0, 0, 3, 0, 2, 1),
       belowUserMap,
       0,
       {.startsLevel = true,
        .skill = 4,
        .respawn = all,
        .fakePlayers = 2,
        .ai = true,
        .map = "c:\\maps\\mymap.map"}},
      // A group file brings episodes of its own: its menu is where to start.
      {"a group file",
       Options(0, 0, 0, 1, 0, 0, 0),
       group,
       0,
       {.skill = 2, .skillFromMenu = true, .group = "c:\\maps\\mymap.map"}},
  };
#pragma GCC diagnostic pop
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::ResetProcessWideValues();
    LaunchOptions = c.options;
    StageList stages;
    for (const auto& e : c.entries) stages.AddItem(e);
    stages.SetListIndex(c.selected);
    UserFilePath = "c:\\maps\\mymap.map";
    GameCommandLine = BuildCommandLine(LaunchOptions, stages.Text(), UserFilePath);
    GameStart game = testsupport::ReadAsTheGame(GameCommandLine);
    game.groups.clear();  // the one group is group's
    EXPECT_EQ(game, c.expected) << GameCommandLine << "\n  the game: " << Describe(game)
                                << "\n  chosen:   " << Describe(c.expected);
  }
  testsupport::ResetProcessWideValues();
}

TEST(BuildCommandLine, IsEmptyBeforeTheFirstBuild) {
  testsupport::ResetProcessWideValues();
  EXPECT_EQ(GameCommandLine, "");
}

}  // namespace
