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
  wchar_t found[MAX_PATH] = {};
  const DWORD n = ::SearchPathW(nullptr, Utf16(name).c_str(), nullptr, MAX_PATH, found, nullptr);
  if (n == 0 || n >= MAX_PATH) return {};
  return Utf8(std::wstring(found, n));
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
    line += (i == 0 ? "" : " ") + QuoteArgument(args[i]);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION process{};
  std::wstring buffer = Utf16(line);
  // The program found by its full name; never a handle of Kestrum's.
  const std::wstring directory = Utf16(hostDirectory);
  if (!::CreateProcessW(Utf16(program).c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
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
  const DWORD attributes = ::GetFileAttributesW(Utf16(hostPath).c_str());
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
  wchar_t buffer[MAX_PATH] = {};
  const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, buffer);
  return Utf8(std::wstring(buffer, n < MAX_PATH ? n : 0));
}

}  // namespace system

}  // namespace platform
