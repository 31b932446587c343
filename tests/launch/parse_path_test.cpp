#include <gtest/gtest.h>

#include "launch/shell_paths.h"

namespace {

struct ParseCase {
  std::string path;
  std::int16_t mode;
  std::string expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
  *os << c.path << " mode " << c.mode;
}

class ParsePathTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParsePathTest, Cuts) {
  std::int16_t mode = GetParam().mode;
  EXPECT_EQ(ParsePath(GetParam().path, mode), GetParam().expected);
  EXPECT_EQ(mode, GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ParsePathTest,
    ::testing::Values(ParseCase{"c:\\maps\\mymap.map", 0, "mymap.map"},
                      ParseCase{"c:\\maps\\mymap.map", 1, "c:\\maps"},
                      ParseCase{"c:\\maps\\mymap.map", 2, "mymap.map"},
                      ParseCase{"c:\\maps\\mymap.map", 3, "c:\\maps"},
                      ParseCase{"c:\\maps\\mymap.map", 4, ""},
                      ParseCase{"c:\\maps\\mymap.map", -1, ""}, ParseCase{"c:\\x.map", 0, "x.map"},
                      ParseCase{"c:\\x.map", 1, "c:"}, ParseCase{"maps\\x.map", 0, ""},
                      ParseCase{"maps\\x.map", 1, ""}, ParseCase{"maps\\x.map", 2, "x.map"},
                      ParseCase{"maps\\x.map", 3, "maps"},
                      ParseCase{"\\\\server\\share\\x.map", 0, ""}, ParseCase{"c:\\maps\\", 0, ""},
                      ParseCase{"", 0, ""}, ParseCase{"", 2, ""}, ParseCase{"x.map", 2, "x.map"},
                      ParseCase{"x.map", 3, ""}, ParseCase{"C:/maps/x.map", 0, ""}));

}  // namespace
