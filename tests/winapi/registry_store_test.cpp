#include "winapi/registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "winapi/regfile.h"
#include "settings/registry.h"
#include "support/test_support.h"

namespace {

class RegistryStoreTest : public testsupport::IsolatedTest {
 protected:
  std::string Read(const char* name) {
    ReadRegistryValue(SettingsKey, name);
    const auto* s = std::get_if<std::string>(&RegistryValue);
    return s != nullptr ? *s : "<none>";
  }
};

TEST_F(RegistryStoreTest, LivesInTheUsersConfigurationFolder) {
  EXPECT_EQ(platform::posix::RegistryFilePath(), ConfigHome() + "/kestrum/user.reg");
  testsupport::ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(platform::posix::RegistryFilePath(), Root() + "/home/.config/kestrum/user.reg");
}

TEST_F(RegistryStoreTest, ACrashBeforeTheReplaceLeavesTheOldFileWhole) {
  MakeRegistryKey(SettingsKey, platform::kHkeyCurrentUser);
  WriteRegistryValue(SettingsKey, "Sound", std::string("1"), platform::kRegSz);
  const std::string before = testsupport::ReadFile(RegistryFile());
  const pid_t child = ::fork();
  if (child == 0) {
    platform::posix::ReplaceWhole(RegistryFile(), "REGEDIT4\r\n", [] { ::_exit(3); });
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_EQ(WEXITSTATUS(status), 3);
  EXPECT_EQ(testsupport::ReadFile(RegistryFile()), before);
  EXPECT_EQ(Read("Sound"), "1");
  // The next write goes through, the crash's leftover file notwithstanding.
  WriteRegistryValue(SettingsKey, "Sound", std::string("3"), platform::kRegSz);
  EXPECT_EQ(Read("Sound"), "3");
}

TEST_F(RegistryStoreTest, KillsDuringSavesLoseNothingAndLeaveNoTemporaryFileBehind) {
  const char* mine = "Software\\Mine";
  MakeRegistryKey(SettingsKey, platform::kHkeyCurrentUser);
  MakeRegistryKey(mine, platform::kHkeyCurrentUser);
  for (int i = 0; i < 300; ++i) {
    WriteRegistryValue(mine, "v" + std::to_string(i), std::int32_t{i}, platform::kRegSz);
  }
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<int> micros(0, 3000);
  for (int kill = 0; kill < 120; ++kill) {
    const pid_t child = ::fork();
    if (child == 0) {
      for (std::int32_t i = 0;; ++i) {
        WriteRegistryValue(SettingsKey, "Sound", std::int32_t{i % 4}, platform::kRegSz);
      }
    }
    ::usleep(static_cast<useconds_t>(micros(random)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
  }
  const auto file = platform::regfile::Parse(testsupport::ReadFile(RegistryFile()));
  ASSERT_TRUE(file.has_value());
  for (int i = 0; i < 300; ++i) {
    const auto* v = file->FindValue("HKEY_CURRENT_USER\\Software\\Mine", "v" + std::to_string(i));
    ASSERT_NE(v, nullptr) << i;
    EXPECT_EQ(v->data, std::to_string(i) + '\0');
  }
  // What a killed writer left goes with the next save of a live one: at most
  // the last one's is still there.
  auto temporaries = [&] {
    int n = 0;
    for (const auto& name : testsupport::ListDir(ConfigHome() + "/kestrum")) {
      n += name.find(".tmp-") != std::string::npos ? 1 : 0;
    }
    return n;
  };
  EXPECT_LE(temporaries(), 1);
  WriteRegistryValue(SettingsKey, "Sound", std::string("x"), platform::kRegSz);
  EXPECT_EQ(temporaries(), 0);
  EXPECT_EQ(Read("Sound"), "x");
}

TEST_F(RegistryStoreTest, TwoWritersAtOnceLoseNoValue) {
  MakeRegistryKey(SettingsKey, platform::kHkeyCurrentUser);
  constexpr int kWriters = 2;
  constexpr int kValues = 40;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t child = ::fork();
    if (child == 0) {
      for (int i = 0; i < kValues; ++i) {
        WriteRegistryValue(SettingsKey, "w" + std::to_string(w) + "v" + std::to_string(i),
                           std::int32_t{i}, platform::kRegSz);
      }
      ::_exit(0);
    }
    children.push_back(child);
  }
  for (pid_t c : children) ::waitpid(c, nullptr, 0);
  for (int w = 0; w < kWriters; ++w) {
    for (int i = 0; i < kValues; ++i) {
      const std::string name = "w" + std::to_string(w) + "v" + std::to_string(i);
      EXPECT_EQ(Read(name.c_str()), std::to_string(i)) << name;
    }
  }
}

TEST_F(RegistryStoreTest, AFileThatDoesNotParseIsSetAsideNotOverwritten) {
  for (const std::string& bad :
       {std::string("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"FormX\"=\"14"),
        std::string("\x89PNG\r\n\x1a\n\0\0\0", 11),
        std::string("my own notes, not a registry\n")}) {
    testsupport::MakeDirs(ConfigHome() + "/kestrum");
    testsupport::WriteFile(RegistryFile(), bad);
    EXPECT_EQ(Read("Sound"), "<none>");
    MakeRegistryKey(SettingsKey, platform::kHkeyCurrentUser);
    WriteRegistryValue(SettingsKey, "Sound", std::string("2"), platform::kRegSz);
    EXPECT_EQ(Read("Sound"), "2");
    bool kept = false;
    for (const auto& name : testsupport::ListDir(ConfigHome() + "/kestrum")) {
      if (name.starts_with("user.reg.unreadable-")) {
        kept = kept || testsupport::ReadFile(ConfigHome() + "/kestrum/" + name) == bad;
        ::unlink((ConfigHome() + "/kestrum/" + name).c_str());
      }
    }
    EXPECT_TRUE(kept) << bad;
  }
}

TEST_F(RegistryStoreTest, KeysAndValuesKeepTheCaseTheyWereCreatedWith) {
  MakeRegistryKey("Software\\MixedCase\\Key", platform::kHkeyCurrentUser);
  MakeRegistryKey("SOFTWARE\\mixedcase\\KEY\\Sub", platform::kHkeyCurrentUser);
  WriteRegistryValue("software\\MIXEDCASE\\key", "ValueName", std::string("1"), platform::kRegSz);
  WriteRegistryValue("Software\\MixedCase\\Key", "VALUENAME", std::string("2"), platform::kRegSz);
  const std::string file = testsupport::ReadFile(RegistryFile());
  EXPECT_NE(file.find("[HKEY_CURRENT_USER\\Software\\MixedCase\\Key]\r\n\"ValueName\"=\"2\"\r\n"),
            std::string::npos)
      << file;
  EXPECT_NE(file.find("[HKEY_CURRENT_USER\\Software\\MixedCase\\Key\\Sub]"), std::string::npos);
}

}  // namespace
