// The real program, started as a process of its own.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

#include "support/test_support.h"
#include "winapi/dos_paths.h"

extern char** environ;

namespace {

class ProcessTest : public testsupport::IsolatedTest {
 protected:
  // A game in the program folder: without one, Kestrum would first ask
  // where the game is.
  void SetUp() override {
    IsolatedTest::SetUp();
    testsupport::WriteFile(ProgramDir() + "/Duke3D.exe", "");
  }
  // Kestrum as a file of its own at that path.
  static void Install(const std::string& program) {
    testsupport::WriteFile(program, testsupport::ReadFile(KESTRUM_BINARY));
    ::chmod(program.c_str(), 0755);
  }
  // Kestrum installed as a package installs it, with no game beside it.
  std::string InstalledApart() {
    const std::string installed = Root() + "/usr/bin/kestrum";
    testsupport::MakeDirs(Root() + "/usr/bin");
    Install(installed);
    return installed;
  }
  pid_t Start() {
    const std::string program = ProgramDir() + "/kestrum";
    Install(program);
    return Start(program);
  }
  // Started as a shell would start it by that word, from that folder: a
  // bare name is looked up on PATH.
  static pid_t Start(const std::string& startedAs, const std::string& folder = {}) {
    return Spawn({startedAs}, folder);
  }
  static pid_t Spawn(const std::vector<std::string>& words, const std::string& folder = {}) {
    const pid_t pid = testsupport::Spawn(words, folder);
    EXPECT_NE(pid, 0) << words[0];
    return pid;
  }
  // True while some process holds the single-instance lock.
  bool LockHeld() {
    const std::string lock = Root() + "/runtime/kestrum/kestrum.lock";
    const int fd = ::open(lock.c_str(), O_RDWR);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
  }
  // Kestrum, installed in the game folder, as an ordinary user of that id
  // (with those groups beside his own), from a folder every user may enter.
  std::vector<std::string> AsUser(uid_t user, const std::string& groups = {}) {
    const std::string program = ProgramDir() + "/kestrum";
    if (!testsupport::Exists(program)) Install(program);
    for (const std::string& d : {Root(), ProgramDir()}) ::chmod(d.c_str(), 0755);
    return {"/usr/bin/setpriv", "--reuid=" + std::to_string(user),
            "--regid=" + std::to_string(user),
            groups.empty() ? "--clear-groups" : "--groups=" + groups, program};
  }
  // A folder of that user's own, below the test's root.
  std::string OwnFolder(const std::string& name, uid_t user) {
    const std::string folder = Root() + "/" + name;
    testsupport::MakeDirs(folder);
    EXPECT_EQ(::chown(folder.c_str(), user, user), 0);
    ::chmod(folder.c_str(), 0700);
    return folder;
  }
  // Started, its window shown, then ended as a logout ends it.
  void ShowAndEnd(const std::vector<std::string>& words) {
    const pid_t pid = Spawn(words);
    EXPECT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name", "^Duke Nukem"}),
              0);
    ::kill(pid, SIGTERM);
    EXPECT_EQ(WaitExit(pid), 0);
  }
  // Ends the Kestrum that shows that window (one that another one started).
  static void EndOwnerOf(const std::string& window) {
    const std::string pid = testsupport::XDoToolOutput({"getwindowpid", window});
    ASSERT_FALSE(pid.empty());
    ::kill(std::stoi(pid), SIGTERM);
    EXPECT_TRUE(testsupport::WaitFor([&] { return ::kill(std::stoi(pid), 0) != 0; }));
  }
  static int WaitExit(pid_t pid) {
    int status = 0;
    bool done = testsupport::WaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; },
                                     std::chrono::seconds(20));
    if (!done) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

TEST_F(ProcessTest, EndingTheProgramSavesTheSettings) {
  const pid_t pid = Start();
  ASSERT_TRUE(testsupport::WaitFor([&] { return LockHeld(); }));
  ASSERT_TRUE(testsupport::WaitFor([&] { return testsupport::Exists(RegistryFile()); }));
  // Give the window time to finish its start-up before it is asked to end.
  ::usleep(300 * 1000);
  ::kill(pid, SIGTERM);
  EXPECT_EQ(WaitExit(pid), 0);
  EXPECT_NE(testsupport::ReadFile(RegistryFile()).find("\"Fakers\"=\"0\""), std::string::npos);
  EXPECT_FALSE(LockHeld());
}

TEST_F(ProcessTest, StartedThroughALinkInTheGameFolderItPlaysThere) {
  testsupport::XServer x;
  ASSERT_TRUE(x.Running());
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  // Installed elsewhere, with no game beside it (the package check hands in
  // the program its package installs).
  const char* fromPackage = std::getenv("KESTRUM_INSTALLED");
  std::string installed = fromPackage != nullptr ? fromPackage : Root() + "/usr/bin/kestrum";
  if (fromPackage == nullptr) {
    testsupport::MakeDirs(Root() + "/usr/bin");
    Install(installed);
  }
  testsupport::WriteFile(ProgramDir() + "/Duke3D.exe", "");
  testsupport::WriteFile(ProgramDir() + "/Duke3d.cfg", "[Setup]\r\nSetupVersion = 1.5\r\n");
  ASSERT_EQ(::symlink(installed.c_str(), (ProgramDir() + "/kestrum").c_str()), 0);
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  const char* const caption = "^Duke Nukem 1.5$";

  // By the link's full path, from another folder: a click on the launch
  // button starts the game in the game's folder.
  pid_t pid = Start(ProgramDir() + "/kestrum", Root());
  ASSERT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name", caption,
                                  "mousemove", "--window", "%1", "117", "12", "click", "1"}),
            0);
  const auto calls = testsupport::WaitForCalls(Bin(), "command.com", 1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].directory, ProgramDir());
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{"/c", "Duke3D", "/s1", "/v1", "/l01"}));
  ::kill(pid, SIGTERM);
  EXPECT_EQ(WaitExit(pid), 0);

  // As a bare name found on PATH, and by a relative path.
  testsupport::ScopedEnv path("PATH", Bin() + ":" + ProgramDir());
  for (const auto& [startedAs, folder] :
       {std::pair<std::string, std::string>{"kestrum", Root()},
        std::pair<std::string, std::string>{"../Duke Nukem 3D/kestrum", Bin()}}) {
    pid = Start(startedAs, folder);
    EXPECT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name", caption}), 0)
        << startedAs;
    ::kill(pid, SIGTERM);
    EXPECT_EQ(WaitExit(pid), 0);
  }
}

