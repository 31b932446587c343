#include "launch/shell_paths.h"

#include <gtest/gtest.h>

#include "winapi/dos_paths.h"
#include "support/test_support.h"

namespace {

class GetShortPathTest : public testsupport::IsolatedTest {};

TEST_F(GetShortPathTest, GivesTheDosAliasOfEveryComponent) {
  testsupport::MakeDirs(Root() + "/Long Folder Name");
  testsupport::WriteFile(Root() + "/Long Folder Name/My Great Map.map", "x");
  const std::string dos =
      platform::HostToDos(platform::HostPath{Root() + "/Long Folder Name/My Great Map.map"}).text;
  const std::string shortPath = GetShortPath(dos);
  const std::string root = GetShortPath(platform::HostToDos(platform::HostPath{Root()}).text);
  ASSERT_TRUE(root.starts_with("c:\\")) << root;
  EXPECT_EQ(shortPath, root + "\\LONGFO~1\\MYGREA~1.MAP");
  // The short path names the same file.
  EXPECT_EQ(platform::DosToHost(platform::DosPath{shortPath}).text,
            Root() + "/Long Folder Name/My Great Map.map");
}

TEST_F(GetShortPathTest, PathAlreadyShortComesBackUnchanged) {
  testsupport::MakeDirs(Root() + "/MAPS");
  testsupport::WriteFile(Root() + "/MAPS/MYMAP.MAP", "x");
  const std::string dos = platform::HostToDos(platform::HostPath{Root() + "/MAPS/MYMAP.MAP"}).text;
  const std::string upper = GetShortPath(dos);
  EXPECT_EQ(upper.substr(upper.size() - 15), "\\MAPS\\MYMAP.MAP");
  EXPECT_EQ(GetShortPath(upper), upper);
}

TEST_F(GetShortPathTest, MissingFileOrTooLongGivesEmpty) {
  EXPECT_EQ(GetShortPath(platform::HostToDos(platform::HostPath{Root() + "/nothing.map"}).text),
            "");
  EXPECT_EQ(GetShortPath(""), "");
  // A short form beyond 163 characters does not fit the buffer.
  std::string deep = Root();
  for (int i = 0; i < 20; ++i) deep += "/DEEPDIR" + std::to_string(i % 10);
  testsupport::MakeDirs(deep);
  testsupport::WriteFile(deep + "/X.MAP", "x");
  EXPECT_EQ(GetShortPath(platform::HostToDos(platform::HostPath{deep + "/X.MAP"}).text), "");
}

}  // namespace
