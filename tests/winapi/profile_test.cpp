#include "winapi/profile_rules.h"

#include <gtest/gtest.h>

#include <cstring>

#include "winapi/dos_paths.h"
#include "winapi/profile.h"
#include "support/test_support.h"

namespace {

class ProfileFile : public testsupport::IsolatedTest {};

TEST_F(ProfileFile, MissingFileGivesTheDefaultAndZero) {
  char buffer[255] = "junk";
  EXPECT_EQ(platform::GetPrivateProfileStringA("S", "k", "", buffer, 255,
                                               platform::ProgramDirectory() + "\\none.cfg"),
            0u);
  EXPECT_STREQ(buffer, "");
}

TEST_F(ProfileFile, ReadsThroughTheDosPathOfTheFile) {
  testsupport::WriteFile(ProgramDir() + "/Duke3d.cfg", "[Setup]\r\nSetupVersion = 1.5\r\n");
  char buffer[255];
  EXPECT_EQ(platform::GetPrivateProfileStringA("Setup", "SetupVersion", "", buffer, 255,
                                               platform::ProgramDirectory() + "\\DUKE3D.CFG"),
            3u);
  EXPECT_STREQ(buffer, "1.5");
}

// The quotes come off a value as Windows takes them off, however long its
// line: beyond what the reader keeps of it, too.
TEST_F(ProfileFile, QuotesComeOffAValueOfAnyLength) {
  for (const std::size_t length :
       {std::size_t{300}, std::size_t{64 * 1024}, std::size_t{1} << 20}) {
    SCOPED_TRACE(length);
    testsupport::WriteFile(ProgramDir() + "/Duke3d.cfg",
                           "[Setup]\r\nSetupVersion = \"" + std::string(length, '7') + "\"  \r\n");
    char buffer[255];
    EXPECT_EQ(platform::GetPrivateProfileStringA("Setup", "SetupVersion", "", buffer, 255,
                                                 platform::ProgramDirectory() + "\\Duke3d.cfg"),
              254u);
    EXPECT_EQ(std::string(buffer), std::string(254, '7'));
  }
}

}  // namespace