// The game gets Kestrum's standard input and output and nothing else of it:
// not its signal pipe, its locks or its connection to the display.
TEST_F(ProcessTest, AStartedProgramGetsNoneOfKestrumsDescriptors) {
  testsupport::XServer x;
  ASSERT_TRUE(x.Running());
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  testsupport::WriteFile(ProgramDir() + "/Duke3D.exe", "");
  Install(Bin() + "/command.com");
  testsupport::WriteFile(Bin() + "/command.com", testsupport::ReadFile(KESTRUM_FD_LISTER));
  const pid_t pid = Start();
  ASSERT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name", "^Duke Nukem",
                                  "mousemove", "--window", "%1", "117", "12", "click", "1"}),
            0);
  ASSERT_TRUE(testsupport::WaitFor([&] { return testsupport::Exists(ProgramDir() + "/FDS.TXT"); }));
  ASSERT_TRUE(testsupport::WaitFor(
      [&] { return !testsupport::ReadFile(ProgramDir() + "/FDS.TXT").empty(); }));
  EXPECT_EQ(testsupport::ReadFile(ProgramDir() + "/FDS.TXT"), "0\n1\n2\n");
  ::kill(pid, SIGTERM);
  EXPECT_EQ(WaitExit(pid), 0);
}

// Coming back to Kestrum while the game still runs brings the game's window
// to the front: the started task's, or that of a program it started.
TEST_F(ProcessTest, ComingBackWhileTheGameRunsBringsItsWindowToTheFront) {
  testsupport::XServer x(true);
  ASSERT_TRUE(x.Running());
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  testsupport::WriteFile(ProgramDir() + "/Duke3D.exe", "");
  // The "game" is a child of the started task, as DOSBox's program is.
  testsupport::WriteFile(Bin() + "/command.com", "#!/bin/sh\n'" KESTRUM_WINDOW_CHILD "'\nexit 0\n");
  ::chmod((Bin() + "/command.com").c_str(), 0755);
  const pid_t pid = Start();
  ASSERT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name", "^Duke Nukem",
                                  "mousemove", "--window", "%1", "117", "12", "click", "1"}),
            0);
  const std::string child =
      testsupport::XDoToolOutput({"search", "--sync", "--onlyvisible", "--name", "^Child$"});
  ASSERT_FALSE(child.empty());
  auto active = [] { return testsupport::XDoToolOutput({"getactivewindow"}); };
  ASSERT_TRUE(testsupport::WaitFor([&] { return active() == child; }));
  // The user comes back to Kestrum, minimised while the game runs.
  const std::string kestrum = testsupport::XDoToolOutput({"search", "--name", "^Duke Nukem"});
  ASSERT_FALSE(kestrum.empty());
  ASSERT_EQ(testsupport::XDoTool({"windowactivate", kestrum.substr(0, kestrum.find('\n'))}), 0);
  EXPECT_TRUE(testsupport::WaitFor(
      [&] {
        return testsupport::XDoTool({"search", "--onlyvisible", "--name", "^Duke Nukem"}, 2) == 0;
      },
      std::chrono::seconds(10)));
  ::usleep(500 * 1000);  // whatever the window manager does next, it has done
  EXPECT_EQ(active(), child);
  const std::string game = testsupport::XDoToolOutput({"getwindowpid", child});
  if (!game.empty()) ::kill(std::stoi(game), SIGTERM);
  ::kill(pid, SIGTERM);
  EXPECT_EQ(WaitExit(pid), 0);
}

// The settings as Kestrum writes them, "Fakers" aside, which start-up reads
// and the end of the run writes back as 0 when it is out of range: a store
// with "9" there shows whether a save landed.
std::string StoredSettings(const std::string& fakers, const std::string& sound = "0") {
  return "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General]\r\n"
         "\"FormX\"=\"0\"\r\n\"FormY\"=\"0\"\r\n\"Record\"=\"0\"\r\n\"Monsters\"=\"0\"\r\n"
         "\"Sound\"=\"" +
         sound + "\"\r\n\"Skills\"=\"0\"\r\n\"Respawn\"=\"0\"\r\n\"Fakers\"=\"" + fakers + "\"\r\n";
}

