// A fixture for the tests that state behaviour Windows and the POSIX
// imitation share: the same test runs against both. It gives a fresh,
// empty settings store and a temporary folder, and resets the process-wide
// values.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace testsupport {

void ResetProcessWideValues();

// True in a Windows build that runs under Wine, where a few known cases
// differ from Windows and are marked so.
bool RunningUnderWine();

class SharedTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A file in the temporary folder, by the platform's own (DOS) path.
  std::string WriteTempFile(const std::string& name, const std::string& content);

  std::filesystem::path temp_;

 private:
  std::string oldConfig_;
  bool hadConfig_ = false;
};

}  // namespace testsupport
