// The real kestrum.exe, started as a process of its own in a game folder and
// driven from this one with the messages and input a user's would send.
#include "win32/controls.h"

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
  HANDLE Start() {
    char path[32767] = {};
    ::GetEnvironmentVariableA("PATH", path, sizeof path);
    const std::string old = path;
    ::SetEnvironmentVariableA("PATH", (bin_.string() + ";" + old).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = L"\"" + (game_ / "kestrum.exe").wstring() + L"\"";
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

}  // namespace
