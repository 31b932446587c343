#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>

#include "os/folders.h"
#include "text/text.h"
#include "text/wide_text.h"

namespace platform::system {

std::vector<SubFolder> SubFolders(const std::string& hostFolder, const std::string& prefix,
                                  std::size_t most) {
  std::vector<SubFolder> found;
  WIN32_FIND_DATAW data{};
  HANDLE search = ::FindFirstFileW(Utf16(hostFolder + "\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  std::size_t read = 0;
  do {
    if (++read > most) break;
    const std::string name = Utf8(data.cFileName);
    if (name == "." || name == ".." || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        !text::StartsWith(name, prefix)) {
      continue;
    }
    const std::string path = hostFolder + "\\" + name;
    found.push_back({path, FolderIdentity(path)});
  } while (::FindNextFileW(search, &data));
  ::FindClose(search);
  return found;
}

std::vector<std::string> FilesEndingIn(const std::string& hostFolder, const std::string& suffix,
                                       std::size_t most) {
  std::vector<std::string> found;
  WIN32_FIND_DATAW data{};
  HANDLE search = ::FindFirstFileW(Utf16(hostFolder + "\\*" + suffix).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  std::size_t read = 0;
  do {
    if (++read > most) break;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      found.push_back(hostFolder + "\\" + Utf8(data.cFileName));
  } while (::FindNextFileW(search, &data));
  ::FindClose(search);
  return found;
}

std::string ReadListFile(const std::string& hostPath, std::size_t limit) {
  HANDLE file = ::CreateFileW(Utf16(hostPath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char chunk[16384];
  DWORD n = 0;
  while (text.size() < limit && ::ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) {
    text.append(chunk, n);
  }
  ::CloseHandle(file);
  if (text.size() > limit) text.resize(limit);
  return text;
}

bool HoldsAnyOf(const std::string& hostFolder, const std::vector<std::string>& names,
                std::size_t most) {
  WIN32_FIND_DATAW data{};
  HANDLE search = ::FindFirstFileW(Utf16(hostFolder + "\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  std::size_t read = 0;
  do {
    if (++read > most) break;
    const std::string name = Utf8(data.cFileName);
    for (const auto& wanted : names) found = found || text::EqualsNoCase(name, wanted);
  } while (!found && ::FindNextFileW(search, &data));
  ::FindClose(search);
  return found;
}

bool CanList(const std::string& hostFolder) {
  WIN32_FIND_DATAW data{};
  HANDLE search = ::FindFirstFileW(Utf16(hostFolder + "\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  return true;
}

std::string FolderIdentity(const std::string& hostFolder) {
  const HANDLE handle = ::CreateFileW(Utf16(hostFolder).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION info{};
  std::string identity;
  if (::GetFileInformationByHandle(handle, &info) &&
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    identity = std::to_string(info.dwVolumeSerialNumber) + ":" +
               std::to_string((static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                              info.nFileIndexLow);
  }
  ::CloseHandle(handle);
  return identity;
}

long long ModifiedTime(const std::string& hostPath) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(Utf16(hostPath).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return 0;
  }
  const unsigned long long ticks =
      (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
      data.ftLastWriteTime.dwLowDateTime;
  // From 100-nanosecond steps since 1601.
  return static_cast<long long>(ticks / 10000000ULL) - 11644473600LL;
}

namespace {

// A text value of a key, or empty.
std::string TextValue(HKEY root, const std::string& key, const std::string& name, REGSAM view) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, Utf16(key).c_str(), 0, KEY_QUERY_VALUE | view, &opened) !=
      ERROR_SUCCESS) {
    return {};
  }
  wchar_t data[MAX_PATH * 4] = {};
  DWORD size = sizeof data - sizeof data[0];
  DWORD type = 0;
  std::string value;
  if (::RegQueryValueExW(opened, Utf16(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data),
                         &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
    data[size / sizeof data[0]] = L'\0';
    value = Utf8(data);
  }
  ::RegCloseKey(opened);
  return value;
}

}  // namespace

std::vector<std::string> MachineValues(const std::string& key, const std::string& name) {
  std::vector<std::string> values;
  for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    std::string value = TextValue(HKEY_LOCAL_MACHINE, key, name, view);
    // Both views are one on 32-bit Windows.
    if (!value.empty() && std::find(values.begin(), values.end(), value) == values.end())
      values.push_back(std::move(value));
  }
  return values;
}

std::vector<std::string> UserValues(const std::string& key, const std::string& name) {
  std::string value = TextValue(HKEY_CURRENT_USER, key, name, 0);
  if (value.empty()) return {};
  return {std::move(value)};
}

std::string KestrumDataFolder() {
  const DWORD n = ::GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
  if (n == 0) return {};
  std::wstring base(n, L'\0');
  const DWORD got = ::GetEnvironmentVariableW(L"APPDATA", base.data(), n);
  if (got == 0 || got >= n) return {};
  base.resize(got);
  return Utf8(base) + "\\Kestrum";
}

bool MakeFolderWith(const std::string& hostFolder, const std::string& emptyFile) {
  if (hostFolder.size() < 3) return false;
  for (std::size_t at = hostFolder.find_first_of("\\/", 3);;
       at = hostFolder.find_first_of("\\/", at + 1)) {
    const std::string upTo = hostFolder.substr(0, at);
    if (!::CreateDirectoryW(Utf16(upTo).c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS) {
      return false;
    }
    if (at == std::string::npos) break;
  }
  const DWORD attributes = ::GetFileAttributesW(Utf16(hostFolder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return false;
  }
  if (emptyFile.empty()) return true;
  const HANDLE file = ::CreateFileW(Utf16(hostFolder + "\\" + emptyFile).c_str(), GENERIC_WRITE, 0,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  return true;
}

}  // namespace platform::system
