// The real program, started as a process of its own.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/test_support.h"

extern char** environ;

namespace {

class ProcessTest : public testsupport::IsolatedTest {
 protected:
  pid_t Start() {
    const std::string program = ProgramDir() + "/kestrum";
    testsupport::WriteFile(program, testsupport::ReadFile(KESTRUM_BINARY));
    ::chmod(program.c_str(), 0755);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
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

}  // namespace