// Two users of one group link their stores to one file: every save lands,
// and the file stays the group's, whoever saved last. A user of neither its
// owner nor its group never replaces it, even where he may write it.
TEST_F(ProcessTest, AStoreSharedByAGroupStaysTheGroupsWhoeverSaves) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs users of its own";
  testsupport::XServer x;
  ASSERT_TRUE(x.Running());
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  constexpr uid_t kAnn = 4242, kBob = 4243, kCarl = 4244;
  constexpr gid_t kGroup = 4300;
  const std::string shared = Root() + "/shared";
  testsupport::MakeDirs(shared);
  ASSERT_EQ(::chown(shared.c_str(), 0, kGroup), 0);
  ::chmod(shared.c_str(), 0775);
  const std::string store = shared + "/user.reg";
  testsupport::WriteFile(store, StoredSettings("9"));
  ASSERT_EQ(::chown(store.c_str(), kAnn, kGroup), 0);
  ::chmod(store.c_str(), 0664);
  struct Step {
    uid_t user;
    bool lands;
    uid_t owner;  // afterwards
  };
  for (const Step& step : {Step{kAnn, true, kAnn}, Step{kBob, true, kBob}, Step{kAnn, true, kAnn},
                           Step{kCarl, false, kAnn}}) {
    SCOPED_TRACE(step.user);
    const std::string id = std::to_string(step.user);
    if (step.user == kCarl) {
      // Open to everyone, yet not his to take over.
      ::chmod(shared.c_str(), 0777);
      ::chmod(store.c_str(), 0666);
    }
    const std::string config = OwnFolder("config-" + id, step.user);
    const std::string folder = OwnFolder("config-" + id + "/kestrum", step.user);
    ::unlink((folder + "/user.reg").c_str());
    ASSERT_EQ(::symlink(store.c_str(), (folder + "/user.reg").c_str()), 0);
    testsupport::ScopedEnv configHome("XDG_CONFIG_HOME", config);
    testsupport::ScopedEnv runtime("XDG_RUNTIME_DIR", OwnFolder("runtime-" + id, step.user));
    testsupport::ScopedEnv home("HOME", OwnFolder("home-" + id, step.user));
    testsupport::WriteFile(store, StoredSettings("9"));  // in place: owner and group stay
    ShowAndEnd(AsUser(step.user, step.user == kCarl ? std::string() : std::to_string(kGroup)));
    EXPECT_EQ(testsupport::ReadFile(store), StoredSettings(step.lands ? "0" : "9"));
    struct stat st {};
    ASSERT_EQ(::stat(store.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, step.owner);
    EXPECT_EQ(st.st_gid, kGroup);
    EXPECT_EQ(st.st_mode & 07777, step.user == kCarl ? 0666u : 0664u);
  }
}

// Another process holding the store's lock (a backup tool, a stuck Kestrum
// on a network home) delays the window a moment, not for as long as it holds
// the lock: the stored options are used, and the store is only read.
TEST_F(ProcessTest, ALockHeldElsewhereDelaysTheWindowAMomentOnly) {
  testsupport::XServer x;
  ASSERT_TRUE(x.Running());
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  testsupport::WriteFile(ProgramDir() + "/Duke3D.exe", "");
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  testsupport::MakeDirs(ConfigHome() + "/kestrum");
  testsupport::WriteFile(RegistryFile(), StoredSettings("9", "2"));
  const std::string lock = RegistryFile() + ".lock";
  const pid_t holder = Spawn({"/usr/bin/flock", "--no-fork", "-x", lock, "/bin/sleep", "60"});
  ASSERT_TRUE(testsupport::WaitFor([&] {
    const int fd = ::open(lock.c_str(), O_RDWR);
    const bool held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    if (fd >= 0) ::close(fd);
    return held;
  }));
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = Start();
  ASSERT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name", "^Duke Nukem",
                                  "mousemove", "--window", "%1", "117", "12", "click", "1"}),
            0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
  const auto calls = testsupport::WaitForCalls(Bin(), "command.com", 1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{"/c", "Duke3D", "/ns", "/s1", "/v1", "/l01"}));
  ::kill(pid, SIGTERM);
  EXPECT_EQ(WaitExit(pid), 0);
  EXPECT_EQ(testsupport::ReadFile(RegistryFile()), StoredSettings("9", "2"));
  ::kill(holder, SIGTERM);
  WaitExit(holder);
}

// A relative HOME names the store from the folder Kestrum started in, also
// for the save at the end, after a launch has made the game's folder current.
TEST_F(ProcessTest, ARelativeHomeKeepsItsStoreAfterALaunch) {
  testsupport::XServer x;
  ASSERT_TRUE(x.Running());
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  testsupport::WriteFile(ProgramDir() + "/Duke3D.exe", "");
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  testsupport::ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
  testsupport::ScopedEnv home("HOME", "home");
  const std::string store = Root() + "/home/.config/kestrum/user.reg";
  testsupport::MakeDirs(Root() + "/home/.config/kestrum");
  testsupport::WriteFile(store, StoredSettings("9"));
  Install(ProgramDir() + "/kestrum");
  const pid_t pid = Start(ProgramDir() + "/kestrum", Root());
  ASSERT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name", "^Duke Nukem",
                                  "mousemove", "--window", "%1", "117", "12", "click", "1"}),
            0);
  ASSERT_EQ(testsupport::WaitForCalls(Bin(), "command.com", 1).size(), 1u);
  ::kill(pid, SIGTERM);
  EXPECT_EQ(WaitExit(pid), 0);
  EXPECT_EQ(testsupport::ReadFile(store), StoredSettings("0"));
  EXPECT_FALSE(testsupport::Exists(ProgramDir() + "/home"));
}

