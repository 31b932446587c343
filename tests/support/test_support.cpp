#include "support/test_support.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "winapi/dos_paths.h"

extern char** environ;

namespace testsupport {

namespace {
void RemoveTree(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return;
  if (S_ISDIR(st.st_mode)) {
    ::chmod(path.c_str(), 0700);
    for (const auto& name : ListDir(path)) RemoveTree(path + "/" + name);
    ::rmdir(path.c_str());
  } else {
    ::unlink(path.c_str());
  }
}
}  // namespace

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  // A name that is already a valid DOS name: DOSBox numbers the aliases of
  // long names by what else is in the folder, and tests running side by side
  // keep adding and removing folders in /tmp.
  std::string pattern = std::string(base != nullptr && *base ? base : "/tmp") + "/kt" + "XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = buffer.data();
}

TempDir::~TempDir() {
  RemoveTree(path_);
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

void MakeDirs(const std::string& path) {
  for (std::size_t pos = 1; pos != std::string::npos;) {
    pos = path.find('/', pos + 1);
    ::mkdir(path.substr(0, pos).c_str(), 0755);
  }
}

std::vector<std::string> ListDir(const std::string& path) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) return names;
  while (const dirent* e = ::readdir(dir)) {
    const std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  ::closedir(dir);
  return names;
}

ScopedEnv::ScopedEnv(const std::string& name, const std::optional<std::string>& value)
    : name_(name) {
  if (const char* old = std::getenv(name.c_str())) old_ = old;
  if (value) {
    ::setenv(name.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name.c_str());
  }
}

