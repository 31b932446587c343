// The stores' and launchers' own lists, as they write them, and as they
// might be spoilt: what can be read is read, and nothing else.
#include "stores/store_files.h"

#include <gtest/gtest.h>

namespace {

using Paths = std::vector<std::string>;

TEST(StoreFiles, EachListGivesItsFolders) {
  struct Case {
    const char* name;
    Paths (*read)(std::string_view);
    std::string text;
    Paths expected;
  };
  const auto desktop = [](std::string_view text) {
    const std::string path = stores::DesktopEntryPath(text);
    return path.empty() ? Paths{} : Paths{path};
  };
  const std::vector<Case> cases = {
      {"Steam's libraries, one on another disk",
       stores::SteamLibraries,
       "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/ann/.local/share/Steam\"\n"
       "\t\t\"apps\"\n\t\t{\n\t\t\t\"225140\"\t\t\"1\"\n\t\t}\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t"
       "\"/mnt/games/Steam \\\"Lib\\\"\"\n\t}\n}\n",
       {"/home/ann/.local/share/Steam", "/mnt/games/Steam \"Lib\""}},
      {"a library file cut short", stores::SteamLibraries, "\"libraryfolders\" { \"0\" { \"path\" \"/mn",
       {}},
      {"Heroic's games, escapes and all",
       stores::HeroicInstallPaths,
       "{\"installed\":[{\"install_path\": \"/home/ann/Games/Heroic/Duke Nukem 3D\"},"
       "{\"install_path\":\"/home/ann/Jeux/\\u00c9t\\u00e9\\/x\"}]}",
       {"/home/ann/Games/Heroic/Duke Nukem 3D", "/home/ann/Jeux/\xc3\x89t\xc3\xa9/x"}},
      {"a key with no text", stores::HeroicInstallPaths, "{\"install_path\": 12}", {}},
      {"Lutris: the game's folder and its prefix, nothing outside game:",
       stores::LutrisGameFolders,
       "game:\n  exe: /home/ann/Games/duke/drive_c/GOG Games/Duke/DUKE3D.EXE\n"
       "  prefix: '/home/ann/Games/duke'\nsystem:\n  exe: /usr/bin/other\n",
       {"/home/ann/Games/duke/drive_c/GOG Games/Duke", "/home/ann/Games/duke"}},
      {"a relative exe", stores::LutrisGameFolders, "game:\n  exe: DUKE3D.EXE\n", {}},
      {"GOG's menu entry", desktop,
       "[Desktop Action x]\nPath=/wrong\n[Desktop Entry]\nName=Duke\nPath=/home/ann/Duke 3D\n",
       {"/home/ann/Duke 3D"}},
      {"no entry group", desktop, "Path=/home/ann/Duke 3D\n", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.read(c.text), c.expected);
  }
}

}  // namespace
