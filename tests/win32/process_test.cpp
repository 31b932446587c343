// The real kestrum.exe, started as a process of its own in a game folder and
// driven from this one with the messages and input a user's would send.
#include "win32/controls.h"

#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "win32/frm_main.h"

namespace {

// A control's id, as the core's table of the window gives it.
int IdOf(const char* name) {
  return mainwindow::IdOf(*mainwindow::Find(name));
}

namespace fs = std::filesystem;

constexpr const char* kKey = "Software\\Tolvane\\Kestrum\\General";

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("kp" + std::to_string(::GetCurrentProcessId()));
    game_ = root_ / "Duke Nukem 3D";
    bin_ = root_ / "bin";
    fs::create_directories(game_);
    fs::create_directories(bin_);
    fs::copy_file(KESTRUM_PROGRAM, game_ / "kestrum.exe", fs::copy_options::overwrite_existing);
    fs::copy_file(KESTRUM_FAKE_COMMAND, bin_ / "command.com", fs::copy_options::overwrite_existing);
    std::ofstream(game_ / "DUKE3D.EXE") << "";
    std::ofstream(game_ / "DUKE3D.CFG") << "[Setup]\r\nSetupVersion = 1.5\r\n";
    // The settings of this Wine prefix's user are the tests' own.
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tolvane");
  }
  void TearDown() override {
    for (HANDLE p : started_) {
      ::TerminateProcess(p, 0);
      ::CloseHandle(p);
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tolvane");
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  // Kestrum started from the game folder, with the fake command.com first
  // on its PATH.
  HANDLE Start() { return Start(game_ / "kestrum.exe"); }
  HANDLE Start(const fs::path& program, const std::wstring& arguments = {}) {
    char path[32767] = {};
    ::GetEnvironmentVariableA("PATH", path, sizeof path);
    const std::string old = path;
    ::SetEnvironmentVariableA("PATH", (bin_.string() + ";" + old).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = L"\"" + program.wstring() + L"\"" + arguments;
    const BOOL ok = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     root_.wstring().c_str(), &startup, &process);
    ::SetEnvironmentVariableA("PATH", old.c_str());
    if (!ok) return nullptr;
    ::CloseHandle(process.hThread);
    started_.push_back(process.hProcess);
    return process.hProcess;
  }
  static HWND WaitForWindow(const wchar_t* windowClass, const wchar_t* title) {
    for (int i = 0; i < 400; ++i) {
      if (HWND w = ::FindWindowW(windowClass, title); w != nullptr && ::IsWindowVisible(w))
        return w;
      ::Sleep(50);
    }
    return nullptr;
  }
  static void MakeGame(const fs::path& folder) {
    fs::create_directories(folder);
    std::ofstream(folder / "DUKE3D.EXE") << "";
    std::ofstream(folder / "DUKE3D.CFG") << "[Setup]\r\nSetupVersion = 1.5\r\n";
  }
  static bool Ended(HANDLE process, DWORD* exitCode = nullptr) {
    if (::WaitForSingleObject(process, 20000) != WAIT_OBJECT_0) return false;
    if (exitCode != nullptr) ::GetExitCodeProcess(process, exitCode);
    return true;
  }
  static HWND Control(HWND main, int id) {
    if (HWND c = ::GetDlgItem(main, id)) return c;
    // On the option panel.
    return ::GetDlgItem(::GetDlgItem(main, mainwindow::IdOf(*mainwindow::Find("picMain"))), id);
  }
  static std::string Stored(const char* name) {
    char value[64] = {};
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
      return "(none)";
    }
    return value;
  }
  std::string Calls() {
    std::ifstream in(bin_ / "calls.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path root_, game_, bin_;
  std::vector<HANDLE> started_;
};

TEST_F(ProgramTest, LaunchesSavesRestoresAndRunsOncePerUser) {
  HANDLE first = Start();
  ASSERT_NE(first, nullptr);
  HWND main = WaitForWindow(frmMain::kWindowClass, nullptr);
  ASSERT_NE(main, nullptr);
  wchar_t caption[64] = {};
  ::GetWindowTextW(main, caption, 64);
  EXPECT_EQ(std::wstring(caption), L"Duke Nukem 1.5");

  // A second copy is refused with its message, and ends.
  HANDLE second = Start();
  HWND sorry = WaitForWindow(nullptr, L"Sorry...");
  ASSERT_NE(sorry, nullptr);
  wchar_t text[128] = {};
  ::GetDlgItemTextW(sorry, 0xFFFF, text, 128);
  EXPECT_EQ(std::wstring(text), L"Kestrum is Already Running");
  ::PostMessageW(sorry, WM_CLOSE, 0, 0);
  DWORD code = 1;
  EXPECT_TRUE(Ended(second, &code));
  EXPECT_EQ(code, 0u);

  // Options picked as the user picks them; the launch reaches command.com.
  HWND skills = Control(main, IdOf("cboSkills"));
  ASSERT_NE(skills, nullptr);
  ::SendMessageW(skills, CB_SETCURSEL, 2, 0);
  ::SendMessageW(::GetParent(skills), WM_COMMAND, MAKEWPARAM(IdOf("cboSkills"), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(skills));
  HWND respawn = Control(main, IdOf("cboRespawn"));
  ::SendMessageW(respawn, CB_SETCURSEL, 1, 0);
  ::SendMessageW(::GetParent(respawn), WM_COMMAND, MAKEWPARAM(IdOf("cboRespawn"), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(respawn));
  ::SendMessageW(Control(main, IdOf("cmdLaunch")), BM_CLICK, 0, 0);
  std::string calls;
  for (int i = 0; i < 200 && std::count(calls.begin(), calls.end(), '\n') < 2; ++i) {
    ::Sleep(50);
    calls = Calls();
  }
  EXPECT_NE(calls.find(" /c Duke3D /s3 /t1 /v1 /l01\n"), std::string::npos) << calls;

  // Alt+D, typed: the command line is shown.
  ::ShowWindow(main, SW_RESTORE);
  ::SetForegroundWindow(main);
  ::Sleep(300);
  INPUT keys[4] = {};
  const WORD pressed[4] = {VK_MENU, 'D', 'D', VK_MENU};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = pressed[i];
    keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  ::SendInput(4, keys, sizeof keys[0]);
  HWND line = WaitForWindow(nullptr, L"Command Line");
  ASSERT_NE(line, nullptr);
  ::GetDlgItemTextW(line, 0xFFFF, text, 128);
  EXPECT_EQ(std::wstring(text), L"command.com /c Duke3D /s3 /t1 /v1 /l01");
  ::PostMessageW(line, WM_CLOSE, 0, 0);
  ::Sleep(300);

  // Closed, it saves; started again, it shows what was saved.
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended(first));
  EXPECT_EQ(Stored("Skills"), "2");
  EXPECT_EQ(Stored("Respawn"), "1");
  ASSERT_NE(Start(), nullptr);
  main = WaitForWindow(frmMain::kWindowClass, nullptr);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(::SendMessageW(Control(main, IdOf("cboSkills")), CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(::SendMessageW(Control(main, IdOf("cboRespawn")), CB_GETCURSEL, 0, 0), 1);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended(started_.back()));
}

// "--preset NAME" starts the preset's game with its choices and no window;
// a name that is no preset's is said in a box, and the status says so.
TEST_F(ProgramTest, APresetStartsFromTheCommandLine) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tolvane\\Kestrum\\Presets\\Mine", 0,
                              nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  for (const auto& [name, value] : {std::pair<std::wstring, std::wstring>{L"Name", L"Mine"},
                                    {L"Engine", L"dos"},
                                    {L"Skills", L"3"},
                                    {L"Stage", L"1-03  Death Row"}}) {
    ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  ::RegCloseKey(key);
  HANDLE unknown = Start(game_ / "kestrum.exe", L" --preset \"Not Mine\"");
  HWND said = WaitForWindow(nullptr, L"No Dice...");
  ASSERT_NE(said, nullptr);
  wchar_t text[128] = {};
  ::GetDlgItemTextW(said, 0xFFFF, text, 128);
  EXPECT_EQ(std::wstring(text), L"There is no preset called \"Not Mine\".");
  ::PostMessageW(said, WM_CLOSE, 0, 0);
  DWORD code = 0;
  EXPECT_TRUE(Ended(unknown, &code));
  EXPECT_EQ(code, 1u);
  EXPECT_EQ(Calls(), "");

  HANDLE mine = Start(game_ / "kestrum.exe", L" --preset Mine");
  EXPECT_TRUE(Ended(mine, &code));
  EXPECT_EQ(code, 0u);
  std::string calls;
  for (int i = 0; i < 200 && calls.find('\n') == std::string::npos; ++i) {
    ::Sleep(50);
    calls = Calls();
  }
  EXPECT_NE(calls.find(" /c Duke3D /s4 /v1 /l03\n"), std::string::npos) << calls;
}

// Started where no game is, kestrum.exe offers the folders that the stores'
// registry values name (in either registry view), copies itself into the
// one picked, makes a Start menu shortcut to that copy, and the copy plays.
class FirstContactTest : public ProgramTest {
 protected:
  struct Value {
    const wchar_t* key;
    const wchar_t* name;
    REGSAM view;
  };
  static constexpr Value kGog{L"SOFTWARE\\GOG.com\\Games\\1207658730", L"path", KEY_WOW64_32KEY};
  static constexpr Value kSteam{
      L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 225140",
      L"InstallLocation", KEY_WOW64_64KEY};
  static constexpr Value kZoom{L"SOFTWARE\\ZOOM PLATFORM\\Duke Nukem 3D - Atomic Edition",
                               L"InstallPath", KEY_WOW64_32KEY};
  static void Set(const Value& value, const std::wstring& folder) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, value.key, 0, nullptr, 0,
                                KEY_SET_VALUE | value.view, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, value.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
  }
  static fs::path Shortcut(const std::wstring& name) {
    wchar_t programs[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs);
    return fs::path(programs) / L"Kestrum" / (name + L".lnk");
  }
  static std::wstring ShortcutTarget(const fs::path& shortcut) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t target[MAX_PATH] = {};
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkW, reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(shortcut.wstring().c_str(), STGM_READ))) {
      // By the item it names: the path the file keeps beside it may be
      // the name's best fit (Wine keeps it so).
      LPITEMIDLIST item = nullptr;
      if (SUCCEEDED(link->GetIDList(&item)) && item != nullptr) {
        ::SHGetPathFromIDListW(item, target);
        ::CoTaskMemFree(item);
      }
    }
    if (file != nullptr) file->Release();
    if (link != nullptr) link->Release();
    ::CoUninitialize();
    return target;
  }
  void TearDown() override {
    for (const Value& value : {kGog, kSteam, kZoom})
      ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, value.key, value.view, 0);
    std::error_code ignored;
    fs::remove(Shortcut(L"Duke Nukem 3D (classic)"), ignored);
    ProgramTest::TearDown();
  }
};

