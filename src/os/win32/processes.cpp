// Starting programs on Windows.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>
#include <vector>

#include "os/processes.h"
#include "text/wide_text.h"

namespace platform {

namespace system {

std::string FindProgram(const std::string& name) {
  char found[MAX_PATH] = {};
  const DWORD n = ::SearchPathA(nullptr, ToAnsi(name).c_str(), nullptr, MAX_PATH, found, nullptr);
  if (n == 0 || n >= MAX_PATH) return {};
  return found;  // ANSI, handed straight back to the system
}

namespace {
// One argument as the C run-time of the started program splits it again.
std::string QuoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, '\\');
  quoted.push_back('"');
  return quoted;
}
}  // namespace

std::int64_t Start(const std::string& program, const std::vector<std::string>& args,
                   int showCommand, std::function<void()>, const std::string& hostDirectory) {
  std::string line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    line += (i == 0 ? "" : " ") + QuoteArgument(i == 0 ? args[i] : ToAnsi(args[i]));
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION process{};
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  // The program found by its full name; never a handle of Kestrum's.
  const std::string directory = ToAnsi(hostDirectory);
  if (!::CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
    return 0;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return process.dwProcessId;
}

std::string FlatpakFor(const std::string&) {
  return {};
}

bool CanRun(const std::string& hostPath) {
  const DWORD attributes = ::GetFileAttributesA(ToAnsi(hostPath).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool TaskRuns(std::int64_t task) {
  const HANDLE process =
      ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(task));
  if (process == nullptr) return false;
  DWORD code = 0;
  const bool runs = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  ::CloseHandle(process);
  return runs;
}

std::string CurrentHostFolder() {
  char buffer[MAX_PATH] = {};
  const DWORD n = ::GetCurrentDirectoryA(MAX_PATH, buffer);
  return FromAnsi(std::string(buffer, n < MAX_PATH ? n : 0));
}

}  // namespace system

}  // namespace platform