ScopedEnv::~ScopedEnv() {
  if (old_) {
    ::setenv(name_.c_str(), old_->c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

void WriteRecordingProgram(const std::string& bin, const std::string& name) {
  MakeDirs(bin);
  const std::string log = bin + "/" + name + ".calls";
  const std::string script = bin + "/" + name;
  // Calls may come at once: each takes the log's lock, and writes through a
  // temporary file and a rename so that a reader never sees half a call.
  WriteFile(script,
            "#!/bin/sh\n"
            "log='" +
                log +
                "'\n"
                "exec 9>>\"$log.lock\"\n"
                "/usr/bin/flock 9\n"
                "{ [ -f \"$log\" ] && /bin/cat \"$log\"; pwd; for a in \"$@\"; do printf '%s\\n' "
                "\"$a\"; done; "
                "echo ---; } > \"$log.$$\" && /bin/mv \"$log.$$\" \"$log\"\n");
  ::chmod(script.c_str(), 0755);
}

std::vector<Call> ReadCalls(const std::string& bin, const std::string& name) {
  std::vector<Call> calls;
  std::istringstream in(ReadFile(bin + "/" + name + ".calls"));
  std::string line;
  Call current;
  bool haveDirectory = false;
  while (std::getline(in, line)) {
    if (line == "---") {
      calls.push_back(current);
      current = Call{};
      haveDirectory = false;
    } else if (!haveDirectory) {
      current.directory = line;
      haveDirectory = true;
    } else {
      current.args.push_back(line);
    }
  }
  return calls;
}

std::vector<Call> WaitForCalls(const std::string& bin, const std::string& name, std::size_t n,
                               std::chrono::milliseconds timeout) {
  std::vector<Call> calls;
  WaitFor(
      [&] {
        calls = ReadCalls(bin, name);
        return calls.size() >= n;
      },
      timeout);
  return calls;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

pid_t Spawn(const std::vector<std::string>& argv, const std::string& directory) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : 0;
}

int Wait(pid_t pid) {
  int status = 0;
  if (pid <= 0 || ::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int Run(const std::vector<std::string>& argv, const std::string& directory) {
  return Wait(Spawn(argv, directory));
}

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (::access((folder + "/" + program).c_str(), X_OK) == 0) return true;
  }
  return false;
}

std::string BuildDosRecorder(const std::string& outputPath) {
  for (const char* nasm : {"/usr/bin/nasm", "/usr/local/bin/nasm"}) {
    if (::access(nasm, X_OK) == 0 &&
        Run({nasm, "-f", "bin", KESTRUM_DOS_RECORDER_SOURCE, "-o", outputPath}) == 0) {
      return outputPath;
    }
  }
  return {};
}

void IsolatedTest::SetUp() {
  root_ = std::make_unique<TempDir>();
  MakeDirs(ProgramDir());
  MakeDirs(Bin());
  MakeDirs(ConfigHome());
  MakeDirs(Root() + "/runtime");
  ::chmod((Root() + "/runtime").c_str(), 0700);
  MakeDirs(Root() + "/home");
  env_.push_back(std::make_unique<ScopedEnv>("XDG_CONFIG_HOME", ConfigHome()));
  env_.push_back(std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", Root() + "/runtime"));
  env_.push_back(std::make_unique<ScopedEnv>("HOME", Root() + "/home"));
  env_.push_back(std::make_unique<ScopedEnv>("PATH", Bin()));
  // DOSBox runs without a screen or a sound card in tests.
  env_.push_back(std::make_unique<ScopedEnv>("SDL_VIDEODRIVER", "dummy"));
  env_.push_back(std::make_unique<ScopedEnv>("SDL_AUDIODRIVER", "dummy"));
  char cwd[4096];
  oldCwd_ = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
  ResetProcessWideValues();
  platform::RecordProgramFolder(platform::HostPath{ProgramDir()});
}

void IsolatedTest::UseSystemPath(bool withSystem) {
  env_.push_back(std::make_unique<ScopedEnv>(
      "PATH", withSystem ? Bin() + ":/usr/local/bin:/usr/bin:/bin" : Bin()));
}

void IsolatedTest::TearDown() {
  if (::chdir(oldCwd_.c_str()) != 0) {
    // Nothing more to do: the next test starts from its own folders.
  }
  ResetProcessWideValues();
  platform::RecordProgramFolder({});
  while (!env_.empty()) env_.pop_back();
  root_.reset();
}

}  // namespace testsupport

namespace testsupport {

std::string Output(const std::vector<std::string>& argv, int* exitCode, bool errorsToo) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  int out[2];
  if (::pipe(out) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  if (errorsToo) {
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
  } else {
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  posix_spawn_file_actions_addclose(&actions, out[0]);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  std::string text;
  char buffer[256];
  ssize_t n = 0;
  while (rc == 0 && (n = ::read(out[0], buffer, sizeof buffer)) > 0) text.append(buffer, n);
  ::close(out[0]);
  const int code = rc == 0 ? Wait(pid) : -1;
  if (exitCode != nullptr) *exitCode = code;
  return text;
}

namespace {
pid_t SpawnQuietly(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : 0;
}

int RunQuietly(const std::vector<std::string>& argv) {
  return Wait(SpawnQuietly(argv));
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  if (!WaitFor([&] { return ::waitpid(pid, nullptr, WNOHANG) == pid; }, std::chrono::seconds(5))) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
}
}  // namespace

XServer::XServer(bool withWindowManager) {
  int fds[2];
  if (::pipe(fds) != 0) return;
  server_ = SpawnQuietly({"/usr/bin/Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                          "1024x768x24", "-noreset", "-nolisten", "tcp"});
  ::close(fds[1]);
  std::string number;
  char c = 0;
  while (server_ != 0 && ::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  ::close(fds[0]);
  if (number.empty()) {
    Stop(server_);
    server_ = 0;
    return;
  }
  display_ = ":" + number;
  env_ = std::make_unique<ScopedEnv>("DISPLAY", display_);
  if (withWindowManager) {
    windowManager_ = SpawnQuietly({"/usr/bin/openbox", "--sm-disable"});
    // Ready once it has claimed the screen as a window manager.
    if (!WaitFor(
            [] {
              return RunQuietly({"/usr/bin/wmctrl", "-m"}) == 0;
            },
            std::chrono::seconds(10))) {
      display_.clear();
    }
  }
}

XServer::~XServer() {
  Stop(windowManager_);
  Stop(server_);
}

std::string XDoToolOutput(const std::vector<std::string>& args, int timeoutSeconds) {
  std::vector<std::string> words{"/usr/bin/timeout", std::to_string(timeoutSeconds),
                                 "/usr/bin/xdotool"};
  words.insert(words.end(), args.begin(), args.end());
  int exitCode = -1;
  std::string text = Output(words, &exitCode, false);
  if (exitCode != 0) return {};
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

int XDoTool(const std::vector<std::string>& args, int timeoutSeconds) {
  std::vector<std::string> argv{"/usr/bin/timeout", std::to_string(timeoutSeconds),
                                "/usr/bin/xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunQuietly(argv);
}

}  // namespace testsupport