// Wherever XDG_RUNTIME_DIR points, or with none at all, one Kestrum runs for
// a user, and no other user can keep it from starting.
TEST_F(ProcessTest, OneKestrumPerUserWhateverTheRuntimeFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs users of its own";
  testsupport::XServer x;
  ASSERT_TRUE(x.Running());
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  constexpr uid_t kUser = 4242;
  testsupport::ScopedEnv configHome("XDG_CONFIG_HOME", OwnFolder("config-user", kUser));
  testsupport::ScopedEnv home("HOME", OwnFolder("home-user", kUser));
  const std::string tmp = Root() + "/tmp";
  testsupport::MakeDirs(tmp);
  ::chmod(tmp.c_str(), 01777);
  testsupport::ScopedEnv tmpdir("TMPDIR", tmp);
  int othersLock = -1;
  struct Case {
    const char* name;
    std::function<std::optional<std::string>()> runtime;  // XDG_RUNTIME_DIR
  };
  const std::vector<Case> cases = {
      {"a file",
       [&]() -> std::optional<std::string> {
         testsupport::WriteFile(Root() + "/runtime-file", "");
         return Root() + "/runtime-file";
       }},
      {"another user's folder, left after su",
       [&]() -> std::optional<std::string> {
         testsupport::MakeDirs(Root() + "/runtime-root");
         ::chmod((Root() + "/runtime-root").c_str(), 0755);
         return Root() + "/runtime-root";
       }},
      {"none, and another user made the fallback first",
       [&]() -> std::optional<std::string> {
         // Both the lock's name in the shared folder and the folder of
         // this user's that Kestrum would make there, held by someone else.
         const std::string taken = tmp + "/kestrum-4242";
         ::rename(taken.c_str(), (taken + "-before").c_str());
         testsupport::MakeDirs(taken);
         ::chmod(taken.c_str(), 0777);
         othersLock = ::open((taken + ".lock").c_str(), O_RDWR | O_CREAT, 0666);
         EXPECT_EQ(::flock(othersLock, LOCK_EX | LOCK_NB), 0);
         return std::nullopt;
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::ScopedEnv runtime("XDG_RUNTIME_DIR", c.runtime());
    const pid_t first = Spawn(AsUser(kUser));
    ASSERT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name", "^Duke Nukem"}),
              0);
    const pid_t second = Spawn(AsUser(kUser));
    EXPECT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name", "^Sorry...$"}),
              0);
    const std::string windows =
        testsupport::XDoToolOutput({"search", "--onlyvisible", "--name", "^Duke Nukem"});
    EXPECT_EQ(std::count(windows.begin(), windows.end(), '\n'), 0) << windows;
    // The refused copy waits for its message to be read; the first one saves
    // and ends as at a logout.
    ::kill(second, SIGKILL);
    WaitExit(second);
    ::kill(first, SIGTERM);
    EXPECT_EQ(WaitExit(first), 0);
  }
  ::close(othersLock);
}

// Started from the menu, with no game beside it, Kestrum asks where the game
// is, makes a link there and a menu entry that starts it by the link, and
// runs again from the game's folder.
TEST_F(ProcessTest, StartedWithoutAGameItAsksWhereAndMovesIn) {
  testsupport::XServer x;
  ASSERT_TRUE(x.Running());
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  testsupport::ScopedEnv noData("XDG_DATA_HOME", std::nullopt);
  const std::string installed = InstalledApart();
  const std::string game = Root() + "/Games/My Duke";
  testsupport::MakeDirs(game);
  testsupport::WriteFile(game + "/DUKE3D.EXE", "");
  testsupport::WriteFile(game + "/DUKE3D.CFG", "[Setup]\r\nSetupVersion = 1.5\r\n");

  const pid_t first = Start(installed, Root());
  ASSERT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name",
                                  "^Where is Duke Nukem 3D\\?$", "windowfocus", "--sync", "%1",
                                  "type", "--delay", "5", game}),
            0);
  ASSERT_EQ(testsupport::XDoTool({"key", "Return"}), 0);
  EXPECT_EQ(WaitExit(first), 0);
  EXPECT_FALSE(testsupport::Exists(RegistryFile()));  // the first one saved nothing

  char target[4096] = {};
  ASSERT_GT(::readlink((game + "/kestrum").c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(std::string(target), installed);
  const std::string menu = Root() + "/home/.local/share/applications";
  const auto entries = testsupport::ListDir(menu);
  ASSERT_EQ(entries.size(), 1u);
  int valid = -1;
  const std::string complaints = testsupport::Output(
      {"/usr/bin/desktop-file-validate", menu + "/" + entries[0]}, &valid, true);
  EXPECT_EQ(valid, 0) << complaints;
  const std::string entry = testsupport::ReadFile(menu + "/" + entries[0]);
  EXPECT_NE(entry.find("\nExec=\"" + game + "/kestrum\"\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nName=Duke Nukem 3D (My Duke)\n"), std::string::npos) << entry;

  const std::string again = testsupport::XDoToolOutput(
      {"search", "--sync", "--onlyvisible", "--name", "^Duke Nukem 1.5$"});
  ASSERT_FALSE(again.empty());
  EndOwnerOf(again);
  EXPECT_TRUE(testsupport::Exists(RegistryFile()));  // the second one did
}

// Where a store put the game, first contact offers it; the one picked (a
// World Tour in a second Steam library that only libraryfolders.vdf names)
// becomes Kestrum's home as a folder typed in would, and plays.
TEST_F(ProcessTest, FirstContactOffersWhatTheStoresInstalledAndMovesIn) {
  testsupport::XServer x;
  ASSERT_TRUE(x.Running());
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  testsupport::ScopedEnv noData("XDG_DATA_HOME", std::nullopt);
  const std::string installed = InstalledApart();
  const std::string home = Root() + "/home";
  const std::string gog = home + "/GOG Games/Duke Nukem 3D Atomic Edition";
  const std::string steam = home + "/.steam/steam/steamapps/common/Duke Nukem 3D/gameroot/classic";
  for (const std::string& folder : {gog, steam}) {
    testsupport::MakeDirs(folder);
    testsupport::WriteFile(folder + "/DUKE3D.EXE", "");
    testsupport::WriteFile(folder + "/DUKE3D.CFG", "[Setup]\r\nSetupVersion = 1.5\r\n");
  }
  const std::string tour =
      Root() +
      "/disk2/SteamLibrary/steamapps/common/Duke Nukem 3D Twentieth Anniversary World Tour";
  testsupport::MakeDirs(tour);
  testsupport::WriteFile(tour + "/DUKE3D.GRP", "");
  testsupport::WriteFile(home + "/.steam/steam/steamapps/libraryfolders.vdf",
                         "\"libraryfolders\"\n{\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + Root() +
                             "/disk2/SteamLibrary\"\n\t}\n}\n");
  testsupport::WriteRecordingProgram(Bin(), "eduke32");
  const pid_t first = Start(installed, Root());
  ASSERT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name",
                                  "^Where is Duke Nukem 3D\\?$", "windowfocus", "--sync", "%1"}),
            0);
  ASSERT_EQ(testsupport::XDoTool({"key", "Down", "Down", "Return"}), 0);
  EXPECT_EQ(WaitExit(first), 0);
  char target[4096] = {};
  ASSERT_GT(::readlink((tour + "/kestrum").c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(std::string(target), installed);
  EXPECT_FALSE(testsupport::Exists(gog + "/kestrum"));
  EXPECT_FALSE(testsupport::Exists(steam + "/kestrum"));
  const std::string again = testsupport::XDoToolOutput(
      {"search", "--sync", "--onlyvisible", "--name", "^Duke Nukem.*EDuke32"});
  ASSERT_FALSE(again.empty());
  ASSERT_EQ(testsupport::XDoTool({"mousemove", "--window", again, "117", "12", "click", "1"}), 0);
  const auto calls = testsupport::WaitForCalls(Bin(), "eduke32", 1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].directory, tour);
  EndOwnerOf(again);
}

