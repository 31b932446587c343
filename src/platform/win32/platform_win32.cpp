// The platform on Windows: the real API. Kestrum's texts are UTF-8; the "A"
// functions take the ANSI code page, so every text crosses over here.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <shellapi.h>
// windows.h names this one as a macro; ours is a plain function.
#undef SetCurrentDirectory

#include <cstring>
#include <string>
#include <vector>

#include "platform/dosbox.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace platform {

namespace {

std::wstring Wide(const std::string& s, UINT codePage) {
  if (s.empty()) return {};
  const int n =
      ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& s, UINT codePage) {
  if (s.empty()) return {};
  const int n = ::WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                        nullptr);
  return out;
}

std::string ToAnsi(const std::string& utf8) {
  return Narrow(Wide(utf8, CP_UTF8), CP_ACP);
}
std::string FromAnsi(const std::string& ansi) {
  return Narrow(Wide(ansi, CP_ACP), CP_UTF8);
}

std::string& TestProgramDirectory() {
  static std::string dir;
  return dir;
}

HKEY ToHkey(HKey key) {
  if (key == kHkeyCurrentUser) return HKEY_CURRENT_USER;
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

HKey FromHkey(HKEY key) {
  return static_cast<HKey>(reinterpret_cast<ULONG_PTR>(key));
}

std::string SearchProgram(const std::string& name) {
  char found[MAX_PATH] = {};
  const DWORD n = ::SearchPathA(nullptr, ToAnsi(name).c_str(), nullptr, MAX_PATH, found, nullptr);
  if (n == 0 || n >= MAX_PATH) return {};
  return found;  // ANSI, handed straight back to the system
}

std::int64_t Create(const std::string& ansiCommandLine, int showCommand) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION process{};
  std::vector<char> line(ansiCommandLine.begin(), ansiCommandLine.end());
  line.push_back('\0');
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return 0;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return process.dwProcessId;
}

HANDLE& InstanceMutex() {
  static HANDLE mutex = nullptr;
  return mutex;
}

}  // namespace

void SetProgramDirectoryForTesting(const std::string& hostDirectory) {
  TestProgramDirectory() = hostDirectory;
}

void RecordStartupPath(const char*) {
  // GetModuleFileName already names the file that was started.
}