TEST_F(FirstContactTest, OffersWhatTheStoresInstalledAndMovesIn) {
  const fs::path gog = root_ / "GOG Games" / "Duke Nukem 3D";
  const fs::path steam = root_ / "Steam" / "steamapps" / "common" / "Duke Nukem 3D";
  const fs::path classic = steam / "gameroot" / "classic";
  MakeGame(gog);
  MakeGame(classic);
  fs::create_directories(root_ / "ZOOM");  // named, but without the game
  Set(kGog, gog.wstring());
  Set(kSteam, steam.wstring() + L"\\");
  Set(kZoom, (root_ / "ZOOM").wstring());
  const fs::path downloads = root_ / "Downloads";
  fs::create_directories(downloads);
  fs::copy_file(KESTRUM_PROGRAM, downloads / "kestrum.exe");

  HANDLE first = Start(downloads / "kestrum.exe");
  ASSERT_NE(first, nullptr);
  HWND ask = WaitForWindow(L"#32770", L"Where is Duke Nukem 3D?");
  ASSERT_NE(ask, nullptr);
  HWND list = ::FindWindowExW(ask, nullptr, L"ListBox", nullptr);
  ASSERT_NE(list, nullptr);
  std::vector<std::wstring> offered;
  for (LRESULT i = 0; i < ::SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
    wchar_t item[MAX_PATH * 2] = {};
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
    offered.push_back(item);
  }
  EXPECT_EQ(offered,
            (std::vector<std::wstring>{L"GOG: " + gog.wstring(), L"Steam: " + classic.wstring(),
                                       L"Other folder..."}));
  ::SendMessageW(list, LB_SETCURSEL, 1, 0);
  ::PostMessageW(ask, WM_COMMAND, IDOK, 0);
  DWORD code = 1;
  EXPECT_TRUE(Ended(first, &code));
  EXPECT_EQ(code, 0u);

  EXPECT_TRUE(fs::exists(classic / "kestrum.exe"));
  EXPECT_EQ(fs::file_size(classic / "kestrum.exe"), fs::file_size(KESTRUM_PROGRAM));
  EXPECT_FALSE(fs::exists(gog / "kestrum.exe"));
  const fs::path shortcut = Shortcut(L"Duke Nukem 3D (classic)");
  ASSERT_TRUE(fs::exists(shortcut));
  EXPECT_EQ(fs::path(ShortcutTarget(shortcut)), classic / "kestrum.exe");

  // The copy runs, from the game's folder.
  HWND main = WaitForWindow(frmMain::kWindowClass, L"Duke Nukem 1.5");
  ASSERT_NE(main, nullptr);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(main, &pid);
  HANDLE copy = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE,
                              FALSE, pid);
  ASSERT_NE(copy, nullptr);
  started_.push_back(copy);
  wchar_t image[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  ::QueryFullProcessImageNameW(copy, 0, image, &size);
  EXPECT_TRUE(fs::equivalent(fs::path(image), classic / "kestrum.exe")) << fs::path(image);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended(copy));
}