// Two folders whose names are not UTF-8 show alike in the list: the one
// picked is the one taken, by its place in the list.
TEST_F(ProcessTest, FirstContactTakesTheFolderPickedWhateverItsNameShows) {
  testsupport::XServer x;
  ASSERT_TRUE(x.Running());
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  testsupport::ScopedEnv noData("XDG_DATA_HOME", std::nullopt);
  const std::string installed = InstalledApart();
  const std::string gog = Root() + "/home/GOG Games/Duke Nukem 3D ";
  for (const std::string& folder : {gog + "\xfe", gog + "\xff"}) {
    testsupport::MakeDirs(folder);
    testsupport::WriteFile(folder + "/DUKE3D.EXE", "");
  }
  const pid_t first = Start(installed, Root());
  ASSERT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name",
                                  "^Where is Duke Nukem 3D\\?$", "windowfocus", "--sync", "%1"}),
            0);
  ASSERT_EQ(testsupport::XDoTool({"key", "Down", "Return"}), 0);
  // A name that is not UTF-8 gets no menu entry, and the user is told.
  ASSERT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name", "^No Dice...$",
                                  "windowfocus", "--sync", "%1"}),
            0);
  ASSERT_EQ(testsupport::XDoTool({"key", "Return"}), 0);
  EXPECT_EQ(WaitExit(first), 0);
  EXPECT_TRUE(testsupport::Exists(gog + "\xff/kestrum"));
  EXPECT_FALSE(testsupport::Exists(gog + "\xfe/kestrum"));
  const std::string again =
      testsupport::XDoToolOutput({"search", "--sync", "--onlyvisible", "--name", "^Duke Nukem $"});
  ASSERT_FALSE(again.empty());
  EndOwnerOf(again);
}

// A folder with the Atomic Edition's DUKE3D.GRP and a port on PATH, but no
// DOS game and no setup file: Kestrum comes up for the port, its caption
// telling the edition.
TEST_F(ProcessTest, AFolderOfThePortComesUpWithItsEdition) {
  testsupport::XServer x;
  ASSERT_TRUE(x.Running());
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  ::unlink((ProgramDir() + "/Duke3D.exe").c_str());
  const int fd = ::open((ProgramDir() + "/DUKE3D.GRP").c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, 44356548), 0);
  ::close(fd);
  testsupport::WriteRecordingProgram(Bin(), "eduke32");
  const pid_t pid = Start();
  EXPECT_FALSE(testsupport::XDoToolOutput({"search", "--sync", "--onlyvisible", "--name",
                                           "^Duke Nukem 1.5 \\(EDuke32\\)$"})
                   .empty());
  ::kill(pid, SIGTERM);
  EXPECT_EQ(WaitExit(pid), 0);
}

// Kestrum has no options: "--version" and "--help" answer on the terminal,
// and without a display it says so in one line instead of aborting.
TEST_F(ProcessTest, AnswersOnTheTerminalWithoutAWindow) {
  int code = -1;
  EXPECT_EQ(testsupport::Output({KESTRUM_BINARY, "--version"}, &code, true),
            "kestrum " KESTRUM_VERSION "\n");
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(
      testsupport::Output({KESTRUM_BINARY, "--help"}, &code, true).starts_with("Usage: kestrum\n"));
  EXPECT_EQ(code, 0);
  testsupport::ScopedEnv noDisplay("DISPLAY", std::nullopt);
  testsupport::ScopedEnv noWayland("WAYLAND_DISPLAY", std::nullopt);
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  const std::string said = testsupport::Output({KESTRUM_BINARY}, &code, true);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_FALSE(LockHeld());
}

