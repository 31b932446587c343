// Where Windows users keep DOSBox.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>

#include "dosbox/dosbox_program.h"
#include "os/processes.h"
#include "winapi/dos_paths.h"
#include "text/wide_text.h"

namespace platform {

namespace system {

namespace {
bool IsFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Utf16(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The Program Files folders' "DOSBox-0.74..." folders, newest name last.
std::string InProgramFiles() {
  std::string found;
  for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
    wchar_t value[MAX_PATH] = {};
    const DWORD n = ::GetEnvironmentVariableW(Utf16(variable).c_str(), value, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) continue;
    const std::string folder = Utf8(std::wstring(value, n));
    WIN32_FIND_DATAW data{};
    HANDLE search = ::FindFirstFileW(Utf16(folder + "\\DOSBox-0.74*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      const std::string candidate = folder + "\\" + Utf8(data.cFileName) + "\\DOSBox.exe";
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsFile(candidate))
        found = candidate;
    } while (::FindNextFileW(search, &data));
    ::FindClose(search);
  }
  return found;
}

// Where DOSBox's installer registers it.
std::string InAppPaths() {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof path;
    if (::RegGetValueW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\DOSBox.exe",
                       nullptr, RRF_RT_REG_SZ, nullptr, path, &size) == ERROR_SUCCESS &&
        IsFile(Utf8(path))) {
      return Utf8(path);
    }
  }
  return {};
}
}  // namespace

DosBox FindDosBox() {
  // On PATH; in the game's folder, or a DOSBOX folder in it, as the stores
  // that sell the DOS game ship it; installed under Program Files; or
  // registered by its installer.
  if (std::string found = FindProgram("dosbox.exe"); !found.empty()) return {found, {}};
  const std::string game = ProgramDirectory();
  for (const std::string& candidate : {game + "\\DOSBox.exe", game + "\\DOSBOX\\DOSBox.exe"}) {
    if (IsFile(candidate)) return {candidate, {}};
  }
  if (std::string found = InProgramFiles(); !found.empty()) return {found, {}};
  return {InAppPaths(), {}};
}

}  // namespace system

}  // namespace platform