std::string ProgramDirectory() {
  std::string dir = TestProgramDirectory();
  if (dir.empty()) {
    char buffer[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    dir = FromAnsi(std::string(buffer, n));
    const auto slash = dir.find_last_of('\\');
    if (slash != std::string::npos) dir.resize(slash);
  }
  dir = HostToDos(dir);
  while (dir.size() > 2 && dir.back() == '\\') dir.pop_back();
  return dir;
}

// Windows paths are DOS paths already.
std::string HostToDos(const std::string& hostPath) {
  std::string path = hostPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string DosToHost(const std::string& dosPath) {
  return dosPath;
}

std::uint32_t GetShortPathNameA(const std::string& longPath, char* buffer,
                                std::uint32_t bufferLength) {
  const std::string ansi = ToAnsi(longPath);
  std::vector<char> shortAnsi(bufferLength > 0 ? bufferLength : 1, '\0');
  const DWORD n = ::GetShortPathNameA(ansi.c_str(), shortAnsi.data(), bufferLength);
  if (n == 0 || n >= bufferLength) return n;
  const std::string utf8 = FromAnsi(std::string(shortAnsi.data(), n));
  if (buffer == nullptr || utf8.size() + 1 > bufferLength) {
    return static_cast<std::uint32_t>(utf8.size() + 1);
  }
  std::memcpy(buffer, utf8.c_str(), utf8.size() + 1);
  return static_cast<std::uint32_t>(utf8.size());
}

std::string FindNormalFile(const std::string& dosPath) {
  if (dosPath.empty() || dosPath.find_first_of("*?") != std::string::npos) return {};
  WIN32_FIND_DATAA data{};
  HANDLE search = ::FindFirstFileA(ToAnsi(dosPath).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::string found;
  do {
    constexpr DWORD kNotNormal =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if ((data.dwFileAttributes & kNotNormal) == 0) {
      found = FromAnsi(data.cFileName);
      break;
    }
  } while (::FindNextFileA(search, &data));
  ::FindClose(search);
  return found;
}

bool SetCurrentDirectory(const std::string& dosPath) {
  return ::SetCurrentDirectoryA(ToAnsi(dosPath).c_str()) != 0;
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH] = {};
  const DWORD n = ::GetCurrentDirectoryA(MAX_PATH, buffer);
  return FromAnsi(std::string(buffer, n < MAX_PATH ? n : 0));
}

StartResult StartProcess(const std::string& commandLine, int showCommand) {
  StartResult result;
  const auto words = text::SplitWords(commandLine);
  if (words.empty()) {
    result.error = "There is nothing to start.";
    return result;
  }
  if (!SearchProgram(words[0]).empty()) {
    result.taskId = Create(ToAnsi(commandLine), showCommand);
    if (result.taskId == 0) result.error = words[0] + " could not be started.";
    return result;
  }
  // No command interpreter of DOS on this Windows: DOSBox runs the line.
  const std::string dosbox = SearchProgram("dosbox.exe");
  if (dosbox.empty()) {
    result.error = dosbox::NotInstalledMessage(words[0], "");
    return result;
  }
  if (commandLine.find('"') != std::string::npos) {
    result.error = "DOSBox cannot run a command line with quotation marks.";
    return result;
  }
  const auto folder = dosbox::ShortCurrentDirectory();
  if (!folder) {
    result.error = "The current folder has no DOS name, so DOSBox cannot run " + words[0] + ".";
    return result;
  }
  std::string line = "\"" + dosbox + "\"";
  for (const auto& a : dosbox::Arguments(folder->substr(0, 2) + "\\", *folder, commandLine,
                                         showCommand == kSwShowMaximized)) {
    line += a.starts_with("-") ? " " + a : " \"" + ToAnsi(a) + "\"";
  }
  result.taskId = Create(line, SW_SHOWNORMAL);
  if (result.taskId == 0) result.error = "DOSBox could not be started.";
  return result;
}

namespace {
struct TaskWindowSearch {
  DWORD process = 0;
  HWND found = nullptr;
};
BOOL CALLBACK FindTaskWindow(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<TaskWindowSearch*>(search);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  // The task's main window: a visible top-level window that no other owns.
  if (process == s->process && ::IsWindowVisible(window) &&
      ::GetWindow(window, GW_OWNER) == nullptr) {
    s->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

bool ActivateTaskWindow(std::int64_t taskId) {
  TaskWindowSearch search;
  search.process = static_cast<DWORD>(taskId);
  if (taskId <= 0) return false;
  ::EnumWindows(FindTaskWindow, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return false;
  if (::IsIconic(search.found)) ::ShowWindow(search.found, SW_RESTORE);
  return ::SetForegroundWindow(search.found) != 0;
}

void ShellOpen(const std::string& target, const std::string& directory) {
  ::ShellExecuteA(nullptr, "Open", ToAnsi(target).c_str(), "", ToAnsi(directory).c_str(),
                  SW_SHOWNORMAL);
}

std::uint32_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                       const std::string& defaultValue, char* buffer,
                                       std::uint32_t bufferSize, const std::string& fileName) {
  std::vector<char> ansi(bufferSize > 0 ? bufferSize : 1, '\0');
  const DWORD n = ::GetPrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(),
                                             ToAnsi(defaultValue).c_str(), ansi.data(), bufferSize,
                                             ToAnsi(fileName).c_str());
  return profile::CopyOut(FromAnsi(std::string(ansi.data(), n)), buffer, bufferSize);
}

std::int32_t RegCreateKeyExA(HKey root, const std::string& subKey, std::uint32_t options,
                             std::uint32_t samDesired, HKey* result, std::uint32_t* disposition) {
  HKEY key = nullptr;
  DWORD how = 0;
  const LONG rc = ::RegCreateKeyExA(ToHkey(root), ToAnsi(subKey).c_str(), 0, nullptr, options,
                                    samDesired, nullptr, &key, &how);
  if (rc == ERROR_SUCCESS) {
    if (result != nullptr) *result = FromHkey(key);
    if (disposition != nullptr) *disposition = how;
  }
  return rc;
}

std::int32_t RegOpenKeyExA(HKey root, const std::string& subKey, std::uint32_t options,
                           std::uint32_t samDesired, HKey* result) {
  HKEY key = nullptr;
  const LONG rc = ::RegOpenKeyExA(ToHkey(root), ToAnsi(subKey).c_str(), options, samDesired, &key);
  if (rc == ERROR_SUCCESS && result != nullptr) *result = FromHkey(key);
  return rc;
}

std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* dataSize) {
  DWORD t = 0;
  DWORD size = dataSize != nullptr ? *dataSize : 0;
  const LONG rc = ::RegQueryValueExA(ToHkey(key), ToAnsi(valueName).c_str(), nullptr, &t, data,
                                     dataSize != nullptr ? &size : nullptr);
  if (type != nullptr) *type = t;
  if (dataSize != nullptr) *dataSize = size;
  return rc;
}

std::int32_t RegSetValueExA(HKey key, const std::string& valueName, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t dataSize) {
  return ::RegSetValueExA(ToHkey(key), ToAnsi(valueName).c_str(), 0, type, data, dataSize);
}

std::int32_t RegCloseKey(HKey key) {
  return ::RegCloseKey(ToHkey(key));
}

bool AnotherInstanceRunning() {
  if (InstanceMutex() != nullptr) return false;
  char user[256] = {};
  DWORD size = sizeof user;
  if (!::GetUserNameA(user, &size)) user[0] = '\0';
  const std::string name = std::string("Local\\Kestrum-") + user;
  HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name.c_str());
  if (mutex == nullptr) return false;
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(mutex);
    return true;
  }
  InstanceMutex() = mutex;
  return false;
}

void ReleaseInstance() {
  if (InstanceMutex() != nullptr) {
    ::CloseHandle(InstanceMutex());
    InstanceMutex() = nullptr;
  }
}

}  // namespace platform