// "--preset NAME" starts that preset's game without a window, in the
// preset's own folder, and ends; an unknown name starts nothing, is said,
// and ends with a status that says it failed.
TEST_F(ProcessTest, APresetStartsFromTheCommandLine) {
  testsupport::ScopedEnv noDisplay("DISPLAY", std::nullopt);
  testsupport::ScopedEnv noWayland("WAYLAND_DISPLAY", std::nullopt);
  testsupport::WriteFile(ProgramDir() + "/DUKE3D.GRP", "KenSilverman");
  testsupport::WriteRecordingProgram(Bin(), "eduke32");
  const std::string mod = Root() + "/mod";
  testsupport::MakeDirs(mod);
  testsupport::WriteFile(mod + "/DUKEDC.GRP", "KenSilverman");
  const std::string program = ProgramDir() + "/kestrum";
  Install(program);
  testsupport::MakeDirs(ConfigHome() + "/kestrum");
  testsupport::WriteFile(
      RegistryFile(),
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\Presets\\D.C.]\r\n"
      "\"Name\"=\"D.C.\"\r\n\"Engine\"=\"eduke32\"\r\n\"Files\"=\"1\"\r\n\"File1\"=\"" +
          mod + "/DUKEDC.GRP\"\r\n\"File1Identity\"=\"" +
          platform::LocateFile(platform::HostPath{mod + "/DUKEDC.GRP"}).identity + "\"\r\n");
  int code = -1;
  const std::string said = testsupport::Output({program, "--preset", "Nope"}, &code, true);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(said, "kestrum: There is no preset called \"Nope\".\n");
  EXPECT_TRUE(testsupport::ReadCalls(Bin(), "eduke32").empty());
  EXPECT_EQ(testsupport::Output({program, "--preset", "D.C."}, &code, true), "");
  EXPECT_EQ(code, 0);
  const auto calls = testsupport::WaitForCalls(Bin(), "eduke32", 1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_NE(std::find(calls[0].args.begin(), calls[0].args.end(), mod + "/DUKEDC.GRP"),
            calls[0].args.end());
  EXPECT_TRUE(calls[0].directory.ends_with("/kestrum/presets/D%2EC%2E")) << calls[0].directory;
  EXPECT_FALSE(LockHeld());
}

// Where the window system places windows itself and tells no program where
// (Wayland), the stored position is neither applied nor replaced by a made-up
// one; the options are saved as always.
TEST_F(ProcessTest, UnderWaylandTheStoredPositionStays) {
  if (!testsupport::Exists("/usr/bin/weston")) GTEST_SKIP() << "weston is not installed";
  const std::string socket = "kestrum-test-wayland";
  const pid_t weston =
      Spawn({"/usr/bin/weston", "--backend=headless-backend.so", "--socket=" + socket,
             "--idle-time=0", "--log=" + Root() + "/weston.log"});
  // Ended however the test ends: a compositor left running would keep the
  // test runner waiting on its output.
  const std::unique_ptr<void, std::function<void(void*)>> endWeston(reinterpret_cast<void*>(1),
                                                                    [weston](void*) {
                                                                      ::kill(weston, SIGTERM);
                                                                      WaitExit(weston);
                                                                    });
  ASSERT_TRUE(
      testsupport::WaitFor([&] { return testsupport::Exists(Root() + "/runtime/" + socket); }));
  testsupport::ScopedEnv display("WAYLAND_DISPLAY", socket);
  testsupport::ScopedEnv wayland("QT_QPA_PLATFORM", "wayland");
  testsupport::MakeDirs(ConfigHome() + "/kestrum");
  const std::string stored =
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\"
      "General]\r\n\"FormX\"=\"1440\"\r\n\"FormY\"=\"720\"\r\n";
  testsupport::WriteFile(RegistryFile(), stored + "\"Fakers\"=\"9\"\r\n");
  const pid_t pid = Start();
  ASSERT_TRUE(testsupport::WaitFor([&] { return LockHeld(); }));
  ::usleep(500 * 1000);  // its window is up
  ::kill(pid, SIGTERM);
  EXPECT_EQ(WaitExit(pid), 0);
  const std::string saved = testsupport::ReadFile(RegistryFile());
  EXPECT_TRUE(saved.starts_with(stored)) << saved;
  EXPECT_NE(saved.find("\"Fakers\"=\"0\""), std::string::npos) << saved;
}

// On a desktop of two screens side by side, a window left on the right one
// comes back there; a position off every screen (a screen unplugged since)
// is not applied. With one screen, a value below the screen's size is
// applied, as always.
TEST_F(ProcessTest, APositionComesBackOnAnyScreenButNeverOffThemAll) {
  const auto screen = [](int x) {
    return "{\"name\": \"s" + std::to_string(x) + "\", \"x\": " + std::to_string(x) +
           ", \"y\": 0, \"width\": 1024, \"height\": 768, \"logicalDpi\": 96, "
           "\"logicalBaseDpi\": 96, \"dpr\": 1}";
  };
  testsupport::WriteFile(Root() + "/two.json",
                         "{\"screens\": [" + screen(0) + ", " + screen(1024) + "]}");
  testsupport::WriteFile(Root() + "/one.json", "{\"screens\": [" + screen(0) + "]}");
  struct Case {
    const char* desktop;
    int x, y;  // pixels
    bool applied;
  };
  for (const Case& c : {Case{"two.json", 1100, 100, true}, Case{"two.json", 2000, 100, true},
                        Case{"two.json", -1000, 100, false}, Case{"two.json", 300, 900, false},
                        Case{"one.json", -1000, 100, true}}) {
    SCOPED_TRACE(std::string(c.desktop) + " " + std::to_string(c.x) + "," + std::to_string(c.y));
    testsupport::ScopedEnv platform("QT_QPA_PLATFORM",
                                    "offscreen:configfile=" + Root() + "/" + c.desktop);
    testsupport::MakeDirs(ConfigHome() + "/kestrum");
    const std::string position = "\"FormX\"=\"" + std::to_string(c.x * 15) + "\"\r\n\"FormY\"=\"" +
                                 std::to_string(c.y * 15) + "\"\r\n";
    testsupport::WriteFile(RegistryFile(),
                           "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tolvane\\"
                           "Kestrum\\General]\r\n" +
                               position);
    const pid_t pid = Start();
    ASSERT_TRUE(testsupport::WaitFor([&] { return LockHeld(); }));
    ::usleep(300 * 1000);
    ::kill(pid, SIGTERM);
    EXPECT_EQ(WaitExit(pid), 0);
    const bool kept = testsupport::ReadFile(RegistryFile()).find(position) != std::string::npos;
    EXPECT_EQ(kept, c.applied);
  }
}

