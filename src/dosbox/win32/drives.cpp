// The drives of a DOS view on Windows.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "dosbox/drives.h"
#include "os/processes.h"
#include "winapi/dos_paths.h"
#include "text/wide_text.h"

namespace platform {

namespace system {

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
      mounted.failure.kind = StartFailure::Kind::kNoShortFolderName;
      mounted.failure.folder = folder;
      return mounted;
    }
    mounted.paths.push_back(path);
  }
  return mounted;
}

}  // namespace system

}  // namespace platform

namespace platform::system {

namespace {

std::wstring StagingBase() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
  if (n == 0 || n > MAX_PATH) return {};
  return std::wstring(temp, n) + L"kestrum";
}

// Takes a staged run away: its file, its task note, then the folder.
void RemoveStaged(const std::wstring& folder, const std::wstring& name) {
  if (!name.empty()) ::DeleteFileW((folder + L"\\" + name).c_str());
  ::DeleteFileW((folder + L"\\task").c_str());
  ::RemoveDirectoryW(folder.c_str());
}

// Runs whose program has ended: Windows does not tell Kestrum, so each
// start tidies up after the ones before it.
void RemoveEndedRuns(const std::wstring& base) {
  WIN32_FIND_DATAW data{};
  HANDLE search = ::FindFirstFileW((base + L"\\run-*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring folder = base + L"\\" + data.cFileName;
    HANDLE note = ::CreateFileW((folder + L"\\task").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD task = 0;
    if (note != INVALID_HANDLE_VALUE) {
      char digits[16] = {};
      DWORD n = 0;
      if (::ReadFile(note, digits, sizeof digits - 1, &n, nullptr)) task = std::strtoul(digits, nullptr, 10);
      ::CloseHandle(note);
    }
    if (task != 0 && TaskRuns(task)) continue;
    WIN32_FIND_DATAW inner{};
    HANDLE files = ::FindFirstFileW((folder + L"\\*").c_str(), &inner);
    if (files != INVALID_HANDLE_VALUE) {
      do {
        if ((inner.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
          ::DeleteFileW((folder + L"\\" + inner.cFileName).c_str());
      } while (::FindNextFileW(files, &inner));
      ::FindClose(files);
    }
    ::RemoveDirectoryW(folder.c_str());
  } while (::FindNextFileW(search, &data));
  ::FindClose(search);
}

}  // namespace

Mounted StageFile(const dosview::Drive& file) {
  Mounted mounted;
  const std::wstring base = StagingBase();
  ::CreateDirectoryW(base.c_str(), nullptr);
  RemoveEndedRuns(base);
  std::wstring folder;
  for (int attempt = 0; attempt < 100 && folder.empty(); ++attempt) {
    const std::wstring candidate = base + L"\\run-" + std::to_wstring(::GetCurrentProcessId()) +
                                   L"-" + std::to_wstring(::GetTickCount() + attempt);
    if (::CreateDirectoryW(candidate.c_str(), nullptr)) folder = candidate;
  }
  if (base.empty() || folder.empty()) {
    mounted.failure.kind = StartFailure::Kind::kDrivesNotMade;
    mounted.failure.folder = Narrow(base, CP_UTF8);
    return mounted;
  }
  const std::wstring name = Wide(file.dosName, CP_UTF8);
  const std::wstring staged = folder + L"\\" + name;
  const std::wstring source = Wide(file.hostFile, CP_UTF8);
  if (!::CreateHardLinkW(staged.c_str(), source.c_str(), nullptr) &&
      !::CopyFileW(source.c_str(), staged.c_str(), TRUE)) {
    RemoveStaged(folder, name);
    mounted.failure.kind = StartFailure::Kind::kDrivesNotMade;
    mounted.failure.folder = Narrow(folder, CP_UTF8);
    return mounted;
  }
  // A copy is another file; what counts is that it was made of the chosen one.
  if (LocateDosFile(file.hostFile).identity != file.identity) {
    RemoveStaged(folder, name);
    mounted.failure.kind = StartFailure::Kind::kChangedWhileMade;
    mounted.failure.fileName = file.hostFile.substr(file.hostFile.find_last_of("\\/") + 1);
    return mounted;
  }
  mounted.paths.push_back(Narrow(folder, CP_UTF8));
  mounted.started = [folder](std::int64_t task) {
    HANDLE note = ::CreateFileW((folder + L"\\task").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr);
    if (note == INVALID_HANDLE_VALUE) return;
    const std::string digits = std::to_string(task);
    DWORD n = 0;
    ::WriteFile(note, digits.data(), static_cast<DWORD>(digits.size()), &n, nullptr);
    ::CloseHandle(note);
  };
  mounted.release = [folder, name] { RemoveStaged(folder, name); };
  return mounted;
}

}  // namespace platform::system
