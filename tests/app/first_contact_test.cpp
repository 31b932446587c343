// Making a game's folder Kestrum's home, and what an ordinary user meets
// there: each refusal leaves every file as it was and says why.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "app/first_contact.h"
#include "levels/user_files.h"
#include "dosbox/dos_view.h"
#include "winapi/dos_paths.h"
#include "os/game_folder.h"
#include "winapi/registry.h"
#include "settings/registry.h"
#include "settings/saved_settings.h"
#include "support/fake_window.h"
#include "support/test_support.h"

namespace {

constexpr uid_t kNobody = 65534;

class FirstContactTest : public testsupport::IsolatedTest {
 protected:
  std::string Game(const std::string& name) {
    const std::string folder = Root() + "/" + name;
    testsupport::MakeDirs(folder);
    testsupport::WriteFile(folder + "/DUKE3D.EXE", "");
    return folder;
  }
  std::string Menu() const { return Root() + "/home/.local/share/applications"; }
  std::string Entry() {
    const auto entries = testsupport::ListDir(Menu());
    return entries.size() == 1 ? testsupport::ReadFile(Menu() + "/" + entries[0]) : std::string();
  }
  // What the function gives, run as an ordinary user (not root, whom
  // permissions never stop) in a process of its own.
  static std::string AsNobody(const std::function<std::string()>& run) {
    int pipe[2];
    if (::pipe(pipe) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(pipe[0]);
      std::string result = "could not become nobody";
      if (::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0) {
        result = run();
      }
      [[maybe_unused]] const auto n = ::write(pipe[1], result.data(), result.size());
      ::_exit(0);
    }
    ::close(pipe[1]);
    std::string result;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) result.append(buffer, n);
    ::close(pipe[0]);
    ::waitpid(child, nullptr, 0);
    return result;
  }
};