// Whatever a real desktop leaves as the settings store, Kestrum starts, shows
// its window and ends, and the user's bytes are kept: left exactly as they
// are where Kestrum may not replace them, and changed only in the lines it
// writes where it may. The permission cases run as a user who is not root.
TEST_F(ProcessTest, TheSettingsStoreNeverLosesTheUsersBytes) {
  testsupport::XServer x;
  ASSERT_TRUE(x.Running());
  testsupport::ScopedEnv xcb("QT_QPA_PLATFORM", "xcb");
  const std::string program = ProgramDir() + "/kestrum";
  Install(program);
  const bool root = ::geteuid() == 0;
  constexpr uid_t kUser = 4242;
  // A store in which Kestrum changes one line ("Sound" 9 is out of range and
  // is saved as 0), beside lines of the user's own.
  const std::string key = "[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General]";
  const std::string mine =
      "REGEDIT4\n; kept by hand\n\n[HKEY_CURRENT_USER\\Software\\Mine]\n\"A\" = \"1\"\n\n" + key +
      "\n\"FormX\"=\"0\"\n\"FormY\"=\"0\"\n\"Record\"=\"0\"\n\"Monsters\"=\"0\"\n"
      "; sound off, please\n\"Sound\"=\"9\"\n\"Skills\"=\"0\"\n\"Respawn\"=\"0\"\n"
      "\"Fakers\"=\"0\"\n";
  std::string saved = mine;
  saved.replace(saved.find("\"Sound\"=\"9\"\n"), 12, "\"Sound\"=\"0\"\r\n");
  const std::string notes = "my own notes, not a registry\n";
  // A key that ends with a blank line and a comment of the next key's.
  const std::string values =
      "\"FormX\"=\"0\"\r\n\"FormY\"=\"0\"\r\n\"Record\"=\"0\"\r\n"
      "\"Monsters\"=\"0\"\r\n\"Sound\"=\"0\"\r\n\"Skills\"=\"0\"\r\n"
      "\"Respawn\"=\"0\"\r\n";
  const std::string nextKey =
      "\r\n; my key, below\r\n[HKEY_CURRENT_USER\\Software\\Mine]\r\n\"A\"=\"1\"\r\n";
  const std::string beforeNextKey = "REGEDIT4\r\n\r\n" + key + "\r\n" + values + nextKey;
  const std::string beforeNextKeySaved =
      "REGEDIT4\r\n\r\n" + key + "\r\n" + values + "\"Fakers\"=\"0\"\r\n" + nextKey;
  std::string fortyLinks;

  struct Case {
    const char* name;
    bool asUser;
    std::function<void(const std::string& folder)> setup;
    std::function<void(const std::string& folder)> check;
  };
  auto mode = [](const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0u;
  };
  auto contentIs = [](const std::string& path, const std::string& bytes) {
    EXPECT_EQ(testsupport::ReadFile(path), bytes) << path;
  };
  const std::string dotfiles = Root() + "/dotfiles";
  pid_t deadWriter = ::fork();
  if (deadWriter == 0) ::_exit(0);
  ::waitpid(deadWriter, nullptr, 0);
  const std::string deadTemp = "user.reg.tmp-" + std::to_string(deadWriter);
  const std::string liveTemp = "user.reg.tmp-" + std::to_string(::getpid());
  const std::vector<Case> cases = {
      {"unreadable (mode 000)", true,
       [&](const std::string& f) {
         testsupport::WriteFile(f + "/user.reg", mine);
         EXPECT_EQ(::chown((f + "/user.reg").c_str(), kUser, kUser), 0);
         ::chmod((f + "/user.reg").c_str(), 0);
       },
       [&](const std::string& f) {
         contentIs(f + "/user.reg", mine);
         EXPECT_EQ(mode(f + "/user.reg") & 07777, 0u);
       }},
      {"owned by root after a sudo (0600)", true,
       [&](const std::string& f) {
         testsupport::WriteFile(f + "/user.reg", mine);
         ::chmod((f + "/user.reg").c_str(), 0600);
       },
       [&](const std::string& f) { contentIs(f + "/user.reg", mine); }},
      {"does not parse and cannot be kept aside (path at the length limit)", false,
       [&](const std::string&) {},  // set up below: it needs a store folder of its own
       [&](const std::string&) {}},
      {"a link into the user's dotfiles", false,
       [&](const std::string& f) {
         testsupport::MakeDirs(dotfiles);
         testsupport::WriteFile(dotfiles + "/user.reg", mine);
         EXPECT_EQ(::symlink("../../../dotfiles/user.reg", (f + "/user.reg").c_str()), 0);
       },
       [&](const std::string& f) {
         EXPECT_TRUE(S_ISLNK(mode(f + "/user.reg")));
         contentIs(dotfiles + "/user.reg", saved);
       }},
      {"a link that leads nowhere yet", false,
       [&](const std::string& f) {
         testsupport::MakeDirs(dotfiles);
         ::unlink((dotfiles + "/user.reg").c_str());
         EXPECT_EQ(::symlink((dotfiles + "/user.reg").c_str(), (f + "/user.reg").c_str()), 0);
       },
       [&](const std::string& f) {
         EXPECT_TRUE(S_ISLNK(mode(f + "/user.reg")));
         EXPECT_NE(testsupport::ReadFile(dotfiles + "/user.reg").find("\"Fakers\"=\"0\""),
                   std::string::npos);
       }},
      {"readable by all (0644)", false,
       [&](const std::string& f) {
         testsupport::WriteFile(f + "/user.reg", mine);
         ::chmod((f + "/user.reg").c_str(), 0644);
       },
       [&](const std::string& f) {
         contentIs(f + "/user.reg", saved);
         EXPECT_EQ(mode(f + "/user.reg") & 07777, 0644u);
       }},
      {"read-only (0444)", true,
       [&](const std::string& f) {
         testsupport::WriteFile(f + "/user.reg", mine);
         EXPECT_EQ(::chown((f + "/user.reg").c_str(), kUser, kUser), 0);
         ::chmod((f + "/user.reg").c_str(), 0444);
       },
       [&](const std::string& f) {
         contentIs(f + "/user.reg", mine);
         EXPECT_EQ(mode(f + "/user.reg") & 07777, 0444u);
       }},
      {"temporary files of a dead and of a live writer", false,
       [&](const std::string& f) {
         testsupport::WriteFile(f + "/user.reg", mine);
         testsupport::WriteFile(f + "/" + deadTemp, notes);
         testsupport::WriteFile(f + "/" + liveTemp, notes);
       },
       [&](const std::string& f) {
         contentIs(f + "/user.reg", saved);
         EXPECT_FALSE(testsupport::Exists(f + "/" + deadTemp));
         contentIs(f + "/" + liveTemp, notes);
       }},
      {"a chain of forty links, as many as the system follows", false,
       [&](const std::string& f) {
         testsupport::MakeDirs(dotfiles);
         testsupport::WriteFile(dotfiles + "/forty.reg", mine);
         std::string next = dotfiles + "/forty.reg";
         for (int i = 39; i >= 1; --i) {
           const std::string link = dotfiles + "/link" + std::to_string(i);
           ::unlink(link.c_str());
           EXPECT_EQ(::symlink(next.c_str(), link.c_str()), 0);
           next = link;
         }
         EXPECT_EQ(::symlink(next.c_str(), (f + "/user.reg").c_str()), 0);
         fortyLinks = f + "/user.reg";
       },
       [&](const std::string&) { contentIs(dotfiles + "/forty.reg", saved); }},
      {"a chain of forty-one links, one too many", false,
       [&](const std::string& f) {
         testsupport::WriteFile(dotfiles + "/forty.reg", mine);
         EXPECT_EQ(::symlink(fortyLinks.c_str(), (f + "/user.reg").c_str()), 0);
       },
       [&](const std::string&) { contentIs(dotfiles + "/forty.reg", mine); }},
      {"a comment that belongs to the next key", false,
       [&](const std::string& f) { testsupport::WriteFile(f + "/user.reg", beforeNextKey); },
       [&](const std::string& f) { contentIs(f + "/user.reg", beforeNextKeySaved); }},
      {"a FIFO", false, [&](const std::string& f) { ::mkfifo((f + "/user.reg").c_str(), 0600); },
       [&](const std::string& f) { EXPECT_TRUE(S_ISFIFO(mode(f + "/user.reg"))); }},
      {"comments, blank lines and line ends of a hand-edited store", false,
       [&](const std::string& f) { testsupport::WriteFile(f + "/user.reg", mine); },
       [&](const std::string& f) { contentIs(f + "/user.reg", saved); }},
  };

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const bool asUser = c.asUser && root;
    std::string config = ConfigHome() + "/" + std::to_string(&c - cases.data());
    if (c.name == cases[2].name) {
      // The store's folder is so long a path that the file's own name and
      // a temporary one fit in it, but a longer name to keep it aside does not.
      config = Root() + "/long";
      while (config.size() < 4066 - 8) {
        config += "/" + std::string(std::min<std::size_t>(200, 4066 - 8 - config.size() - 1), 'x');
      }
    }
    const std::string folder = config + "/kestrum";
    testsupport::MakeDirs(folder);
    testsupport::ScopedEnv configHome("XDG_CONFIG_HOME", config);
    if (c.name == cases[2].name) {
      ASSERT_EQ(folder.size(), 4066u);
      testsupport::WriteFile(folder + "/user.reg", notes);
    }
    c.setup(folder);
    std::vector<std::string> words{program};
    if (asUser) {
      for (const std::string& d : {Root(), ProgramDir()}) ::chmod(d.c_str(), 0755);
      for (const std::string& d : {config, folder, Root() + "/runtime", Root() + "/home"}) {
        EXPECT_EQ(::chown(d.c_str(), kUser, kUser), 0);
      }
      words = {"/usr/bin/setpriv", "--reuid=4242", "--regid=4242", "--clear-groups", program};
    }
    const pid_t pid = Spawn(words);
    EXPECT_EQ(testsupport::XDoTool({"search", "--sync", "--onlyvisible", "--name", "^Duke Nukem"}),
              0);
    ::kill(pid, SIGTERM);
    EXPECT_EQ(WaitExit(pid), 0);
    if (c.name == cases[2].name) contentIs(folder + "/user.reg", notes);
    c.check(folder);
    if (asUser) {
      for (const std::string& d : {Root() + "/runtime", Root() + "/home"})
        EXPECT_EQ(::chown(d.c_str(), 0, 0), 0);
    }
  }
}

}  // namespace
