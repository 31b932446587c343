#include "settings/saved_settings.h"

#include <gtest/gtest.h>

#include "app/launch_options.h"
#include "settings/registry.h"
#include "support/fake_window.h"
#include "support/test_support.h"

namespace {

class SavedSettingsTest : public testsupport::IsolatedTest {
 protected:
  void SetUp() override {
    IsolatedTest::SetUp();
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

TEST_F(SavedSettingsTest, SaveWritesEightTextValuesInOrder) {
  window.left = 1440;
  window.top = 720;
  LaunchOptions = {1, 0, 2, 3, 1, 4, 1};
  SaveSettings(window);
  EXPECT_EQ(testsupport::ReadFile(RegistryFile()),
            "REGEDIT4\r\n"
            "\r\n[HKEY_CURRENT_USER\\Software]\r\n"
            "\r\n[HKEY_CURRENT_USER\\Software\\Tolvane]\r\n"
            "\r\n[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum]\r\n"
            "\r\n[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General]\r\n"
            "\"FormX\"=\"1440\"\r\n"
            "\"FormY\"=\"720\"\r\n"
            "\"Record\"=\"1\"\r\n"
            "\"Monsters\"=\"0\"\r\n"
            "\"Sound\"=\"2\"\r\n"
            "\"Skills\"=\"3\"\r\n"
            "\"Respawn\"=\"1\"\r\n"
            "\"Fakers\"=\"4\"\r\n"
            "\r\n");
  LaunchOptions = {};
  testsupport::FakeWindow next;
  LoadSettings(next);
  EXPECT_EQ(next.left, 1440);
  EXPECT_EQ(next.top, 720);
  EXPECT_EQ(LaunchOptions.Record, 1);
  EXPECT_EQ(LaunchOptions.Sound, 2);
  EXPECT_EQ(LaunchOptions.Skills, 3);
  EXPECT_EQ(LaunchOptions.Respawn, 1);
  EXPECT_EQ(LaunchOptions.Fakers, 4);
  EXPECT_EQ(LaunchOptions.ArtInt, 0);
}

}  // namespace
