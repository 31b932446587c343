#include <gtest/gtest.h>

#include "base/launch_options.h"
#include "settings/registry.h"
#include "settings/saved_settings.h"
#include "support/fake_window.h"
#include "support/test_support.h"
#include "winapi/registry.h"

namespace {

using SavedSettingsFileTest = testsupport::IsolatedTest;

TEST_F(SavedSettingsFileTest, SaveWritesEightTextValuesInOrder) {
  MakeRegistryKey(SettingsKey, platform::kHkeyCurrentUser);
  testsupport::FakeWindow window;
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
