#include <gtest/gtest.h>

#include <clocale>

#include "settings/numbers.h"
#include "settings/registry.h"
#include "settings/registry_fixture.h"
#include "support/shared_fixture.h"
#include "winapi/registry.h"

namespace {

using testsupport::kKey;
using RegistryLayerTest = testsupport::RegistryFixture<testsupport::SharedTest>;

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
  // The fewest decimals that read back as the same number, with a point
  // where the user's locale writes a comma (where the system has one).
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "German");
  EXPECT_EQ(NumberText(0.1f), "0.1");
  for (const float v : {1.0f / 3.0f, -2.75e-7f, 3.4e38f, 1.4e-45f, 16777216.0f}) {
    const std::string text = NumberText(v);
    const auto back = numbers::Parse(text);
    EXPECT_TRUE(back && static_cast<float>(*back) == v) << text;
  }
  std::setlocale(LC_NUMERIC, "C");
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

TEST_F(RegistryLayerTest, EmptyTextReadsBackEmpty) {
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  SetRaw("Zero", platform::kRegSz, "");
  SetRaw("NoNul", platform::kRegSz, "12");
  ReadRegistryValue(kKey, "Zero");
  EXPECT_EQ(RegistryValue, TaggedValue(std::string()));
  ReadRegistryValue(kKey, "NoNul");
  EXPECT_EQ(RegistryValue, TaggedValue(std::string("12")));
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
  EXPECT_EQ(platform::RegQueryValueExA(key, "FormX", &type, small, &size),
            platform::kErrorMoreData);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(platform::RegQueryValueExA(key, "nothing", &type, nullptr, &size),
            platform::kErrorFileNotFound);
  platform::RegCloseKey(key);
}

TEST_F(RegistryLayerTest, MakeRegistryKeyMakesEveryKeyOfThePathOnce) {
  platform::HKey key = 0;
  ASSERT_EQ(platform::RegOpenKeyExA(platform::kHkeyCurrentUser, kKey, 0, kKeyRights, &key),
            platform::kErrorFileNotFound);
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  for (const char* path : {"Software\\Tolvane", "Software\\Tolvane\\Kestrum", kKey,
                           "software\\TOLVANE\\kestrum\\general"}) {
    ASSERT_EQ(platform::RegOpenKeyExA(platform::kHkeyCurrentUser, path, 0, kKeyRights, &key), 0)
        << path;
    platform::RegCloseKey(key);
  }
  std::uint32_t disposition = 0;
  ASSERT_EQ(platform::RegCreateKeyExA(platform::kHkeyCurrentUser, kKey, 0, kKeyRights, &key,
                                      &disposition),
            0);
  EXPECT_EQ(disposition, platform::kRegOpenedExistingKey);
  platform::RegCloseKey(key);
}

TEST_F(RegistryLayerTest, WritingUnderAMissingKeyMakesNothing) {
  WriteRegistryValue(kKey, "Sound", std::int16_t{1}, platform::kRegSz);
  platform::HKey key = 0;
  EXPECT_EQ(platform::RegOpenKeyExA(platform::kHkeyCurrentUser, kKey, 0, kKeyRights, &key),
            platform::kErrorFileNotFound);
  ReadRegistryValue(kKey, "Sound");
  EXPECT_EQ(RegistryValue, TaggedValue());
}

TEST_F(RegistryLayerTest, DwordsReadBackAsNumbers) {
  MakeRegistryKey(kKey, platform::kHkeyCurrentUser);
  WriteRegistryValue(kKey, "Skills", std::int32_t{-2}, platform::kRegDword);
  ReadRegistryValue(kKey, "Skills");
  EXPECT_EQ(RegistryValue, TaggedValue(std::int32_t{-2}));
  std::uint32_t type = 0;
  EXPECT_EQ(RawData("Skills", &type), std::string("\xfe\xff\xff\xff", 4));
  EXPECT_EQ(type, platform::kRegDword);
  // Stored by another program with fewer bytes: the bytes there are, as a
  // little-endian number; more than four is no DWORD.
  SetRaw("Short", platform::kRegDword, std::string("\x03\x01", 2));
  ReadRegistryValue(kKey, "Short");
  EXPECT_EQ(RegistryValue, TaggedValue(std::int32_t{0x103}));
  SetRaw("Long", platform::kRegDword, std::string("\x01\0\0\0\0", 5));
  ReadRegistryValue(kKey, "Long");
  EXPECT_EQ(RegistryValue, TaggedValue());
}

// Keys below a key are listed by the names they were made with, whatever a
// user may type (a name that is not ASCII included), and one taken away
// takes its own keys with it and leaves the others as they were. The same
// on Windows' registry and in the file that stands for it.
TEST_F(RegistryLayerTest, KeysBelowAKeyAreListedAndTakenAway) {
  const std::string below = "Software\\Tolvane\\Kestrum\\Presets";
  for (const std::string name : {"Nuclear Winter", "Łódź; rm -rf ~", "Nuclear Winter\\maps"}) {
    MakeRegistryKey(below + "\\" + name, platform::kHkeyCurrentUser);
  }
  WriteRegistryValue(below + "\\Łódź; rm -rf ~", "Engine", std::string("raze"), platform::kRegSz);
  EXPECT_EQ(RegistrySubKeys(below), (std::vector<std::string>{"Nuclear Winter", "Łódź; rm -rf ~"}));
  EXPECT_TRUE(DeleteRegistryKey(below + "\\Nuclear Winter"));
  EXPECT_EQ(RegistrySubKeys(below), (std::vector<std::string>{"Łódź; rm -rf ~"}));
  EXPECT_EQ(RegistryValueOf(below + "\\Łódź; rm -rf ~", "Engine"),
            std::optional<TaggedValue>(std::string("raze")));
  EXPECT_FALSE(DeleteRegistryKey(below + "\\Nuclear Winter"));
  DeleteRegistryKey(below);
  EXPECT_TRUE(RegistrySubKeys(below).empty());
}

}  // namespace
