#include "settings/registry.h"

#include <gtest/gtest.h>

#include "settings/registry_fixture.h"
#include "support/test_support.h"
#include "winapi/registry.h"

namespace {

using testsupport::kKey;
using RegistryLayerTest = testsupport::RegistryFixture<testsupport::IsolatedTest>;

TEST_F(RegistryLayerTest, MakeRegistryKeyCreatesEveryKeyOfThePath) {
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  const std::string file = testsupport::ReadFile(RegistryFile());
  EXPECT_NE(file.find("[HKEY_CURRENT_USER\\Software]\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum]\r\n"), std::string::npos);
  EXPECT_NE(file.find("[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General]\r\n"),
            std::string::npos);
  // Making it again changes nothing.
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  EXPECT_EQ(testsupport::ReadFile(RegistryFile()), file);
}

TEST_F(RegistryLayerTest, DwordsReadAsNumbersNotText) {
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  WriteRegistryValue(kKey, "Skills", std::int32_t{2}, platform::kRegDword);
  ReadRegistryValue(kKey, "Skills");
  EXPECT_EQ(RegistryValue, TaggedValue(std::int32_t{2}));
  EXPECT_NE(testsupport::ReadFile(RegistryFile()).find("\"Skills\"=dword:00000002\r\n"),
            std::string::npos);
}

TEST_F(RegistryLayerTest, OtherTypesAreNeitherReadNorWritten) {
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  SetRaw("Binary", platform::kRegBinary, "\x01\x02");
  SetRaw("Expand", platform::kRegExpandSz, std::string("%x%\0", 4));
  ReadRegistryValue(kKey, "Sound");
  ReadRegistryValue(kKey, "Binary");
  EXPECT_EQ(RegistryValue, TaggedValue());
  ReadRegistryValue(kKey, "Expand");
  EXPECT_EQ(RegistryValue, TaggedValue());

  platform::HKey key = 0;
  platform::RegOpenKeyExA(platform::kHkeyCurrentUser, kKey, 0, kKeyRights, &key);
  TaggedValue value = std::string("kept");
  EXPECT_EQ(FetchValueData(key, "Binary", value), kUnsupportedType);
  EXPECT_EQ(value, TaggedValue(std::string("kept")));
  EXPECT_EQ(StoreValueData(key, "Other", platform::kRegBinary, std::int32_t{5}), 0);
  platform::RegCloseKey(key);
  EXPECT_EQ(testsupport::ReadFile(RegistryFile()).find("\"Other\""), std::string::npos);
}

TEST_F(RegistryLayerTest, WritingToAMissingKeyWritesNothing) {
  WriteRegistryValue(kKey, "Sound", std::int16_t{1}, platform::kRegSz);
  EXPECT_FALSE(testsupport::Exists(RegistryFile()));
  MakeRegistryKey("Software\\Other", platform::kHkeyCurrentUser);
  WriteRegistryValue(kKey, "Sound", std::int16_t{1}, platform::kRegSz);
  EXPECT_EQ(testsupport::ReadFile(RegistryFile()).find("Tolvane"), std::string::npos);
}

}  // namespace
