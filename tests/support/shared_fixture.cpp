#include "support/shared_fixture.h"

#include <chrono>
#include <cstdlib>
#include <fstream>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include "base/launch_options.h"
#include "app/main_form.h"
#include "launch/command_line.h"
#include "levels/ini_files.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "winapi/dos_paths.h"
#include "winapi/registry.h"
#include "os/instance.h"
#include "settings/registry.h"

namespace testsupport {

namespace {
#ifdef _WIN32
// The tests never touch the user's own settings: the current user's hive is
// redirected, for this process, to a key of the tests' own.
constexpr const char* kTestHive = "Software\\KestrumTests";
HKEY testHive = nullptr;

void ClearSettingsStore() {
  if (testHive != nullptr) {
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    ::RegCloseKey(testHive);
    testHive = nullptr;
  }
  const std::string mine = std::string(kTestHive) + "\\" + std::to_string(::GetCurrentProcessId());
  ::RegDeleteTreeA(HKEY_CURRENT_USER, mine.c_str());
}

void UseTestHive() {
  const std::string mine = std::string(kTestHive) + "\\" + std::to_string(::GetCurrentProcessId());
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, mine.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &testHive, nullptr) != ERROR_SUCCESS ||
      ::RegOverridePredefKey(HKEY_CURRENT_USER, testHive) != ERROR_SUCCESS) {
    ADD_FAILURE() << "the current user's hive could not be redirected";
  }
}
#else
void ClearSettingsStore() {}
void UseTestHive() {}
#endif
}  // namespace

bool RunningUnderWine() {
#ifdef _WIN32
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

void ResetProcessWideValues() {
  LaunchOptions = LaunchOptionsRecord{};
  GameCommandLine.clear();
  UserFilePath.clear();
  SetupVersion.clear();
  RegistryValue = TaggedValue{};
  platform::ReleaseInstance();
}

void SharedTest::SetUp() {
  static int counter = 0;
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  temp_ = std::filesystem::temp_directory_path() /
          ("ks" + std::to_string(stamp % 100000) + std::to_string(++counter));
  std::filesystem::create_directories(temp_ / "config");
#ifndef _WIN32
  if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
    hadConfig_ = true;
    oldConfig_ = old;
  }
  ::setenv("XDG_CONFIG_HOME", (temp_ / "config").string().c_str(), 1);
#endif
  ClearSettingsStore();
  UseTestHive();
  ResetProcessWideValues();
}

void SharedTest::TearDown() {
  ResetProcessWideValues();
  ClearSettingsStore();
#ifndef _WIN32
  if (hadConfig_) {
    ::setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
#endif
  std::error_code ignored;
  std::filesystem::remove_all(temp_, ignored);
}

std::string SharedTest::WriteTempFile(const std::string& name, const std::string& content) {
  const auto path = temp_ / name;
  std::ofstream(path, std::ios::binary) << content;
  return platform::HostToDos(platform::HostPath{path.string()}).text;
}

}  // namespace testsupport
