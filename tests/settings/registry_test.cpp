#include "settings/registry.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

constexpr const char* kKey = "Software\\Tolvane\\Kestrum\\General";

class RegistryLayerTest : public testsupport::IsolatedTest {
 protected:
  std::int32_t SetRaw(const std::string& name, std::uint32_t type, const std::string& bytes) {
    platform::HKey key = 0;
    EXPECT_EQ(platform::RegOpenKeyExA(platform::kHkeyCurrentUser, kKey, 0, kKeyRights, &key), 0);
    const auto rc = platform::RegSetValueExA(key, name, type,
                                             reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             static_cast<std::uint32_t>(bytes.size()));
    platform::RegCloseKey(key);
    return rc;
  }
  std::string RawData(const std::string& name, std::uint32_t* type) {
    platform::HKey key = 0;
    platform::RegOpenKeyExA(platform::kHkeyCurrentUser, kKey, 0, kKeyRights, &key);
    std::uint32_t size = 0;
    EXPECT_EQ(platform::RegQueryValueExA(key, name, type, nullptr, &size), 0);
    std::string data(size, '\0');
    EXPECT_EQ(platform::RegQueryValueExA(key, name, type,
                                         reinterpret_cast<std::uint8_t*>(data.data()), &size),
              0);
    platform::RegCloseKey(key);
    return data;
  }
};

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

TEST_F(RegistryLayerTest, TextWrittenFromANumberIsItsDigitsAndANul) {
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  WriteRegistryValue(kKey, "Sound", std::int16_t{3}, platform::kRegSz);
  std::uint32_t type = 0;
  EXPECT_EQ(RawData("Sound", &type), std::string("3\0", 2));
  EXPECT_EQ(type, platform::kRegSz);
  ReadRegistryValue(kKey, "Sound");
  EXPECT_EQ(RegistryValue, TaggedValue(std::string("3")));
}

TEST_F(RegistryLayerTest, SingleNumbersAreWrittenAsDecimalText) {
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  std::uint32_t type = 0;
  WriteRegistryValue(kKey, "FormX", 1440.0f, platform::kRegSz);
  EXPECT_EQ(RawData("FormX", &type), std::string("1440\0", 5));
  WriteRegistryValue(kKey, "FormX", 2.5f, platform::kRegSz);
  EXPECT_EQ(RawData("FormX", &type), std::string("2.5\0", 4));
  WriteRegistryValue(kKey, "FormX", -15.0f, platform::kRegSz);
  EXPECT_EQ(RawData("FormX", &type), std::string("-15\0", 4));
  WriteRegistryValue(kKey, "Record", std::string("text"), platform::kRegSz);
  EXPECT_EQ(RawData("Record", &type), std::string("text\0", 5));
}

TEST_F(RegistryLayerTest, DwordsReadAsNumbersNotText) {
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  WriteRegistryValue(kKey, "Skills", std::int32_t{2}, platform::kRegDword);
  ReadRegistryValue(kKey, "Skills");
  EXPECT_EQ(RegistryValue, TaggedValue(std::int32_t{2}));
  EXPECT_NE(testsupport::ReadFile(RegistryFile()).find("\"Skills\"=dword:00000002\r\n"),
            std::string::npos);
}

TEST_F(RegistryLayerTest, FailedReadsLeaveTheResultEmpty) {
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  WriteRegistryValue(kKey, "Sound", std::int16_t{1}, platform::kRegSz);
  ReadRegistryValue(kKey, "Sound");
  ASSERT_EQ(RegistryValue, TaggedValue(std::string("1")));
  ReadRegistryValue(kKey, "Missing");
  EXPECT_EQ(RegistryValue, TaggedValue());

  ReadRegistryValue(kKey, "Sound");
  ReadRegistryValue("Software\\Nobody\\Here", "Sound");
  EXPECT_EQ(RegistryValue, TaggedValue());
  platform::HKey key = 0;
  EXPECT_EQ(platform::RegOpenKeyExA(platform::kHkeyCurrentUser, "Software\\Nobody\\Here", 0,
                                    kKeyRights, &key),
            platform::kErrorFileNotFound);
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

TEST_F(RegistryLayerTest, EmptyTextReadsBackEmpty) {
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  SetRaw("Zero", platform::kRegSz, "");
  SetRaw("NoNul", platform::kRegSz, "12");
  ReadRegistryValue(kKey, "Zero");
  EXPECT_EQ(RegistryValue, TaggedValue(std::string()));
  ReadRegistryValue(kKey, "NoNul");
  EXPECT_EQ(RegistryValue, TaggedValue(std::string("12")));
}

TEST_F(RegistryLayerTest, WritingToAMissingKeyWritesNothing) {
  WriteRegistryValue(kKey, "Sound", std::int16_t{1}, platform::kRegSz);
  EXPECT_FALSE(testsupport::Exists(RegistryFile()));
  MakeRegistryKey("Software\\Other", platform::kHkeyCurrentUser);
  WriteRegistryValue(kKey, "Sound", std::int16_t{1}, platform::kRegSz);
  EXPECT_EQ(testsupport::ReadFile(RegistryFile()).find("Tolvane"), std::string::npos);
}

TEST_F(RegistryLayerTest, SizeQueryAndShortBuffer) {
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  WriteRegistryValue(kKey, "FormX", std::string("1440"), platform::kRegSz);
  platform::HKey key = 0;
  platform::RegOpenKeyExA(platform::kHkeyCurrentUser, kKey, 0, kKeyRights, &key);
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(platform::RegQueryValueExA(key, "formx", &type, nullptr, &size), 0);
  EXPECT_EQ(size, 5u);
  std::uint8_t small[2];
  size = 2;
  EXPECT_EQ(platform::RegQueryValueExA(key, "FormX", &type, small, &size), platform::kErrorMoreData);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(platform::RegQueryValueExA(key, "nothing", &type, nullptr, &size),
            platform::kErrorFileNotFound);
  platform::RegCloseKey(key);
}

}  // namespace