// Every name is read as it is, never as its best fit in the ANSI code
// page: a game under "Łukasz\\Ｄuke" is offered, gets the copy, and plays
// there, not in the "Lukasz\\Duke" that the best fit of its name would be.
// Two game folders of one name keep a Start menu shortcut each.
TEST_F(FirstContactTest, EveryNameIsReadAsItIs) {
  const fs::path real = root_ / L"\u0141ukasz" / L"\uFF24uke";
  const fs::path decoy = root_ / "Lukasz" / "Duke";
  const fs::path other = root_ / "Steam" / L"\uFF24uke";
  MakeGame(real);
  MakeGame(decoy);
  MakeGame(other);
  Set(kGog, real.wstring());
  Set(kSteam, other.wstring());
  fs::create_directories(root_ / "Downloads");
  fs::copy_file(KESTRUM_PROGRAM, root_ / "Downloads" / "kestrum.exe");
  for (const fs::path& game : {real, other}) {
    SCOPED_TRACE(game.string());
    HANDLE first = Start(root_ / "Downloads" / "kestrum.exe");
    ASSERT_NE(first, nullptr);
    HWND ask = WaitForWindow(L"#32770", L"Where is Duke Nukem 3D?");
    ASSERT_NE(ask, nullptr);
    HWND list = ::FindWindowExW(ask, nullptr, L"ListBox", nullptr);
    wchar_t item[MAX_PATH * 2] = {};
    ::SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(std::wstring(item), L"GOG: " + real.wstring());
    ::SendMessageW(list, LB_SETCURSEL, game == real ? 0 : 1, 0);
    ::PostMessageW(ask, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Ended(first));
    EXPECT_TRUE(fs::exists(game / "kestrum.exe"));
    EXPECT_FALSE(fs::exists(decoy / "kestrum.exe"));
    HWND main = WaitForWindow(frmMain::kWindowClass, L"Duke Nukem 1.5");
    ASSERT_NE(main, nullptr);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(main, &pid);
    HANDLE copy = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    started_.push_back(copy);
    fs::remove(bin_ / "calls.txt");
    ::SendMessageW(Control(main, IdOf("cmdLaunch")), BM_CLICK, 0, 0);
    std::string calls;
    for (int i = 0; i < 200 && calls.find('\n') == std::string::npos; ++i) {
      ::Sleep(50);
      calls = Calls();
    }
    ASSERT_NE(calls.find('\n'), std::string::npos);
    EXPECT_EQ(fs::path(std::u8string(calls.begin(), calls.begin() + calls.find('\n'))), game)
        << calls;
    ::TerminateProcess(copy, 0);
    ::WaitForSingleObject(copy, 5000);
  }
  const fs::path first = Shortcut(L"Duke Nukem 3D (\uFF24uke)");
  const fs::path second = Shortcut(L"Duke Nukem 3D (\uFF24uke) (2)");
  EXPECT_EQ(fs::path(ShortcutTarget(first)), real / "kestrum.exe");
  EXPECT_EQ(fs::path(ShortcutTarget(second)), other / "kestrum.exe");
  std::error_code ignored;
  fs::remove(first, ignored);
  fs::remove(second, ignored);
}

