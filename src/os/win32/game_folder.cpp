// Kestrum made at home in a game's folder on Windows: a copy of kestrum.exe
// there (what a Windows user would have done by hand), and a shortcut to
// that copy in the user's Start menu.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "os/game_folder.h"
#include "os/win32/late_library.h"
#include "text/wide_text.h"

namespace platform {

namespace {

// What Windows says of an error, as one sentence without its full stop.
std::string SystemText(DWORD code) {
  wchar_t text[512] = {};
  const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, text, 512, nullptr);
  std::wstring said(text, n);
  while (!said.empty() && (said.back() == L'.' || said.back() == L'\r' || said.back() == L'\n' ||
                           said.back() == L' ')) {
    said.pop_back();
  }
  return said.empty() ? "error " + std::to_string(code) : Narrow(said, CP_UTF8);
}

std::wstring SelfPath() {
  std::wstring self(32768, L'\0');
  const DWORD n = ::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
  self.resize(n < self.size() ? n : 0);
  return self;
}

// Whether two files hold the same bytes.
bool SameBytes(const std::wstring& a, const std::wstring& b) {
  const auto open = [](const std::wstring& path) {
    return ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  };
  HANDLE x = open(a), y = open(b);
  bool same = x != INVALID_HANDLE_VALUE && y != INVALID_HANDLE_VALUE;
  std::vector<char> one(65536), other(65536);
  while (same) {
    DWORD n = 0, m = 0;
    if (!::ReadFile(x, one.data(), 65536, &n, nullptr) ||
        !::ReadFile(y, other.data(), 65536, &m, nullptr) || n != m) {
      same = false;
    } else if (n == 0) {
      break;
    } else {
      same = std::equal(one.begin(), one.begin() + n, other.begin());
    }
  }
  if (x != INVALID_HANDLE_VALUE) ::CloseHandle(x);
  if (y != INVALID_HANDLE_VALUE) ::CloseHandle(y);
  return same;
}

// Whether a shortcut may be saved at path for target: nothing is there, or
// a shortcut that already leads to it.
bool LeadsTo(const std::wstring& path, const std::wstring& target) {
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  bool same = false;
  if (SUCCEEDED(::CoCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_PPV_ARGS(&file))) &&
      SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
    // By the item it names: the path kept beside it may be a best fit.
    const auto pathOf = system::LateFunction<decltype(::SHGetPathFromIDListW)>(
        L"shell32.dll", "SHGetPathFromIDListW");
    wchar_t there[MAX_PATH] = {};
    LPITEMIDLIST item = nullptr;
    if (pathOf != nullptr && SUCCEEDED(link->GetIDList(&item)) && item != nullptr) {
      same = pathOf(item, there) &&
             ::CompareStringOrdinal(there, -1, target.c_str(), -1, TRUE) == CSTR_EQUAL;
      ::CoTaskMemFree(item);
    }
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  return same;
}

// The shortcut goes into a folder of Kestrum's own in the user's Start
// menu: a shortcut the stores made for the game is never replaced.
// Arguments as CommandLineToArgvW splits them again.
std::wstring QuotedArguments(const std::vector<std::string>& arguments) {
  std::wstring line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += L' ';
    line += L'"';
    std::size_t slashes = 0;
    for (const wchar_t c : Wide(argument, CP_UTF8)) {
      if (c == L'\\') {
        ++slashes;
        continue;
      }
      // Backslashes count only before a quote, which is then escaped too.
      line.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
      line += c;
      slashes = 0;
    }
    line.append(slashes * 2, L'\\');
    line += L'"';
  }
  return line;
}

