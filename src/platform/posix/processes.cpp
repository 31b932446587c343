#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/dosbox.h"
#include "platform/platform.h"
#include "platform/posix/path_search.h"
#include "platform/text.h"

extern char** environ;

namespace platform {

namespace posix {

std::string FindOnPath(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return {};
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  const std::string folders = path;
  std::size_t start = 0;
  while (start <= folders.size()) {
    auto end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/" + name;
    struct stat st {};
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    start = end + 1;
  }
  return {};
}

}  // namespace posix

namespace {

using posix::FindOnPath;

// Starts a program with its arguments as they are: no shell ever sees them.
// Returns the process id, or 0.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args,
            const std::string& hostDirectory, int* error) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!hostDirectory.empty()) posix_spawn_file_actions_addchdir_np(&actions, hostDirectory.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // The started program gets a session of its own, so that closing Kestrum
  // (or its terminal) does not take the game with it.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

  pid_t pid = 0;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    if (error != nullptr) *error = rc;
    return 0;
  }
  // Kestrum never waits for what it starts; a small thread collects the exit
  // status so that no zombie is left behind.
  std::thread([pid] {
    int status = 0;
    ::waitpid(pid, &status, 0);
  }).detach();
  return pid;
}

}  // namespace

StartResult StartProcess(const std::string& commandLine, int showCommand) {
  StartResult result;
  const auto words = text::SplitWords(commandLine);
  if (words.empty()) {
    result.error = "There is nothing to start.";
    return result;
  }
  int error = 0;
  const std::string direct = FindOnPath(words[0]);
  if (!direct.empty()) {
    result.taskId = Spawn(direct, words, {}, &error);
    if (result.taskId == 0) result.error = words[0] + " could not be started.";
    return result;
  }

  const std::string dosbox = FindOnPath("dosbox");
  if (dosbox.empty()) {
    result.error =
        dosbox::NotInstalledMessage(words[0], " (on Debian or Ubuntu: sudo apt install dosbox)");
    return result;
  }
  const auto folder = dosbox::ShortCurrentDirectory();
  if (!folder) {
    result.error = "The current folder has no DOS name, so DOSBox cannot run " + words[0] + ".";
    return result;
  }
  std::vector<std::string> args{"dosbox"};
  for (auto& a : dosbox::Arguments("/", *folder, commandLine, showCommand == kSwShowMaximized)) {
    args.push_back(std::move(a));
  }
  result.taskId = Spawn(dosbox, args, {}, &error);
  if (result.taskId == 0) result.error = "DOSBox could not be started.";
  return result;
}

void ShellOpen(const std::string& target, const std::string& directory) {
  if (target.empty()) return;
  // A URL has a scheme of two or more letters; anything else is a DOS path.
  const auto colon = target.find(':');
  bool isUrl = colon != std::string::npos && colon >= 2;
  for (std::size_t i = 0; isUrl && i < colon; ++i) {
    const char c = target[i];
    isUrl = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
            (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
  }
  const std::string opener = FindOnPath("xdg-open");
  if (opener.empty()) return;
  const std::string argument = isUrl ? target : DosToHost(target);
  Spawn(opener, {"xdg-open", argument}, DosToHost(directory), nullptr);
}

}  // namespace platform
