// The drives of a DOS view on Windows.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
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
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD n = ::GetShortPathNameW(Utf16(folder).c_str(), shortPath, MAX_PATH);
    const std::string path = Utf8(std::wstring(shortPath, n > 0 && n < MAX_PATH ? n : 0));
    // DOSBox's mount command gets plain ASCII alone.
    const bool plain = std::all_of(path.begin(), path.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (path.empty() || !plain || path.find_first_of(" \"<>|%;,=") != std::string::npos) {
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

bool IsLink(DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Runs whose program has ended: Windows does not tell Kestrum, so each
// start tidies up after the ones before it. Only what a run makes is
// taken, and nothing through a link or a junction: one planted there would
// lead into the user's own folders.
void RemoveEndedRuns(const std::wstring& base) {
  WIN32_FIND_DATAW data{};
  HANDLE search = ::FindFirstFileW((base + L"\\run-*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || IsLink(data.dwFileAttributes)) {
      continue;
    }
    const std::wstring folder = base + L"\\" + data.cFileName;
    HANDLE note = ::CreateFileW((folder + L"\\task").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    DWORD task = 0;
    if (note != INVALID_HANDLE_VALUE) {
      char digits[16] = {};
      DWORD n = 0;
      if (::ReadFile(note, digits, sizeof digits - 1, &n, nullptr))
        task = std::strtoul(digits, nullptr, 10);
      ::CloseHandle(note);
    }
    if (task != 0 && TaskRuns(task)) continue;
    WIN32_FIND_DATAW inner{};
    HANDLE files = ::FindFirstFileW((folder + L"\\*").c_str(), &inner);
    if (files != INVALID_HANDLE_VALUE) {
      do {
        // A file's own name goes (a link's, not what it leads to); a folder
        // or a junction stays, and so does the run's folder then.
        if ((inner.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
          ::DeleteFileW((folder + L"\\" + inner.cFileName).c_str());
      } while (::FindNextFileW(files, &inner));
      ::FindClose(files);
    }
    ::RemoveDirectoryW(folder.c_str());
  } while (::FindNextFileW(search, &data));
  ::FindClose(search);
}

// Which file a handle holds, as LocateDosFile names it.
std::string IdentityOf(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info)) return {};
  return std::to_string(info.dwVolumeSerialNumber) + ":" +
         std::to_string((static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                        info.nFileIndexLow);
}

enum class Placed { kDone, kChanged, kFailed };

// The chosen file itself at staged: a hard link where it leads to the file
// that was checked, else a copy read from that very file.
Placed PlaceFile(const dosview::Drive& file, const std::wstring& staged) {
  const std::wstring sourcePath = Utf16(file.hostFile);
  HANDLE source =
      ::CreateFileW(sourcePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (source == INVALID_HANDLE_VALUE) {
    return ::GetLastError() == ERROR_FILE_NOT_FOUND ? Placed::kChanged : Placed::kFailed;
  }
  if (IdentityOf(source) != file.identity) {
    ::CloseHandle(source);
    return Placed::kChanged;
  }
  if (::CreateHardLinkW(staged.c_str(), sourcePath.c_str(), nullptr)) {
    HANDLE link =
        ::CreateFileW(staged.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    const bool same = link != INVALID_HANDLE_VALUE && IdentityOf(link) == file.identity;
    if (link != INVALID_HANDLE_VALUE) ::CloseHandle(link);
    if (same) {
      ::CloseHandle(source);
      return Placed::kDone;
    }
    ::DeleteFileW(staged.c_str());
  }
  HANDLE copy = ::CreateFileW(staged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  bool copied = copy != INVALID_HANDLE_VALUE;
  std::vector<char> buffer(std::size_t{1} << 16);
  DWORD n = 0;
  while (copied &&
         ::ReadFile(source, buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr) &&
         n > 0) {
    DWORD written = 0;
    copied = ::WriteFile(copy, buffer.data(), n, &written, nullptr) && written == n;
  }
  ::CloseHandle(source);
  if (copy != INVALID_HANDLE_VALUE) ::CloseHandle(copy);
  if (!copied) ::DeleteFileW(staged.c_str());
  return copied ? Placed::kDone : Placed::kFailed;
}

}  // namespace

bool LinksFolders() {
  // Windows lets only some users make links.
  return false;
}

Mounted StageRun(const dosview::Drive* given, const std::string&) {
  Mounted mounted;
  const std::wstring base = StagingBase();
  ::CreateDirectoryW(base.c_str(), nullptr);
  // Kestrum's own folder, never a link or a junction that leads elsewhere.
  const DWORD attributes =
      base.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(base.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      IsLink(attributes)) {
    mounted.failure.kind = StartFailure::Kind::kDrivesNotMade;
    mounted.failure.folder = Utf8(base);
    return mounted;
  }
  RemoveEndedRuns(base);
  std::wstring folder;
  for (int attempt = 0; attempt < 100 && folder.empty(); ++attempt) {
    const std::wstring candidate = base + L"\\run-" + std::to_wstring(::GetCurrentProcessId()) +
                                   L"-" + std::to_wstring(::GetTickCount() + attempt);
    if (::CreateDirectoryW(candidate.c_str(), nullptr)) folder = candidate;
  }
  if (folder.empty()) {
    mounted.failure.kind = StartFailure::Kind::kDrivesNotMade;
    mounted.failure.folder = Utf8(base);
    return mounted;
  }
  if (given == nullptr) {
    mounted.paths.push_back(Utf8(folder));
    mounted.release = [folder] { RemoveStaged(folder, {}); };
    return mounted;
  }
  const dosview::Drive& file = *given;
  const std::wstring name = Utf16(file.dosName);
  const Placed placed = PlaceFile(file, folder + L"\\" + name);
  if (placed != Placed::kDone) {
    RemoveStaged(folder, name);
    if (placed == Placed::kChanged) {
      mounted.failure.kind = StartFailure::Kind::kChangedWhileMade;
      mounted.failure.fileName = file.hostFile.substr(file.hostFile.find_last_of("\\/") + 1);
    } else {
      mounted.failure.kind = StartFailure::Kind::kDrivesNotMade;
      mounted.failure.folder = Utf8(folder);
    }
    return mounted;
  }
  mounted.paths = {Utf8(folder), Utf8(folder)};
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
