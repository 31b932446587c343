#include <gtest/gtest.h>

#include <cstring>

#include "winapi/profile.h"
#include "winapi/profile_rules.h"
#include "support/shared_fixture.h"

namespace {

struct ProfileCase {
  const char* name;
  std::string file;
  std::string section;
  std::string key;
  std::optional<std::string> expected;
  const char* wineDiffers = nullptr;  // why Wine reads this one otherwise than Windows
};

void PrintTo(const ProfileCase& c, std::ostream* os) {
  *os << c.name;
}

std::string Utf16(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

const std::vector<ProfileCase> kProfileCases = {

    ProfileCase{"plain", "[Setup]\r\nSetupVersion=1.5\r\n", "Setup", "SetupVersion", "1.5"},
    ProfileCase{"names_ignore_case", "[SETUP]\nsetupversion=1.5\n", "Setup", "SetupVersion", "1.5"},
    ProfileCase{"blanks_and_tabs", " \t[ Setup ]\t\n \tSetupVersion \t= \t1.5 \t\n", "Setup",
                "SetupVersion", "1.5"},
    ProfileCase{"double_quotes", "[S]\nk=\"  v  \"\n", "S", "k", "  v  "},
    ProfileCase{"single_quotes", "[S]\nk='v'\n", "S", "k", "v"},
    ProfileCase{"only_outer_quotes", "[S]\nk=\"\"v\"\"\n", "S", "k", "\"v\""},
    ProfileCase{"mixed_quotes_kept", "[S]\nk=\"v'\n", "S", "k", "\"v'"},
    ProfileCase{"lone_quote_kept", "[S]\nk=\"\n", "S", "k", "\""},
    ProfileCase{"comment_line", "[S]\n;k=1\nk=2\n", "S", "k", "2"},
    ProfileCase{"semicolon_in_value", "[S]\nk=1;2\n", "S", "k", "1;2"},
    ProfileCase{"first_key_wins", "[S]\nk=1\nk=2\n", "S", "k", "1"},
    ProfileCase{"first_section_only", "[S]\na=1\n[T]\n[S]\nk=2\n", "S", "k", std::nullopt},
    ProfileCase{"key_before_any_section", "k=1\n[S]\n", "S", "k", std::nullopt},
    ProfileCase{"text_after_bracket", "[S] trailing words\nk=1\n", "S", "k", "1"},
    ProfileCase{"cr_only", "[S]\rk=1\r", "S", "k", "1"},
    ProfileCase{"no_last_line_end", "[S]\nk=1", "S", "k", "1"},
    ProfileCase{"empty_value", "[S]\nk=\n", "S", "k", ""},
    ProfileCase{"key_without_equals", "[S]\nk\n", "S", "k", ""},
    ProfileCase{"missing_key", "[S]\nj=1\n", "S", "k", std::nullopt},
    ProfileCase{"missing_section", "[T]\nk=1\n", "S", "k", std::nullopt},
    ProfileCase{"empty_file", "", "S", "k", std::nullopt},
    ProfileCase{"utf8_mark_spoils_first_line", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", std::nullopt,
                "Wine reads a UTF-8 byte-order mark; Windows does not"},
    ProfileCase{"utf8_mark_then_blank_line", "\xEF\xBB\xBF\n[S]\nk=1\n", "S", "k", "1"},
    ProfileCase{"utf16_with_mark", Utf16("[S]\r\nk=1.5\r\n"), "S", "k", "1.5"},
    ProfileCase{"value_with_equals", "[S]\nk=a=b\n", "S", "k", "a=b"}};

class ProfileRules : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileRules, FindsTheValueAsWindowsDoes) {
  const ProfileCase& c = GetParam();
  EXPECT_EQ(platform::profile::Find(c.file, c.section, c.key), c.expected);
  // Fed a byte at a time, the answer is the same.
  platform::profile::Lookup bytewise(c.section, c.key);
  for (char ch : c.file) bytewise.Feed(std::string_view(&ch, 1));
  EXPECT_EQ(bytewise.Finish(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, ProfileRules, ::testing::ValuesIn(kProfileCases),
                         [](const ::testing::TestParamInfo<ProfileCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(ProfileCopy, CutsTo254AndCounts) {
  char buffer[255];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(platform::profile::CopyOut(std::string(300, 'x'), buffer, 255), 254u);
  EXPECT_EQ(std::string(buffer), std::string(254, 'x'));
  EXPECT_EQ(platform::profile::CopyOut("1.5", buffer, 255), 3u);
  EXPECT_STREQ(buffer, "1.5");
}

// The same table through the platform's own reader, on a real file: on
// Windows that is GetPrivateProfileStringA itself.
class ProfileRulesOnFiles : public testsupport::SharedTest,
                            public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(ProfileRulesOnFiles, TheSystemReadsTheSame) {
  const ProfileCase& c = GetParam();
  if (c.wineDiffers != nullptr && testsupport::RunningUnderWine()) GTEST_SKIP() << c.wineDiffers;
  const std::string file = WriteTempFile("case.ini", c.file);
  char buffer[255];
  std::memset(buffer, '#', sizeof buffer);
  const auto count =
      platform::GetPrivateProfileStringA(c.section, c.key, "", buffer, sizeof buffer, file);
  EXPECT_EQ(std::string(buffer, count), c.expected.value_or(""));
  EXPECT_EQ(buffer[count], '\0');
}

INSTANTIATE_TEST_SUITE_P(Rules, ProfileRulesOnFiles, ::testing::ValuesIn(kProfileCases),
                         [](const ::testing::TestParamInfo<ProfileCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
