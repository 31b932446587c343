#include "platform/profile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"
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

}  // namespace
