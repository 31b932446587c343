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

#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/win32/wide_text.h"

namespace platform {

std::wstring Wide(const std::string& s, unsigned codePage) {
  if (s.empty()) return {};
  const int n =
      ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& s, unsigned codePage) {
  if (s.empty()) return {};
  const int n = ::WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                        nullptr);
  return out;
}

namespace {

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

DosFile LocateDosFile(const std::string& dosPath) {
  DosFile file;
  file.hostPath = dosPath;
  const auto slash = dosPath.find_last_of("\\/");
  file.name = slash == std::string::npos ? dosPath : dosPath.substr(slash + 1);
  const std::wstring wide = Wide(ToAnsi(dosPath), CP_ACP);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (::GetLastError() == ERROR_ACCESS_DENIED) file.kind = FileKind::kDenied;
    return file;
  }
  file.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::kOther : FileKind::kFile;
  // Its long name, which is also what tells two paths to one file apart.
  std::wstring longPath(MAX_PATH * 4, L'\0');
  const DWORD n =
      ::GetLongPathNameW(wide.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
  if (n > 0 && n < longPath.size()) {
    longPath.resize(n);
    const std::string utf8 = Narrow(longPath, CP_UTF8);
    file.hostPath = utf8;
    const auto longSlash = utf8.find_last_of("\\/");
    file.name = longSlash == std::string::npos ? utf8 : utf8.substr(longSlash + 1);
    file.identity = text::ToUpper(utf8);
  } else {
    file.identity = text::ToUpper(dosPath);
  }
  // The file itself, not its name: a file put in the place of the chosen
  // one since has the same name but another index.
  const HANDLE handle =
      ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(handle, &info)) {
      file.identity = std::to_string(info.dwVolumeSerialNumber) + ":" +
                      std::to_string((static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                                     info.nFileIndexLow);
    }
    ::CloseHandle(handle);
  }
  return file;
}

namespace system {

std::string FindProgram(const std::string& name) {
  return SearchProgram(name);
}

namespace {
bool IsFile(const std::string& ansiPath) {
  const DWORD attributes = ::GetFileAttributesA(ansiPath.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The Program Files folders' "DOSBox-0.74..." folders, newest name last.
std::string InProgramFiles() {
  std::string found;
  for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
    char folder[MAX_PATH] = {};
    const DWORD n = ::GetEnvironmentVariableA(variable, folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) continue;
    WIN32_FIND_DATAA data{};
    HANDLE search = ::FindFirstFileA((std::string(folder) + "\\DOSBox-0.74*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      const std::string candidate = std::string(folder) + "\\" + data.cFileName + "\\DOSBox.exe";
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsFile(candidate))
        found = candidate;
    } while (::FindNextFileA(search, &data));
    ::FindClose(search);
  }
  return found;
}

// Where DOSBox's installer registers it.
std::string InAppPaths() {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    char path[MAX_PATH] = {};
    DWORD size = sizeof path;
    if (::RegGetValueA(root, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\DOSBox.exe",
                       nullptr, RRF_RT_REG_SZ, nullptr, path, &size) == ERROR_SUCCESS &&
        IsFile(path)) {
      return path;
    }
  }
  return {};
}
}  // namespace

std::string FindDosBox() {
  // On PATH; in the game's folder, or a DOSBOX folder in it, as the stores
  // that sell the DOS game ship it; installed under Program Files; or
  // registered by its installer.
  if (std::string found = SearchProgram("dosbox.exe"); !found.empty()) return found;
  const std::string game = ToAnsi(ProgramDirectory());
  for (const std::string& candidate : {game + "\\DOSBox.exe", game + "\\DOSBOX\\DOSBox.exe"}) {
    if (IsFile(candidate)) return candidate;
  }
  if (std::string found = InProgramFiles(); !found.empty()) return found;
  return InAppPaths();
}

std::string HowToInstallDosBox() {
  return " (from www.dosbox.com). Kestrum looked on PATH, in the game's folder and its DOSBOX "
         "folder, in the Program Files folders (DOSBox-0.74) and in the App Paths of the "
         "registry";
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
                   int showCommand, std::function<void()>) {
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
  if (!::CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
    return 0;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return process.dwProcessId;
}

std::string CurrentHostFolder() {
  return CurrentDirectory();
}

Mounted MountDrives(const std::vector<dosview::Drive>& drives) {
  // Windows has no links for everyone to make; a folder's short path keeps
  // every name DOSBox's shell would read out of the mount command.
  Mounted mounted;
  for (const auto& drive : drives) {
    std::string folder = drive.hostFolder;
    if (!drive.hostFile.empty())
      folder = drive.hostFile.substr(0, drive.hostFile.find_last_of("\\/"));
    char shortPath[MAX_PATH] = {};
    const DWORD n = ::GetShortPathNameA(ToAnsi(folder).c_str(), shortPath, MAX_PATH);
    const std::string path(shortPath, n > 0 && n < MAX_PATH ? n : 0);
    if (path.empty() || path.find_first_of(" \"<>|%;,=") != std::string::npos) {
      mounted.paths.clear();
      mounted.problem = "DOSBox cannot reach the folder " + folder + ": it has no short name.";
      return mounted;
    }
    mounted.paths.push_back(path);
  }
  return mounted;
}

}  // namespace system

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

// kestrum.exe lives in the game's folder itself: there is no installed
// program to link there.
bool CanMakeGameFolderHome() {
  return false;
}

// Windows' own paths are DOS paths already.
bool NamedByDosPath(const std::string&) {
  return true;
}
GameFolderHome MakeGameFolderHome(const std::string&) {
  return {};
}
bool StartFromGameFolder(const std::string&) {
  return false;
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

std::string SettingsStoreName() {
  return "the registry";
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
