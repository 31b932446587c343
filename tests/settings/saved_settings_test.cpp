#include "settings/saved_settings.h"

#include <gtest/gtest.h>

#include "base/launch_options.h"
#include "presets/presets.h"
#include "settings/registry.h"
#include "support/fake_window.h"
#include "support/shared_fixture.h"
#include "winapi/registry.h"

namespace {

class SavedSettingsTest : public testsupport::SharedTest {
 protected:
  void SetUp() override {
    SharedTest::SetUp();
    MakeRegistryKey(SettingsKey, platform::kHkeyCurrentUser);
  }
  void Store(const char* name, const std::string& value) {
    WriteRegistryValue(SettingsKey, name, value, platform::kRegSz);
  }
  testsupport::FakeWindow window;
};

TEST_F(SavedSettingsTest, FirstRunPutsTheWindowTopLeftWithEveryOptionZero) {
  LaunchOptions.Sound = 3;
  LoadSettings(window);
  EXPECT_EQ(window.left, 0);
  EXPECT_EQ(window.top, 0);
  EXPECT_EQ(LaunchOptions.Sound, 0);
  EXPECT_EQ(LaunchOptions.Fakers, 0);
}

TEST_F(SavedSettingsTest, ThePositionMustBeStrictlyInsideTheScreen) {
  window.screenWidth = 15360;
  window.screenHeight = 11520;
  Store("FormX", "15360");
  Store("FormY", "11519");
  LoadSettings(window);
  EXPECT_EQ(window.left, 300);  // equal to the width: ignored
  EXPECT_EQ(window.top, 11519);
  Store("FormX", "15359");
  Store("FormY", "-450");
  LoadSettings(window);
  EXPECT_EQ(window.left, 15359);
  EXPECT_EQ(window.top, -450);
}

struct NumberCase {
  std::string stored;
  std::int16_t loaded;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
  *os << '"' << c.stored << '"';
}

class StoredNumbers : public SavedSettingsTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(StoredNumbers, LoadAsTheirNumberOrZero) {
  Store("Skills", GetParam().stored);
  LaunchOptions.Skills = 99;
  LoadSettings(window);
  EXPECT_EQ(LaunchOptions.Skills, GetParam().loaded) << GetParam().stored;
}

INSTANTIATE_TEST_SUITE_P(Numbers, StoredNumbers,
                         ::testing::Values(NumberCase{"2", 2}, NumberCase{"2.5", 2},
                                           NumberCase{"3.5", 4}, NumberCase{"-1", -1},
                                           NumberCase{" 3 ", 3}, NumberCase{"abc", 0},
                                           NumberCase{"", 0}, NumberCase{"1e3", 0},
                                           NumberCase{"32767", 32767}, NumberCase{"32768", 0},
                                           NumberCase{"-32769", 0}, NumberCase{"0x10", 0},
                                           NumberCase{".5", 0}, NumberCase{"1.5", 2}));

TEST_F(SavedSettingsTest, DwordValuesLoadLikeTheirText) {
  WriteRegistryValue(SettingsKey, "Respawn", std::int32_t{4}, platform::kRegDword);
  WriteRegistryValue(SettingsKey, "FormX", std::int32_t{1500}, platform::kRegDword);
  LoadSettings(window);
  EXPECT_EQ(LaunchOptions.Respawn, 4);
  EXPECT_EQ(window.left, 1500);
}

}  // namespace

namespace {

// Presets, each in a key of its own: any name a user can type comes back
// as it was typed, a damaged one is skipped with a word and costs the
// others nothing, and a rename moves the whole preset.
TEST_F(SavedSettingsTest, PresetsKeepAnyNameAndADamagedOneCostsNoOther) {
  const std::vector<std::string> names = {"Duke It Out: D.C.", "back\\slash [1] 100%",
                                          "\xc5\x81ukasz's \"mod\"", "a/b"};
  for (const std::string& name : names) {
    presets::Preset preset;
    preset.name = name;
    preset.engine = "EDuke32";
    preset.options.Skills = 3;
    preset.files = {{"/mods/DUKEDC.GRP", "1:2", true}, {"/mods/DC.CON", "1:3", false}};
    preset.stage = "1-01  Hollywood Holocaust";
    ASSERT_TRUE(presets::SavePreset(preset)) << name;
    ASSERT_EQ(presets::FindPreset(name), preset) << name;
  }
  EXPECT_EQ(presets::WhyNotAName("DUKE IT OUT: d.c.", presets::LoadPresets().presets),
            "There is a preset called \"Duke It Out: D.C.\" already.");
  // Another program (or a crash) left one half written.
  const std::string damaged = std::string(presets::kPresetsKey) + "\\" + presets::KeyOf("a/b");
  WriteRegistryValue(damaged, "Files", std::string("many"), platform::kRegSz);
  presets::Stored stored = presets::LoadPresets();
  EXPECT_EQ(stored.presets.size(), names.size() - 1);
  ASSERT_EQ(stored.damaged.size(), 1u);
  EXPECT_NE(stored.damaged[0].find("its number of files is not one"), std::string::npos);
  ASSERT_TRUE(presets::RenamePreset(names[1], "Renamed"));
  EXPECT_FALSE(presets::FindPreset(names[1]).has_value());
  ASSERT_TRUE(presets::FindPreset("Renamed").has_value());
  EXPECT_EQ(presets::FindPreset("Renamed")->files.size(), 2u);
}

}  // namespace
