#include "settings/saved_settings.h"

#include <gtest/gtest.h>

#include "base/launch_options.h"
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
