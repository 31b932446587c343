#include "dos/dos_names.h"
#include "winapi/posix/host_folders.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "winapi/dos_paths.h"
#include "support/test_support.h"

namespace {

using platform::dos::DosAliases;

TEST(DosAliases, AsDosBoxShowsThem) {
  // A folder listed in this order.
  const std::vector<std::string> names = {"My Great Map.map",
                                          "My Great Map.txt",
                                          "Another Long Name.txt",
                                          "x.y.z.txt",
                                          "Another Long Name.grp",
                                          "UPPER Case.MAP",
                                          "verylongextension.mapfile",
                                          "my.great.map",
                                          "My Maps",
                                          "duke3d.exe",
                                          "abc def",
                                          "trail.",
                                          ".hidden",
                                          "ab.c d.txt",
                                          "sp .map",
                                          "a.b.c",
                                          "plus+sign.map",
                                          "naïve long name.map"};
  const std::vector<std::string> expected = {
      "MYGREA~1.MAP", "MYGREA~2.TXT", "ANOTHE~1.TXT", "X~1.TXT",    "ANOTHE~2.GRP", "UPPERC~1.MAP",
      "VERYLO~1.MAP", "MY~1.MAP",     "MYMAPS~1",     "DUKE3D.EXE", "ABCDEF~1",     "TRAIL",
      "HIDDEN~1",     "AB~1.TXT",     "SP~1.MAP",     "A.B.C",      "PLUS+S~1.MAP", "NAïVE~1.MAP"};
  EXPECT_EQ(DosAliases(names), expected);
}

TEST(DosAliases, NumbersGoOnPastNineWithAShorterPrefix) {
  std::vector<std::string> names;
  for (int i = 1; i <= 14; ++i) names.push_back("Collide Name " + std::to_string(i) + ".map");
  const auto aliases = DosAliases(names);
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(aliases[i - 1], "COLLID~" + std::to_string(i) + ".MAP");
  for (int i = 10; i <= 14; ++i) EXPECT_EQ(aliases[i - 1], "COLLI~" + std::to_string(i) + ".MAP");
}

TEST(DosAliases, TheListingOrderDecidesTheNumbers) {
  EXPECT_EQ(DosAliases({"My Great Map.txt", "My Great Map.map"}),
            (std::vector<std::string>{"MYGREA~1.TXT", "MYGREA~2.MAP"}));
}

// A host folder as DOS reaches it, without the drive.
std::string ShortDos(const std::string& host) {
  char buffer[165];
  const auto n =
      platform::GetShortPathNameA(platform::HostToDos(platform::HostPath{host}).text, buffer, 164);
  return n > 2 && n < 164 ? std::string(buffer + 2, n - 2) : std::string();
}

// What DOSBox itself shows for a folder, by "dir" inside a real DOSBox.
std::map<std::string, std::string> DosBoxAliases(const std::string& folder,
                                                 const std::string& work) {
  std::map<std::string, std::string> result;
  const int rc = testsupport::Run(
      {"dosbox", "-noautoexec", "-c", "mount c /", "-c", "c:", "-c",
       "dir " + ShortDos(folder) + " > " + ShortDos(work) + "\\DIR.TXT", "-c", "exit"},
      work);
  if (rc != 0) return result;
  const std::string listing = testsupport::ReadFile(work + "/DIR.TXT");
  std::istringstream in(listing);
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() < 13 || line[0] == ' ' || line.starts_with("Directory")) continue;
    std::string base = line.substr(0, 8);
    std::string ext = line.substr(9, 3);
    while (!base.empty() && base.back() == ' ') base.pop_back();
    while (!ext.empty() && ext.back() == ' ') ext.pop_back();
    if (base == "." || base == "..") continue;
    const std::string alias = ext.empty() ? base : base + "." + ext;
    result[alias] = alias;
  }
  return result;
}

class DosBoxAliasTest : public testsupport::IsolatedTest {};

TEST_F(DosBoxAliasTest, OurAliasesAreTheOnesDosBoxShows) {
  UseSystemPath(true);
  if (!testsupport::OnPath("dosbox")) GTEST_SKIP() << "DOSBox is not installed";
  const std::string folder = Root() + "/Folder With Names";
  testsupport::MakeDirs(folder);
  for (const char* n : {"My Great Map.map", "My Great Map.txt", "Another Long Name.txt",
                        "x.y.z.txt", "verylongextension.mapfile", "my.great.map", "abc def",
                        "sp .map", "duke3d.exe", "Mixed.Txt", "plus+sign.map"}) {
    testsupport::WriteFile(folder + "/" + n, "x");
  }
  for (int i = 1; i <= 12; ++i) {
    testsupport::WriteFile(folder + "/Collide Name " + std::to_string(i) + ".map", "x");
  }
  testsupport::MakeDirs(folder + "/My Maps");
  const auto shown = DosBoxAliases(folder, Root());
  ASSERT_FALSE(shown.empty());
  const auto names = platform::posix::ListFolder(folder);
  const auto ours = DosAliases(names);
  std::map<std::string, std::string> mine;
  for (const auto& a : ours) mine[a] = a;
  EXPECT_EQ(mine, shown);
}

TEST_F(DosBoxAliasTest, DosBoxOpensTheFileByOurShortPath) {
  UseSystemPath(true);
  if (!testsupport::OnPath("dosbox")) GTEST_SKIP() << "DOSBox is not installed";
  const std::string folder = Root() + "/Same Prefix";
  testsupport::MakeDirs(folder);
  std::vector<std::string> names;
  for (int i = 1; i <= 11; ++i) {
    names.push_back("Same Prefix Map " + std::to_string(i) + ".map");
    testsupport::WriteFile(folder + "/" + names.back(), names.back());
  }
  // "type" each file by our short path inside DOSBox and compare contents.
  std::string batch;
  for (std::size_t i = 0; i < names.size(); ++i) {
    char shortPath[165];
    const auto n = platform::GetShortPathNameA(
        platform::HostToDos(platform::HostPath{folder + "/" + names[i]}).text, shortPath, 164);
    ASSERT_GT(n, 0u);
    batch += "type " + std::string(shortPath + 2, n - 2) + " > " + ShortDos(Root()) + "\\OUT" +
             std::to_string(i) + ".TXT\r\n";
  }
  testsupport::WriteFile(Root() + "/RUN.BAT", batch);
  ASSERT_EQ(testsupport::Run({"dosbox", "-noautoexec", "-c", "mount c /", "-c", "c:", "-c",
                              "call " + ShortDos(Root()) + "\\RUN.BAT", "-c", "exit"},
                             Root()),
            0);
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(testsupport::ReadFile(Root() + "/OUT" + std::to_string(i) + ".TXT"), names[i]);
  }
}

}  // namespace