// A Steam library of its own (another drive, say), named only in the
// libraryfolders.vdf of the Steam folder that Steam's own registry value
// gives, is offered too.
TEST_F(FirstContactTest, OffersWhatSteamsOwnLibrariesHold) {
  const fs::path steam = root_ / "Program Files" / "Steam";
  const fs::path library = root_ / "D" / "SteamLibrary";
  const fs::path classic =
      library / "steamapps" / "common" / "Duke Nukem 3D" / "gameroot" / "classic";
  MakeGame(classic);
  fs::create_directories(steam / "steamapps");
  std::string escaped;
  for (const char c : library.string())
    escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  std::ofstream(steam / "steamapps" / "libraryfolders.vdf")
      << "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" << escaped << "\"\n\t}\n}\n";
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Valve\\Steam", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  std::wstring path = steam.wstring();
  for (wchar_t& c : path) c = c == L'\\' ? L'/' : c;  // as Steam writes it
  ::RegSetValueExW(key, L"SteamPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
  fs::create_directories(root_ / "Downloads");
  fs::copy_file(KESTRUM_PROGRAM, root_ / "Downloads" / "kestrum.exe");
  HANDLE first = Start(root_ / "Downloads" / "kestrum.exe");
  ASSERT_NE(first, nullptr);
  HWND ask = WaitForWindow(L"#32770", L"Where is Duke Nukem 3D?");
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Valve");
  ASSERT_NE(ask, nullptr);
  HWND list = ::FindWindowExW(ask, nullptr, L"ListBox", nullptr);
  wchar_t item[MAX_PATH * 2] = {};
  ::SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(std::wstring(item), L"Steam: " + classic.wstring());
  ::PostMessageW(ask, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace
