// Shared fixtures: temporary folders, an isolated environment per test
// (settings store, runtime folder, program directory, PATH), fake programs
// that record how they were started, and the tiny DOS program.
#pragma once

#include <gtest/gtest.h>

#include "support/shared_fixture.h"

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
void MakeDirs(const std::string& path);
std::vector<std::string> ListDir(const std::string& path);

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const std::string& name, const std::optional<std::string>& value);
  ~ScopedEnv();

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// Puts a program on PATH that records, one line each, its working
// directory and then its arguments into <bin>/<name>.calls (appending a
// "---" line after each call).
void WriteRecordingProgram(const std::string& bin, const std::string& name);
struct Call {
  std::string directory;
  std::vector<std::string> args;
};
std::vector<Call> ReadCalls(const std::string& bin, const std::string& name);
// Waits until the program has recorded n calls; gives what it recorded.
std::vector<Call> WaitForCalls(const std::string& bin, const std::string& name, std::size_t n,
                               std::chrono::milliseconds timeout = std::chrono::seconds(10));

bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(20));

// Starts a program (a bare name is looked up on PATH) in that folder, or the
// current one; gives its process id, or 0.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& directory = {});
// Waits for a started program; gives its exit code (or -1).
int Wait(pid_t pid);
// Runs a program and waits for it; gives its exit code (or -1).
int Run(const std::vector<std::string>& argv, const std::string& directory = {});

bool OnPath(const std::string& program);

// Runs a program (by its path) and gives what it wrote on its standard
// output (and its errors too, when asked), with its exit code.
std::string Output(const std::vector<std::string>& argv, int* exitCode, bool errorsToo);

// Assembles the DOS program that writes its command tail to ARGS.TXT and
// tries to open the file named after -map or /g ("OPEN OK" / "OPEN FAIL").
// Empty when nasm is missing.
std::string BuildDosRecorder(const std::string& outputPath);

// Every process-wide value back to its start, and a fresh environment:
// settings store, runtime folder and program directory in temporary folders,
// PATH limited to a folder of fakes (plus the system folders when asked).
class IsolatedTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The program directory's host path.
  std::string ProgramDir() const { return root_->path() + "/Duke Nukem 3D"; }
  std::string Bin() const { return root_->path() + "/bin"; }
  std::string ConfigHome() const { return root_->path() + "/config"; }
  std::string RegistryFile() const { return ConfigHome() + "/kestrum/user.reg"; }
  std::string Root() const { return root_->path(); }
  // PATH with or without the system folders (where DOSBox lives).
  void UseSystemPath(bool withSystem);

  std::unique_ptr<TempDir> root_;
  std::vector<std::unique_ptr<ScopedEnv>> env_;
  std::string oldCwd_;
};

}  // namespace testsupport

namespace testsupport {

// A virtual X display of the test's own (Xvfb), optionally with a window
// manager, for what only a real window system shows: captions, clicks on a
// running Kestrum, which window is active. Sets DISPLAY while it lives.
class XServer {
 public:
  explicit XServer(bool withWindowManager = false);
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;
  bool Running() const { return !display_.empty(); }
  const std::string& Display() const { return display_; }

 private:
  pid_t server_ = 0;
  pid_t windowManager_ = 0;
  std::string display_;
  std::unique_ptr<ScopedEnv> env_;
};

// xdotool with these arguments on the test's display; its exit code.
// Bounded in time: a search that never matches fails after the timeout.
int XDoTool(const std::vector<std::string>& args, int timeoutSeconds = 20);
// What it prints, without the last line end; empty when it fails.
std::string XDoToolOutput(const std::vector<std::string>& args, int timeoutSeconds = 20);

}  // namespace testsupport