// Nothing in the chosen folder is run or replaced unless it is this very
// Kestrum, and a folder the restarted Kestrum would not find is refused.
TEST_F(FirstContactTest, AFolderKestrumCannotLiveInIsRefusedAndLeftAsItIs) {
  const std::string marker = Root() + "/ran";
  struct Case {
    const char* name;
    std::string folder;
    std::function<void(const std::string& folder)> prepare;
    std::string says;
    std::string kestrumThere;  // what "kestrum" in the folder is afterwards
  };
  const std::string script = "#!/bin/sh\ntouch '" + marker + "'\n";
  const Case cases[] = {
      // A backslash is part of the name: what back/slash holds is not there.
      {"a backslash in the folder's name", "X/back\\slash",
       [&](const std::string&) { Game("X/back/slash"); }, "Duke3D is not in ", ""},
      {"a folder without the game", "not a game", [](const std::string&) {}, "Duke3D is not in ",
       ""},
      {"a script named kestrum", "Unpacked",
       [&](const std::string& f) {
         testsupport::WriteFile(f + "/kestrum", script);
         ::chmod((f + "/kestrum").c_str(), 0755);
       },
       "is already there, and it is not this Kestrum", script},
      {"a link named kestrum to another program", "Linked",
       [&](const std::string& f) {
         EXPECT_EQ(::symlink("/bin/true", (f + "/kestrum").c_str()), 0);
       },
       "is a link to /bin/true, which is not this Kestrum", "link:/bin/true"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = Root() + "/" + c.folder;
    if (c.name != std::string("a folder without the game") &&
        c.name != std::string("a backslash in the folder's name")) {
      Game(c.folder);
    } else {
      testsupport::MakeDirs(folder);
    }
    c.prepare(folder);
    const auto answer = firstcontact::TakeGameFolder(folder);
    EXPECT_FALSE(answer.restarted);
    ASSERT_TRUE(answer.message.has_value());
    EXPECT_NE(answer.message->text.find(c.says), std::string::npos) << answer.message->text;
    EXPECT_EQ(answer.message->title, "No Dice...");
    char target[256] = {};
    const ssize_t n = ::readlink((folder + "/kestrum").c_str(), target, sizeof target - 1);
    const std::string there =
        n > 0 ? "link:" + std::string(target, n) : testsupport::ReadFile(folder + "/kestrum");
    EXPECT_EQ(there, c.kestrumThere);
    EXPECT_FALSE(testsupport::Exists(Root() + "/X/back/slash/kestrum"));
  }
  ::usleep(200 * 1000);
  EXPECT_FALSE(testsupport::Exists(marker));
  EXPECT_FALSE(testsupport::Exists(Menu()));
}

// Every menu entry Kestrum writes is one that GLib's menus start too, and a
// folder no entry can name gets its link, no entry, and a true reason.
TEST_F(FirstContactTest, MenuEntriesStartFromEveryDesktopOrAreNotWritten) {
  testsupport::ScopedEnv noData("XDG_DATA_HOME", std::nullopt);
  {
    SCOPED_TRACE("a percent sign in the folder's name");
    const std::string folder = Game("50% off");
    const auto home = firstcontact::MakeHome(folder);
    EXPECT_TRUE(home.linked);
    EXPECT_EQ(home.error, "");
    const std::string entry = Entry();
    EXPECT_NE(entry.find("\nExec=env \"" + Root() + "/50%% off/kestrum\"\n"), std::string::npos)
        << entry;
    const std::string path = Menu() + "/" + testsupport::ListDir(Menu())[0];
    int code = -1;
    const std::string complaints =
        testsupport::Output({"/usr/bin/desktop-file-validate", path}, &code, true);
    EXPECT_EQ(code, 0) << complaints;
    if (testsupport::Exists("/usr/bin/gio")) {
      // What the entry starts, in place of Kestrum: a program that says so.
      ::unlink((folder + "/kestrum").c_str());
      testsupport::WriteFile(folder + "/kestrum",
                             "#!/bin/sh\necho \"$0\" > '" + Root() + "/ran'\n");
      ::chmod((folder + "/kestrum").c_str(), 0755);
      testsupport::ScopedEnv path_("PATH", "/usr/bin:/bin");
      EXPECT_EQ(testsupport::Run({"/usr/bin/gio", "launch", path}), 0);
      EXPECT_TRUE(testsupport::WaitFor([&] { return testsupport::Exists(Root() + "/ran"); },
                                       std::chrono::seconds(5)));
      EXPECT_EQ(testsupport::ReadFile(Root() + "/ran"), folder + "/kestrum\n");
    }
    std::filesystem::remove_all(Menu());
  }
  {
    SCOPED_TRACE("a folder name that is not UTF-8");
    const std::string folder = Game("Duke \xe9t\xe9");
    const auto home = firstcontact::MakeHome(folder);
    EXPECT_TRUE(home.linked);
    EXPECT_NE(home.error.find("not UTF-8 text"), std::string::npos) << home.error;
    EXPECT_NE(home.error.find("Start Kestrum by " + folder + "/kestrum."), std::string::npos);
    EXPECT_FALSE(testsupport::Exists(Menu()));
  }
  {
    SCOPED_TRACE("no HOME");
    testsupport::ScopedEnv noHome("HOME", std::nullopt);
    const auto home = firstcontact::MakeHome(Game("Homeless"));
    EXPECT_TRUE(home.linked);
    EXPECT_NE(home.error.find("neither XDG_DATA_HOME nor HOME"), std::string::npos) << home.error;
  }
}

// As an ordinary user: a game folder the user may not write, a menu folder
// the user may not write, a map the user may not read and a settings store
// the user may not write are each told, truly, and nothing is lost.
TEST_F(FirstContactTest, AnOrdinaryUserIsToldWhatPermissionsStop) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs to become another user";
  testsupport::ScopedEnv noData("XDG_DATA_HOME", std::nullopt);
  for (const std::string& d : {Root(), Root() + "/home"}) {
    testsupport::MakeDirs(d);
    ::chmod(d.c_str(), 0755);
  }
  const std::string readOnly = Game("Read Only");
  ::chmod(readOnly.c_str(), 0755);
  EXPECT_EQ(AsNobody([&] { return firstcontact::MakeHome(readOnly).error; }),
            "Kestrum could not make its link in " + readOnly + ": Permission denied.");

  // A home of the user's own, with a menu folder that is not.
  testsupport::MakeDirs(Menu());
  ASSERT_EQ(::chown((Root() + "/home").c_str(), kNobody, kNobody), 0);
  const std::string own = Game("Own Game");
  ASSERT_EQ(::chown(own.c_str(), kNobody, kNobody), 0);
  const std::string error = AsNobody([&] { return firstcontact::MakeHome(own).error; });
  EXPECT_EQ(error, "Kestrum made its link in " + own + ", but could not write its menu entry in " +
                       Menu() + ": Permission denied. Start Kestrum by " + own + "/kestrum.");
  EXPECT_TRUE(testsupport::Exists(own + "/kestrum"));

  const std::string closed = Root() + "/closed";
  testsupport::MakeDirs(closed);
  testsupport::WriteFile(closed + "/secret.map", "");
  ::chmod(closed.c_str(), 0700);
  testsupport::FakeWindow window;
  EXPECT_EQ(AsNobody([&] {
              const auto refused = TakeChosenFile(
                  platform::HostToDos(platform::HostPath{closed + "/secret.map"}).text, window);
              return refused ? refused->text : std::string("taken");
            }),
            "You may not open \"secret.map\" (or a folder on its way), so neither may the game. "
            "Choose a file you may read.");
  // A map the user may not read, in a folder the user may read; and a map
  // in a folder the user may enter but not list, whose DOS name no one can
  // tell. Each is said for what it is, for either engine.
  const std::string open = Root() + "/open";
  const std::string unlisted = Root() + "/unlisted";
  testsupport::MakeDirs(open);
  testsupport::MakeDirs(unlisted);
  testsupport::WriteFile(open + "/unreadable.map", "");
  testsupport::WriteFile(unlisted + "/My Great Map.map", "");
  ::chmod((open + "/unreadable.map").c_str(), 0600);
  ::chmod((unlisted + "/My Great Map.map").c_str(), 0644);
  ::chmod(unlisted.c_str(), 0711);
  const auto take = [&](const std::string& file) {
    return AsNobody([&] {
      const auto refused = TakeChosenFile(file, window);
      return refused ? refused->text : std::string("taken");
    });
  };
  EXPECT_EQ(take(open + "/unreadable.map"),
            "You may not open \"unreadable.map\" (or a folder on its way), so neither may the "
            "game. Choose a file you may read.");
  EXPECT_EQ(take(unlisted + "/My Great Map.map"),
            "DOS cannot reach \"My Great Map.map\": you may not list the folder that holds it (" +
                unlisted +
                "), so its DOS name cannot be known. Move it to a folder you may list and choose "
                "it again.");

  // The user's store, which the user may read but not write.
  testsupport::MakeDirs(ConfigHome() + "/kestrum");
  testsupport::WriteFile(RegistryFile(), "REGEDIT4\r\n");
  for (const std::string& d : {ConfigHome(), ConfigHome() + "/kestrum"}) ::chmod(d.c_str(), 0755);
  ::chmod(RegistryFile().c_str(), 0644);
  EXPECT_EQ(AsNobody([&] {
              MakeRegistryKey(SettingsKey, platform::kHkeyCurrentUser);
              return std::string(SaveSettings(window) ? "saved" : "not saved");
            }),
            "not saved");
  EXPECT_EQ(testsupport::ReadFile(RegistryFile()), "REGEDIT4\r\n");
}

