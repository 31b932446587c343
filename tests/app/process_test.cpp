// The real program, started as a process of its own.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>

#include "support/test_support.h"

extern char** environ;

namespace {

class ProcessTest : public testsupport::IsolatedTest {
 protected:
  // Kestrum as a file of its own at that path.
  static void Install(const std::string& program) {
    testsupport::WriteFile(program, testsupport::ReadFile(KESTRUM_BINARY));
    ::chmod(program.c_str(), 0755);
  }
  pid_t Start() {
    const std::string program = ProgramDir() + "/kestrum";
    Install(program);
    return Start(program);
  }
  // Started as a shell would start it by that word, from that folder: a
  // bare name is looked up on PATH.
  static pid_t Start(const std::string& startedAs, const std::string& folder = {}) {
    char* argv[] = {const_cast<char*>(startedAs.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    EXPECT_EQ(posix_spawnp(&pid, startedAs.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }
  // True while some process holds the single-instance lock.
  bool LockHeld() {
    const std::string lock = Root() + "/runtime/kestrum-" + std::to_string(::getuid()) + ".lock";
    const int fd = ::open(lock.c_str(), O_RDWR);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
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
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{"/c", "Duke3D", "/s1"}));
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

}  // namespace