GameFolderHome::Problem MakeShortcut(const std::string& folder, const MenuEntryTexts& texts,
                                     GameFolderHome& home,
                                     const std::vector<std::string>& arguments = {}) {
  using Problem = GameFolderHome::Problem;
  const auto folderPath =
      system::LateFunction<decltype(::SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
  wchar_t programs[MAX_PATH] = {};
  if (folderPath == nullptr ||
      folderPath(nullptr, CSIDL_PROGRAMS | CSIDL_FLAG_CREATE, nullptr, 0, programs) != S_OK) {
    return Problem::kNoMenuFolder;
  }
  const std::wstring menu = std::wstring(programs) + L"\\Kestrum";
  home.menuFolder = Narrow(menu, CP_UTF8);
  if (!::CreateDirectoryW(menu.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    home.reason = SystemText(::GetLastError());
    return Problem::kEntryNotWritten;
  }
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  // The ids as the headers declare them: the uuid library would bring in
  // every id Windows has.
  HRESULT done =
      ::CoCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link));
  if (SUCCEEDED(done)) {
    link->SetPath(Wide(home.link, CP_UTF8).c_str());
    if (!arguments.empty()) link->SetArguments(QuotedArguments(arguments).c_str());
    link->SetWorkingDirectory(Wide(folder, CP_UTF8).c_str());
    link->SetDescription(Wide(texts.comment, CP_UTF8).c_str());
    done = link->QueryInterface(IID_PPV_ARGS(&file));
  }
  if (SUCCEEDED(done)) {
    // Two game folders of one name each keep a shortcut of their own: a
    // name already taken by another folder's gets a number.
    const std::wstring name = menu + L"\\" + Wide(texts.name, CP_UTF8);
    std::wstring path = name + L".lnk";
    for (int n = 2; n < 100 && !LeadsTo(path, Wide(home.link, CP_UTF8)); ++n) {
      path = name + L" (" + std::to_wstring(n) + L").lnk";
    }
    done = file->Save(path.c_str(), TRUE);
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  if (SUCCEEDED(com)) ::CoUninitialize();
  if (FAILED(done)) {
    home.reason = SystemText(HRESULT_FACILITY(done) == FACILITY_WIN32 ? HRESULT_CODE(done)
                                                                      : static_cast<DWORD>(done));
    return Problem::kEntryNotWritten;
  }
  return Problem::kNone;
}

}  // namespace

bool CanMakeGameFolderHome() {
  return true;
}

GameFolderHome MakeGameFolderHome(const std::string& folder, const MenuEntryTexts& texts) {
  using Problem = GameFolderHome::Problem;
  GameFolderHome home;
  home.copied = true;
  home.link = folder + "\\kestrum.exe";
  const std::wstring self = SelfPath();
  if (self.empty()) {
    home.problem = Problem::kSelfUnknown;
    return home;
  }
  const std::wstring copy = Wide(home.link, CP_UTF8);
  if (::GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES) {
    // A kestrum.exe that is not this one (an older Kestrum, a stranger's
    // file) is the user's to replace, not Kestrum's.
    if (!SameBytes(self, copy)) {
      home.problem = Problem::kStrangerThere;
      return home;
    }
  } else if (!::CopyFileW(self.c_str(), copy.c_str(), TRUE)) {
    home.problem = Problem::kLinkNotMade;
    home.reason = SystemText(::GetLastError());
    return home;
  }
  home.linked = true;
  home.problem = MakeShortcut(folder, texts, home);
  return home;
}

GameFolderHome AddPresetToMenu(const std::string& folder, const std::string& preset,
                               const MenuEntryTexts& texts) {
  GameFolderHome home;
  home.copied = true;
  home.link = folder + "\\kestrum.exe";
  const std::wstring self = SelfPath();
  if (self.empty() || !SameBytes(self, Wide(home.link, CP_UTF8))) {
    home.problem = GameFolderHome::Problem::kLinkNotMade;
    home.reason = "Kestrum has no copy of itself there";
    return home;
  }
  home.linked = true;
  home.problem = MakeShortcut(folder, texts, home, {"--preset", preset});
  return home;
}

bool StartFromGameFolder(const std::string& folder) {
  std::wstring line = L"\"" + Wide(folder + "\\kestrum.exe", CP_UTF8) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        Wide(folder, CP_UTF8).c_str(), &startup, &process)) {
    return false;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

}  // namespace platform