// Where the stores put the game, each real folder is offered once, by the
// path that leads to it first; a name is never read in another form (a
// backslash is part of it); and a Wine prefix reached by many links is
// looked into once.
TEST_F(FirstContactTest, EachFolderWhereTheStoresPutTheGameIsOfferedOnce) {
  const std::string home = Root() + "/home";
  testsupport::ScopedEnv homeVariable("HOME", home);
  const std::string steam = home + "/.local/share/Steam";
  const std::string classic = steam + "/steamapps/common/Duke Nukem 3D/gameroot/classic";
  Game("home/.local/share/Steam/steamapps/common/Duke Nukem 3D/gameroot/classic");
  testsupport::MakeDirs(home + "/.steam");
  ASSERT_EQ(::symlink(steam.c_str(), (home + "/.steam/steam").c_str()), 0);
  Game("home/GOG Games/Duke Nukem 3D/x");
  testsupport::MakeDirs(home + "/GOG Games/Duke Nukem 3D\\x");
  const std::string prefix = Root() + "/prefix";
  Game("prefix/drive_c/GOG Games/Duke Nukem 3D");
  for (int i = 0; i < 50; ++i) {
    testsupport::MakeDirs(prefix + "/drive_c/GOG Games/other " + std::to_string(i));
  }
  testsupport::MakeDirs(home + "/Games");
  for (int i = 0; i < 20; ++i) {
    const std::string link = home + "/Games/link " + std::to_string(i);
    ASSERT_EQ(::symlink(prefix.c_str(), link.c_str()), 0);
  }
  // A second Steam library, named only in libraryfolders.vdf (its World
  // Tour: a DUKE3D.GRP, played by a port); Heroic's and Lutris' games where
  // their own lists say; GOG where its menu entry says.
  const std::string library = Root() + "/disk2/SteamLibrary";
  const std::string tour =
      library + "/steamapps/common/Duke Nukem 3D Twentieth Anniversary World Tour";
  testsupport::MakeDirs(tour);
  testsupport::WriteFile(tour + "/DUKE3D.GRP", "");
  testsupport::WriteRecordingProgram(Bin(), "eduke32");
  testsupport::WriteFile(steam + "/steamapps/libraryfolders.vdf",
                         "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + steam +
                             "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + library +
                             "\"\n\t}\n}\n");
  const std::string heroic = Game("elsewhere/Heroic/Duke Nukem 3D");
  testsupport::MakeDirs(home + "/.config/heroic/gog_store");
  // A relative path in a list leads nowhere known, wherever Kestrum runs.
  Game("elsewhere/relative/duke");
  ASSERT_EQ(::chdir(Root().c_str()), 0);
  testsupport::WriteFile(home + "/.config/heroic/gog_store/installed.json",
                         "{\"installed\": [{\"appName\": \"1207658730\", \"install_path\": \"" +
                             heroic +
                             "\"}, {\"appName\": \"2\", \"install_path\": "
                             "\"elsewhere/relative/duke\"}]}");
  // A game of its own in ~/Games, where Wine prefixes lie too.
  const std::string games = Game("home/Games/duke");
  const std::string lutris = Game("elsewhere/lutris/duke");
  testsupport::MakeDirs(home + "/.config/lutris/games");
  testsupport::WriteFile(home + "/.config/lutris/games/duke-123.yml",
                         "game:\n  exe: " + lutris + "/DUKE3D.EXE\ngame_slug: duke\n");
  const std::string gog = Game("elsewhere/GOG/Duke/data");
  testsupport::MakeDirs(home + "/Desktop");
  testsupport::WriteFile(home + "/Desktop/gog_com-Duke_Nukem_3D_Atomic_Edition_1.desktop",
                         "[Desktop Entry]\nName=Duke\nPath=" + Root() + "/elsewhere/GOG/Duke\n");
  using firstcontact::Found;
  EXPECT_EQ(firstcontact::FoundGameFolders(),
            (std::vector<Found>{
                {"GOG", gog},
                {"Steam", home + "/.steam/steam/steamapps/common/Duke Nukem 3D/gameroot/classic"},
                {"Steam", tour},
                {"Heroic", heroic},
                {"Lutris", lutris},
                {"Wine", home + "/Games/link 0/drive_c/GOG Games/Duke Nukem 3D"},
                {"Lutris", games}}));
  ASSERT_EQ(::chdir("/"), 0);
}

}  // namespace
