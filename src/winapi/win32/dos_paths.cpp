// Windows' own paths: the real API. Kestrum's texts are UTF-8, and cross to
// the W functions' UTF-16 here, exactly.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// windows.h names this one as a macro; ours is a plain function.
#undef SetCurrentDirectory

#include <cstring>
#include <string>
#include <vector>

#include "winapi/dos_paths.h"
#include "text/text.h"
#include "text/wide_text.h"

namespace platform {

namespace {

// Empty until one is recorded: then the folder of the module itself.
std::string& RecordedFolder() {
  static std::string dir;
  return dir;
}

}  // namespace

void RecordProgramFolder(const HostPath& folder) {
  RecordedFolder() = folder.text;
}

void RecordStartupPath(const char*) {
  // GetModuleFileName already names the file that was started.
}

std::string ProgramFolder() {
  return ProgramDirectory();
}

std::string InFolder(const std::string& hostFolder, const std::string& name) {
  if (hostFolder.empty() || hostFolder.back() == '\\' || hostFolder.back() == '/')
    return hostFolder + name;
  return hostFolder + "\\" + name;
}

std::size_t LastSeparator(const std::string& path) {
  return path.find_last_of("\\/");
}

std::string ProgramDirectory() {
  std::string dir = RecordedFolder();
  if (dir.empty()) {
    // Its own name, whole: a best-fit form of it may be another folder.
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD n = 0;
    while ((n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) ==
               buffer.size() &&
           buffer.size() < 32768) {
      buffer.resize(buffer.size() * 2);
    }
    dir = Utf8(buffer.substr(0, n));
    const auto slash = dir.find_last_of('\\');
    if (slash != std::string::npos) dir.resize(slash);
  }
  dir = HostToDos(HostPath{dir}).text;
  while (dir.size() > 2 && dir.back() == '\\') dir.pop_back();
  return dir;
}

// Windows paths are DOS paths already.
DosPath HostToDos(const HostPath& hostPath) {
  std::string path = hostPath.text;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return DosPath{path};
}

HostPath FromUser(const std::string& path) {
  return HostPath{path};
}

DosPath DosNameIn(const HostPath& folder, const std::string& dosName) {
  return DosPath{InFolder(folder.text, dosName)};
}

HostPath DosToHost(const DosPath& dosPath) {
  return HostPath{dosPath.text};
}

std::uint32_t GetShortPathNameA(const std::string& longPath, char* buffer,
                                std::uint32_t bufferLength) {
  std::vector<wchar_t> shortWide(bufferLength > 0 ? bufferLength : 1, L'\0');
  const DWORD n = ::GetShortPathNameW(Utf16(longPath).c_str(), shortWide.data(), bufferLength);
  if (n == 0 || n >= bufferLength) return n;
  const std::string utf8 = Utf8(std::wstring(shortWide.data(), n));
  if (buffer == nullptr || utf8.size() + 1 > bufferLength) {
    return static_cast<std::uint32_t>(utf8.size() + 1);
  }
  std::memcpy(buffer, utf8.c_str(), utf8.size() + 1);
  return static_cast<std::uint32_t>(utf8.size());
}

std::string ShortNameOf(const std::string& path) {
  char buffer[MAX_PATH * 2] = {};
  const std::uint32_t n = GetShortPathNameA(path, buffer, sizeof buffer);
  if (n == 0 || n >= sizeof buffer) return {};
  const std::string shortPath(buffer, n);
  return shortPath.substr(shortPath.find_last_of("\\/") + 1);
}

std::string FindNormalFile(const std::string& dosPath) {
  if (dosPath.empty() || dosPath.find_first_of("*?") != std::string::npos) return {};
  WIN32_FIND_DATAW data{};
  HANDLE search = ::FindFirstFileW(Utf16(dosPath).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::string found;
  do {
    constexpr DWORD kNotNormal =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if ((data.dwFileAttributes & kNotNormal) == 0) {
      found = Utf8(data.cFileName);
      break;
    }
  } while (::FindNextFileW(search, &data));
  ::FindClose(search);
  return found;
}

bool SetCurrentDirectory(const std::string& dosPath) {
  return ::SetCurrentDirectoryW(Utf16(dosPath).c_str()) != 0;
}

std::string CurrentDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, buffer);
  return Utf8(std::wstring(buffer, n < MAX_PATH ? n : 0));
}

DosFile LocateDosFile(const DosPath& dosPath) {
  return LocateFile(HostPath{dosPath.text});
}

DosFile LocateFile(const HostPath& hostPath) {
  const std::string& dosPath = hostPath.text;
  DosFile file;
  file.hostPath = dosPath;
  const auto slash = dosPath.find_last_of("\\/");
  file.name = slash == std::string::npos ? dosPath : dosPath.substr(slash + 1);
  const std::wstring wide = Utf16(dosPath);
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
  if (file.kind == FileKind::kFile) {
    const HANDLE reading = ::CreateFileW(wide.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, 0, nullptr);
    file.readable = reading != INVALID_HANDLE_VALUE;
    if (file.readable) ::CloseHandle(reading);
  }
  const HANDLE handle =
      ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(handle, &info)) {
      file.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
      file.identity = std::to_string(info.dwVolumeSerialNumber) + ":" +
                      std::to_string((static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                                     info.nFileIndexLow);
    }
    ::CloseHandle(handle);
  }
  return file;
}

// Windows' own paths are DOS paths already.
bool NamedByDosPath(const HostPath&) {
  return true;
}

}  // namespace platform
