// The Win32 forms in the test's own process, driven with the messages that
// the user's clicks and keys send: real windows of Windows (or Wine), with
// every modal dialog answered by the test.
#include "win32/controls.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/exit_program.h"
#include "dosbox/drives.h"
#include "base/launch_options.h"
#include "launch/command_line.h"
#include "launch/saved_games.h"
#include "launch/shell_paths.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "winapi/dos_paths.h"
#include "presets/presets.h"
#include "settings/registry.h"
#include "support/shared_fixture.h"
#include "tools/author_links.h"
#include "tools/popup_menu.h"
#include "win32/dialogs.h"
#include "win32/frm_about.h"
#include "win32/frm_main.h"
#include "win32/frm_popup.h"

namespace {

namespace fs = std::filesystem;
using Request = DialogRequest;

class FormTest : public testsupport::SharedTest {
 protected:
  void SetUp() override {
    SharedTest::SetUp();
    game_ = temp_ / "Duke Nukem 3D";
    fs::create_directories(game_);
    Write(game_ / "DUKE3D.EXE", "");
    Write(game_ / "DUKE3D.CFG", "[Setup]\r\nSetupVersion = 1.5\r\n");
    platform::RecordProgramFolder(platform::HostPath{game_.string()});
    answer = [this](const Request& r) {
      shown.push_back(r);
      if (r.kind == Request::Kind::kOpenFile && !openAnswers.empty()) {
        const std::string answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
      }
      return std::string();
    };
  }
  void TearDown() override {
    form.reset();
    frmPopup::Release();
    frmPopup::SetChoiceHookForTesting(nullptr);
    platform::RecordProgramFolder({});
    SharedTest::TearDown();
  }
  static void Write(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The window's dialogs are answered by the test, and the end of the
  // program is counted instead of ending the tests.
  void Load() {
    form = std::make_unique<frmMain>();
    form->session.answerDialogs = [this](const Request& r) { return answer(r); };
    form->session.endProcess = [this] { ++processEnds; };
    form->session.openDocument = [this](const std::string& target) { opened.push_back(target); };
    ASSERT_TRUE(form->Form_Load());
  }
  std::function<std::string(const Request&)> answer;
  // What a click, a pick in a list or a step of the slider send.
  static void Click(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }
  static void Notify(HWND control, int code) {
    ::SendMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), code),
                   reinterpret_cast<LPARAM>(control));
  }
  static void Pick(HWND list, int index) {
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(list, CBN_SELCHANGE);
  }
  static void Step(HWND bar, int code) {
    ::SendMessageW(::GetParent(bar), WM_HSCROLL, static_cast<WPARAM>(code),
                   reinterpret_cast<LPARAM>(bar));
  }
  static std::string Entry(HWND list, int index) {
    wchar_t text[256] = {};
    ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return win32::Utf8(text);
  }
  static void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }

  fs::path game_;
  std::unique_ptr<frmMain> form;
  std::vector<Request> shown;
  std::deque<std::string> openAnswers;
  std::vector<std::string> opened;
  int processEnds = 0;
};

TEST_F(FormTest, StartsUpWithItsLayoutTextsAndEdition) {
  Load();
  const UINT dpi = form->Dpi();
  RECT client;
  ::GetClientRect(form->hwnd, &client);
  EXPECT_EQ(client.right, win32::Px(3735, dpi));
  EXPECT_EQ(client.bottom, win32::Px(3135, dpi));
  const LONG_PTR style = ::GetWindowLongPtrW(form->hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(form->Caption(), "Duke Nukem 1.5");
  EXPECT_TRUE(::IsWindowVisible(form->Control("chkArtInt")));
  EXPECT_EQ(::SendMessageW(form->Control("cboStages"), CB_GETCOUNT, 0, 0), 41);
  EXPECT_EQ(::SendMessageW(form->Control("cboStages"), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Entry(form->Control("cboStages"), 40), "4-11  Area 51");
  EXPECT_FALSE(::IsWindowEnabled(form->Control("cmdText")));
  // The debug button lies beyond the client area's right edge.
  RECT debug;
  ::GetWindowRect(form->Control("cmdDebug"), &debug);
  ::MapWindowPoints(nullptr, form->hwnd, reinterpret_cast<POINT*>(&debug), 2);
  EXPECT_GE(debug.left, client.right);
  EXPECT_EQ(win32::TextOf(form->Control("cmdDebug")), "&Debug");

  const std::vector<std::pair<HWND, std::string>> tips = {
      {form->Control("cmdStart"), "Click Here to Begin"},
      {form->Control("cmdOpen"), "Open Map"},
      {form->Control("cmdLaunch"), "Launch Duke3D"},
      {form->Control("cmdBuild"), "Launch Build"},
      {form->Control("cmdEditArt"), "Launch Editart"},
      {form->Control("cmdAbout"), "About..."},
      {form->Control("chkArtInt"), "Use Artificial Intelligence"}};
  for (const auto& [control, tip] : tips) EXPECT_EQ(form->ToolTipOf(control), tip);
  const std::vector<std::pair<HWND, std::vector<std::string>>> lists = {
      {form->Control("cboSound"),
       {"Use Defaults", "Music Disabled", "Sound Disabled", "Sound & Music Off"}},
      {form->Control("cboSkills"),
       {"Piece of Cake", "Let's Rock", "Come Get Some", "Damn I'm Good"}},
      {form->Control("cboRespawn"),
       {"No Respawn", "Monsters Only", "Items Only", "Inventory Only", "Everything!"}}};
  for (const auto& [list, entries] : lists) {
    ASSERT_EQ(::SendMessageW(list, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(Entry(list, int(i)), entries[i]);
    EXPECT_EQ(::SendMessageW(list, CB_GETCURSEL, 0, 0), 0);
  }
  EXPECT_EQ(win32::TextOf(form->Control("txtFakePlayers")), "0");
}

// The options the user picks reach the command line, are saved once at the
// end, and come back in the controls at the next start.
TEST_F(FormTest, OptionsReachTheLineAndComeBackAfterARestart) {
  Load();
  Notify(form->Control("lblRecord"), STN_CLICKED);
  Pick(form->Control("cboSound"), 3);
  Pick(form->Control("cboSkills"), 2);
  Pick(form->Control("cboRespawn"), 4);
  for (int i = 0; i < 3; ++i) Step(form->Control("hsbFakePlayers"), SB_LINERIGHT);
  Pick(form->Control("cboStages"), 12);
  Click(form->Control("chkArtInt"));
  EXPECT_EQ(win32::TextOf(form->Control("txtFakePlayers")), "3");
  GameCommandLine = BuildCommandLine(LaunchOptions, form->stages.Text(), UserFilePath);
  EXPECT_EQ(GameCommandLine, "command.com /c Duke3D /r /nm /ns /s3 /tx /q3 /a /v2 /l05");

  ::SendMessageW(form->hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(processEnds, 1);
  ReadRegistryValue(SettingsKey, "Sound");
  EXPECT_EQ(std::get<std::string>(RegistryValue), "3");

  form.reset();
  testsupport::ResetProcessWideValues();
  Load();
  EXPECT_EQ(frmMain::Value(form->Control("chkRecord")), 1);
  EXPECT_EQ(::SendMessageW(form->Control("cboSound"), CB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(::SendMessageW(form->Control("cboRespawn"), CB_GETCURSEL, 0, 0), 4);
  EXPECT_EQ(::GetScrollPos(form->Control("hsbFakePlayers"), SB_CTL), 3);
  EXPECT_EQ(frmMain::Value(form->Control("chkArtInt")), 0);  // not kept
  EXPECT_EQ(LaunchOptions.Skills, 2);
}

// The launch button starts the line through command.com, from the game's
// folder, and waits minimised for the user to come back.
TEST_F(FormTest, TheLaunchReachesCommandComInTheGameFolder) {
  const fs::path bin = temp_ / "bin";
  fs::create_directories(bin);
  fs::copy_file(KESTRUM_FAKE_COMMAND, bin / "command.com");
  char path[32767] = {};
  ::GetEnvironmentVariableA("PATH", path, sizeof path);
  const std::string oldPath = path;
  ::SetEnvironmentVariableA("PATH", (bin.string() + ";" + oldPath).c_str());
  Load();
  ::ShowWindow(form->hwnd, SW_SHOW);
  Pick(form->Control("cboSkills"), 3);
  Click(form->Control("cmdLaunch"));
  ::SetEnvironmentVariableA("PATH", oldPath.c_str());
  EXPECT_TRUE(shown.empty());
  EXPECT_TRUE(mainform::WaitingForReturn(*form));
  EXPECT_TRUE(::IsIconic(form->hwnd));
  std::string calls;
  for (int i = 0; i < 200 && calls.find('\n', calls.find('\n') + 1) == std::string::npos; ++i) {
    ::Sleep(50);
    calls = Read(bin / "calls.txt");
  }
  std::istringstream lines(calls);
  std::string folder, line;
  std::getline(lines, folder);
  std::getline(lines, line);
  EXPECT_TRUE(fs::equivalent(fs::path(folder), game_)) << folder;
  EXPECT_TRUE(line.ends_with(" /c Duke3D /s4 /v1 /l01")) << line;
  ::SendMessageW(form->hwnd, WM_SIZE, SIZE_RESTORED, 0);
  EXPECT_FALSE(mainform::WaitingForReturn(*form));
}

// A folder of the port: eduke32.exe beside DUKE3D.GRP gets the choices and
// the user's map from a folder of the run's own that holds it alone, and a
// port that ends at once is said a moment later, while the window answers.
TEST_F(FormTest, ThePortPlaysTheChosenMapAndIsWatchedWithoutAWait) {
  fs::remove(game_ / "DUKE3D.EXE");
  fs::remove(game_ / "DUKE3D.CFG");
  Write(game_ / "DUKE3D.GRP", "");
  fs::copy_file(KESTRUM_FAKE_COMMAND, game_ / "eduke32.exe");
  const fs::path maps = temp_ / "maps";
  fs::create_directories(maps);
  Write(maps / "My Map.map", "chosen");
  Write(maps / "GAME.CON", "not chosen");
  openAnswers.push_back((maps / "My Map.map").string());
  Load();
  ::ShowWindow(form->hwnd, SW_SHOW);
  Click(form->Control("cmdOpen"));
  Click(form->Control("cmdLaunch"));
  EXPECT_EQ(shown.size(), 1u);  // the Open dialog alone, so far
  std::string calls;
  for (int i = 0; i < 200 && calls.find('\n', calls.find('\n') + 1) == std::string::npos; ++i) {
    ::Sleep(50);
    calls = Read(game_ / "calls.txt");
  }
  const auto j = calls.find(" -j ");
  const auto map = calls.find(" -map ");
  ASSERT_NE(j, std::string::npos) << calls;
  ASSERT_NE(map, std::string::npos) << calls;
  const fs::path searched = calls.substr(j + 4, map - j - 4);
  const std::string name = calls.substr(map + 6, calls.find_first_of("\r\n", map) - map - 6);
  EXPECT_EQ(name, "\"My Map.map\"");
  EXPECT_EQ(Read(searched / "My Map.map"), "chosen");
  EXPECT_FALSE(fs::exists(searched / "GAME.CON"));
  for (int i = 0; i < 40 && shown.size() < 2; ++i) {
    ::Sleep(50);
    Pump();
  }
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_TRUE(shown[1].text.starts_with("eduke32.exe ended as soon as it started."))
      << shown[1].text;
}

// Raze beside the game: the window disables what Raze cannot be told and
// says why; the caption says Raze plays; the line names the level by its
// label and the game's group file by its path.
TEST_F(FormTest, RazeTakesWhatItCanAndTheWindowSaysSo) {
  fs::remove(game_ / "DUKE3D.EXE");
  fs::remove(game_ / "DUKE3D.CFG");
  Write(game_ / "DUKE3D.GRP", "");
  fs::copy_file(KESTRUM_FAKE_COMMAND, game_ / "raze.exe");
  Load();
  ::ShowWindow(form->hwnd, SW_SHOW);
  EXPECT_TRUE(form->Caption().ends_with(" (Raze)")) << form->Caption();
  for (const char* name :
       {"cboSkills", "cboRespawn", "hsbFakePlayers", "chkRecord", "chkMonsters"}) {
    EXPECT_FALSE(::IsWindowEnabled(form->Control(name))) << name;
    EXPECT_EQ(form->ToolTipOf(form->Control(name)),
              "Raze cannot be told this from its command line: set it in Raze's own menus.")
        << name;
  }
  EXPECT_TRUE(::IsWindowEnabled(form->Control("cboSound")));
  // A label looks as usable as what it names: grey for those, white for the
  // sound's.
  const auto textColour = [this](const char* named) {
    for (const mainwindow::Control& c : mainwindow::Controls()) {
      if (std::string_view(c.buddy) != named) continue;
      HWND label = form->Control(c.name);
      HDC dc = ::CreateCompatibleDC(nullptr);
      ::SendMessageW(::GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(label));
      const COLORREF colour = ::GetTextColor(dc);
      ::DeleteDC(dc);
      return colour;
    }
    return COLORREF(CLR_INVALID);
  };
  EXPECT_EQ(textColour("cboSound"), RGB(255, 255, 255));
  for (const char* name : {"cboSkills", "chkRecord", "chkMonsters"}) {
    EXPECT_EQ(textColour(name), RGB(128, 128, 128)) << name;
  }
  Click(form->Control("cmdLaunch"));
  std::string calls;
  for (int i = 0; i < 200 && calls.find('\n', calls.find('\n') + 1) == std::string::npos; ++i) {
    ::Sleep(50);
    calls = Read(game_ / "calls.txt");
  }
  EXPECT_NE(calls.find(" -nosetup -gamegrp "), std::string::npos) << calls;
  EXPECT_NE(calls.find("DUKE3D.GRP"), std::string::npos) << calls;
  EXPECT_NE(calls.find(" -map E1L1"), std::string::npos) << calls;
  EXPECT_EQ(calls.find(" -s"), std::string::npos) << calls;
}

// Every message box, with its text, title and style.
TEST_F(FormTest, MessagesSayWhatIsMissingWithTheirTitleAndStyle) {
  struct Case {
    const char* name;
    std::function<void()> act;
    std::string text;  // its start
    std::string title;
    UINT style;
  };
  const std::vector<Case> cases = {
      {"no game",
       [this] {
         fs::remove(game_ / "DUKE3D.EXE");
         Click(form->Control("cmdLaunch"));
       },
       "Duke3D is not in required directory", "No Dice...", 16},
      {"no map editor", [this] { Click(form->Control("cmdBuild")); },
       "Build.exe is not in required directory", "No Dice...", 16},
      {"no help program", [] { PopupMenuItemChosen(PopupCommand::kDukeHelp); },
       "Dn3DHelp.exe is not in required directory", "No Dice...", 16},
      {"no DOSBox", [this] { Click(form->Control("cmdLaunch")); },
       "Kestrum runs command.com through DOSBox, which is not installed.", "No Dice...", 16},
      {"Alt+D",
       [this] {
         // The access key as the message loop sees it: Alt held, D typed.
         MSG key{form->Control("cboStages"), WM_SYSCHAR, 'd', static_cast<LPARAM>(1u << 29), 0, {}};
         ::SetFocus(form->Control("cboStages"));
         EXPECT_TRUE(::IsDialogMessageW(form->hwnd, &key));
       },
       "command.com /c Duke3D /s1 /v1 /l01", "Command Line", 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write(game_ / "DUKE3D.EXE", "");
    shown.clear();
    testsupport::ResetProcessWideValues();
    Load();
    ::ShowWindow(form->hwnd, SW_SHOW);
    c.act();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.starts_with(c.text)) << shown[0].text;
    EXPECT_EQ(shown[0].title, c.title);
    EXPECT_EQ(shown[0].style, c.style);
    form.reset();
  }
}

// Started where no game is, Kestrum asks where it is; a kestrum.exe in the
// folder chosen that is not this program is neither run nor replaced, and
// the user is told.
TEST_F(FormTest, FirstContactLeavesAStrangersKestrumExeAsItIs) {
  const fs::path downloads = temp_ / "Downloads";
  const fs::path game = temp_ / "Games" / "Duke";
  fs::create_directories(downloads);
  fs::create_directories(game);
  Write(game / "DUKE3D.EXE", "");
  Write(game / "kestrum.exe", "not Kestrum");
  platform::RecordProgramFolder(platform::HostPath{downloads.string()});
  answer = [&](const Request& r) {
    shown.push_back(r);
    if (r.kind == Request::Kind::kList) return std::to_string(r.items.size() - 1);
    return r.kind == Request::Kind::kFolder ? game.string() : std::string();
  };
  Load();
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[shown.size() - 2].kind, Request::Kind::kFolder);
  EXPECT_EQ(shown[shown.size() - 2].title, "Where is Duke Nukem 3D?");
  EXPECT_EQ(shown.back().text, (game / "kestrum.exe").string() +
                                   " is already there, and it is not this Kestrum. Kestrum left it "
                                   "as it is: move it away and choose the folder again.");
  EXPECT_EQ(shown.back().title, "No Dice...");
  EXPECT_EQ(Read(game / "kestrum.exe"), "not Kestrum");
}

// The Open dialog as the game's tools set it up, and a map chosen in it or
// dropped on the start button becoming the user entry.
TEST_F(FormTest, UserFilesFromTheDialogAndByDrop) {
  const fs::path maps = temp_ / "My Maps";
  fs::create_directories(maps);
  Write(maps / "ROOFTOP.MAP", "map");
  Write(maps / "ROOFTOP.TXT", "text");
  Write(maps / "notes.doc", "doc");
  Write(maps / "Add On Pack.grp", "group");
  Load();
  openAnswers.push_back((maps / "ROOFTOP.MAP").string());
  Click(form->Control("cmdOpen"));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].kind, Request::Kind::kOpenFile);
  EXPECT_EQ(shown[0].title, "Gimme Some Sugar, Baby...");
  EXPECT_EQ(shown[0].defaultExtension, "map");
  std::wstring filter;
  for (const wchar_t* piece :
       {L"All Duke Nukem Files", L"*.map;*.grp", L"Duke Nukem Maps (*.map)", L"*.map",
        L"Duke Nukem Group Files (*.grp)", L"*.grp", L"All Files (*.*)", L"*.*"}) {
    filter += std::wstring(piece) + L'\0';
  }
  // The filter as the common dialog takes it.
  EXPECT_EQ(win32::dialogs::Filter(OpenDialog()), filter + L'\0');
  EXPECT_TRUE(fs::equivalent(fs::path(shown[0].directory), game_));
  EXPECT_EQ(Entry(form->Control("cboStages"), 0), "rooftop.map");
  EXPECT_EQ(::SendMessageW(form->Control("cboStages"), CB_GETCOUNT, 0, 0), 42);
  EXPECT_TRUE(::IsWindowEnabled(form->Control("cmdText")));
  EXPECT_EQ(form->ToolTipOf(form->Control("cmdText")), "Read rooftop.txt");

  // Dropped: only the first file counts, and only a map or group file.
  const auto drop = [&](const std::vector<fs::path>& files) {
    std::wstring names;
    for (const auto& f : files) names += f.wstring() + L'\0';
    names += L'\0';
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    ::SendMessageW(form->Control("cmdStart"), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  };
  drop({maps / "notes.doc", maps / "Add On Pack.grp"});
  EXPECT_EQ(Entry(form->Control("cboStages"), 0), "rooftop.map");
  drop({maps / "Add On Pack.grp", maps / "ROOFTOP.MAP"});
  const std::string entry = Entry(form->Control("cboStages"), 0);
  EXPECT_TRUE(entry.ends_with(".grp")) << entry;
  EXPECT_EQ(::SendMessageW(form->Control("cboStages"), CB_GETCOUNT, 0, 0), 42);
  // Backspace in the list takes the user entry away again.
  ::SendMessageW(form->Control("cboStages"), WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(Entry(form->Control("cboStages"), 0), "1-01  Hollywood Holocaust");
  EXPECT_EQ(::SendMessageW(form->Control("cboStages"), CB_GETCOUNT, 0, 0), 41);
}

// The popup menu: its items in their order, made once, and each choice run
// after the menu has closed.
TEST_F(FormTest, ThePopupMenuItsItemsAndTheirActions) {
  Load();
  ::ShowWindow(form->hwnd, SW_SHOW);
  std::vector<std::string> items, checked;
  const auto captions = [](HMENU menu) {
    std::vector<std::string> out;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
      wchar_t text[64] = {};
      ::GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
      out.push_back(::GetSubMenu(menu, i) != nullptr ? win32::Utf8(text) + ">" : win32::Utf8(text));
    }
    return out;
  };
  int choice = 0;
  frmPopup::SetChoiceHookForTesting([&](HMENU menu) {
    items = captions(menu);
    const auto others = captions(::GetSubMenu(menu, 0));
    const auto help = captions(::GetSubMenu(menu, 2));
    const auto presets = captions(::GetSubMenu(menu, 3));
    items.insert(items.end(), others.begin(), others.end());
    items.insert(items.end(), help.begin(), help.end());
    items.insert(items.end(), presets.begin(), presets.end());
    checked.clear();
    for (int i = 0; i < ::GetMenuItemCount(::GetSubMenu(menu, 3)); ++i) {
      if (::GetMenuState(::GetSubMenu(menu, 3), static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) {
        checked.push_back(presets[static_cast<std::size_t>(i)]);
      }
    }
    return choice;
  });
  Click(form->Control("cmdStart"));
  Pump();
  EXPECT_EQ(items, (std::vector<std::string>{
                       "Others>", "", "Help>", "Presets>",
                       "Continue (There is no saved game Duke3D.exe can load.)", "Saved games...",
                       "", "Exit", "DN3DHelp.exe", "Duke Setup.exe", "Send EMail", "Goto Homepage",
                       "", "About Kestrum", "None", "", "Save these choices as a preset...",
                       "Edit presets..."}));
  EXPECT_EQ(checked, std::vector<std::string>{"None"});
  // The window's choices saved as a preset: named in the caption, checked
  // in the menu.
  answer = [&](const Request& r) {
    shown.push_back(r);
    return r.kind == Request::Kind::kText ? std::string("Caribbean") : std::string();
  };
  choice = frmPopup::IdOf("mnuSavePreset");
  Click(form->Control("cmdStart"));
  Pump();
  choice = 0;
  Click(form->Control("cmdStart"));
  Pump();
  EXPECT_EQ(checked, std::vector<std::string>{"Caribbean"});
  EXPECT_TRUE(form->Caption().ends_with(" - Caribbean")) << form->Caption();
  // The editor: the preset, "Rename...", then "Done"; the caption follows.
  std::vector<int> picks = {0, 4, 8, -1};
  answer = [&](const Request& r) {
    shown.push_back(r);
    if (r.kind == Request::Kind::kText) return std::string("Vacation");
    if (r.kind != Request::Kind::kList || picks.empty()) return std::string();
    const int pick = picks.front();
    picks.erase(picks.begin());
    return pick < 0 ? std::string() : std::to_string(pick);
  };
  choice = frmPopup::IdOf("mnuEditPresets");
  Click(form->Control("cmdStart"));
  Pump();
  EXPECT_TRUE(picks.empty());
  EXPECT_TRUE(presets::FindPreset("Vacation").has_value());
  EXPECT_FALSE(presets::FindPreset("Caribbean").has_value());
  choice = 0;
  Click(form->Control("cmdStart"));
  Pump();
  EXPECT_EQ(checked, std::vector<std::string>{"Vacation"});
  // A save the game can load is named by "Continue"; the list shows each.
  if (fs::exists(KESTRUM_SAVE_FIXTURES)) {
    fs::copy_file(fs::path(KESTRUM_SAVE_FIXTURES) / "dos" / "GAME1.SAV", game_ / "GAME1.SAV");
    fs::copy_file(fs::path(KESTRUM_SAVE_FIXTURES) / "broken" / "dos" / "wrong-version.SAV",
                  game_ / "GAME2.SAV");
    Click(form->Control("cmdStart"));
    Pump();
    EXPECT_EQ(items[4], "Continue: 2-01 Come Get Some, just now");
    std::vector<std::string> listed, greyed;
    answer = [&](const Request& r) {
      if (r.kind == Request::Kind::kList) listed = r.items, greyed = r.greyed;
      shown.push_back(r);
      return std::string();  // cancelled
    };
    choice = frmPopup::IdOf("mnuSavedGames");
    Click(form->Control("cmdStart"));
    Pump();
    ASSERT_EQ(listed.size(), 2u);
    ASSERT_EQ(greyed.size(), 2u);
    EXPECT_NE(greyed[0].empty(), greyed[1].empty());
    EXPECT_TRUE(listed[greyed[0].empty() ? 1 : 0].ends_with(
        "\u2014 It was saved by another version of the game (its version 116, this one's 117)."));
    choice = 0;
  }
  choice = frmPopup::IdOf("mnuHomepage");
  Click(form->Control("cmdStart"));
  EXPECT_TRUE(opened.empty());  // not while the menu is up
  Pump();
  EXPECT_EQ(opened, std::vector<std::string>{kAuthorHomePage});
  choice = frmPopup::IdOf("mnuEMail");
  Click(form->Control("cmdStart"));
  Pump();
  EXPECT_EQ(opened.back(), std::string("mailto:") + kAuthorEMail);
  EXPECT_EQ(frmPopup::CreatedCount(), 1);
  choice = frmPopup::IdOf("mnuExit");
  Click(form->Control("cmdStart"));
  Pump();
  EXPECT_EQ(processEnds, 1);
  ReadRegistryValue(SettingsKey, "Fakers");
  EXPECT_EQ(std::get<std::string>(RegistryValue), "0");
}

// Where each engine keeps its saves on Windows: Raze in the user's Saved
// Games, in the folder of the game its group is; JFDuke3D in the roaming
// application data; EDuke32 and the DOS game in the game's folder.
TEST_F(FormTest, EachEngineSavesInItsOwnWindowsFolder) {
  const auto kept = [](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value != nullptr ? value : "");
  };
  const std::string profile = kept("USERPROFILE"), appData = kept("APPDATA");
  _putenv_s("USERPROFILE", "C:\\Users\\Ann");
  _putenv_s("APPDATA", "C:\\Users\\Ann\\AppData\\Roaming");
  launch::GameFolder folder;
  folder.groupSize = 26524524;  // 1.3D
  const struct {
    GameEngine engine;
    std::string want;
  } cases[] = {
      {GameEngine::kRaze, "C:\\Users\\Ann\\Saved Games\\Raze\\Duke.Duke.13"},
      {GameEngine::kJFDuke3D, "C:\\Users\\Ann\\AppData\\Roaming\\JFDuke3D"},
      {GameEngine::kEDuke32, platform::ProgramFolder()},
      {GameEngine::kDos, platform::ProgramFolder()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(launch::SaveFolders({c.engine, "game.exe", ""}, folder),
              std::vector<std::string>{c.want})
        << static_cast<int>(c.engine);
  }
  _putenv_s("USERPROFILE", profile.c_str());
  _putenv_s("APPDATA", appData.c_str());
}

// Moved to a screen of another DPI, the window keeps its size in twips and
// its controls their places and point sizes.
TEST_F(FormTest, MovedToAScreenOfTwiceTheDpiItGrowsWithItsControls) {
  Load();
  const UINT from = form->Dpi();
  const UINT to = from * 2;
  RECT suggested{40, 30, 0, 0};
  ::SendMessageW(form->hwnd, WM_DPICHANGED, MAKEWPARAM(to, to),
                 reinterpret_cast<LPARAM>(&suggested));
  RECT client, stages;
  ::GetClientRect(form->hwnd, &client);
  EXPECT_EQ(client.right, win32::Px(3735, to));
  EXPECT_EQ(client.bottom, win32::Px(3135, to));
  ::GetWindowRect(form->Control("cboStages"), &stages);
  ::MapWindowPoints(nullptr, form->hwnd, reinterpret_cast<POINT*>(&stages), 2);
  EXPECT_EQ(stages.top, win32::Px(2775, to));
  EXPECT_EQ(stages.right - stages.left, win32::Px(3735, to));
  LOGFONTW font{};
  ::GetObjectW(
      reinterpret_cast<HFONT>(::SendMessageW(form->Control("cboStages"), WM_GETFONT, 0, 0)),
      sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -std::lround(9.75 * to / 72.0));
}

// The About window: the status line names what the link under the mouse
// does, the link is coloured while pressed, and a left click (or Return or
// Space on the link Tab reached) opens it.
TEST_F(FormTest, TheAboutWindowsLinks) {
  Load();
  frmAbout about(form->hwnd);
  about.opener = [this](const std::string& target) { opened.push_back(target); };
  ::ShowWindow(about.hwnd, SW_SHOW);
  const auto mouse = [](HWND control, UINT message) {
    ::SendMessageW(control, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(3, 3));
  };
  EXPECT_EQ(win32::TextOf(about.lblTitle), "Kestrum");
  EXPECT_EQ(win32::TextOf(about.lblVersion), "v1.00.0002 (Build Date: 02/17/98 2:41p)");
  mouse(about.imgEMail, WM_MOUSEMOVE);
  EXPECT_EQ(win32::TextOf(about.lblStatus), "Send me some EMail!");
  mouse(about.lblEMail, WM_MOUSEMOVE);
  EXPECT_EQ(about.StatusWrites(), 1);
  mouse(about.lblTitle, WM_MOUSEMOVE);
  EXPECT_EQ(win32::TextOf(about.lblStatus), "");
  mouse(about.imgHomePage, WM_RBUTTONDOWN);
  EXPECT_EQ(about.LinkColour(about.lblHomePage), frmAbout::kPressedColour);
  mouse(about.imgHomePage, WM_RBUTTONUP);
  EXPECT_EQ(about.LinkColour(about.lblHomePage), frmAbout::kLinkColour);
  EXPECT_TRUE(opened.empty());
  mouse(about.lblEMail, WM_LBUTTONDOWN);
  EXPECT_EQ(about.LinkColour(about.lblEMail), frmAbout::kPressedColour);
  mouse(about.lblEMail, WM_LBUTTONUP);
  mouse(about.imgHomePage, WM_LBUTTONDOWN);
  mouse(about.imgHomePage, WM_LBUTTONUP);
  EXPECT_EQ(opened,
            (std::vector<std::string>{std::string("mailto:") + kAuthorEMail, kAuthorHomePage}));

  // The keyboard: Tab reaches each link, Return or Space opens it.
  opened.clear();
  ::SetFocus(about.txtMessage);
  const auto key = [&](WPARAM virtualKey) {
    for (UINT message : {WM_KEYDOWN, WM_CHAR}) {
      if (message == WM_CHAR && virtualKey == VK_TAB) continue;
      MSG typed{::GetFocus(), message, virtualKey, 0, 0, {}};
      if (!about.HandlesDialogMessage(&typed)) ::DispatchMessageW(&typed);
    }
  };
  key(VK_TAB);
  EXPECT_EQ(::GetFocus(), about.lblEMail);
  key(VK_RETURN);
  key(VK_TAB);
  EXPECT_EQ(::GetFocus(), about.lblHomePage);
  key(VK_SPACE);
  EXPECT_EQ(opened,
            (std::vector<std::string>{std::string("mailto:") + kAuthorEMail, kAuthorHomePage}));
}

// The sweep of old runs never goes through a link or a junction planted
// where Kestrum keeps them: what lies behind one is the user's own.
TEST(Staging, TheSweepNeverFollowsALink) {
  wchar_t temp[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, temp);
  const fs::path base = fs::path(temp) / "kestrum";
  const fs::path mine = fs::path(temp) / ("kw-user-" + std::to_string(::GetCurrentProcessId()));
  fs::create_directories(base);
  fs::create_directories(mine);
  std::ofstream(mine / "precious.txt") << "keep";
  const fs::path planted = base / "run-1-1";
  if (!::CreateSymbolicLinkW(planted.wstring().c_str(), mine.wstring().c_str(),
                             SYMBOLIC_LINK_FLAG_DIRECTORY)) {
    fs::remove_all(mine);
    GTEST_SKIP() << "no links can be made here";
  }
  std::ofstream(mine / "x.map") << "map";
  platform::dosview::Drive drive;
  drive.hostFile = reinterpret_cast<const char*>((mine / "x.map").u8string().c_str());
  drive.identity = platform::LocateFile(platform::HostPath{drive.hostFile}).identity;
  drive.dosName = "x.map";
  platform::system::Mounted staged = platform::system::StageRun(&drive);
  EXPECT_FALSE(staged.failure) << staged.failure.folder;
  EXPECT_TRUE(fs::exists(mine / "precious.txt"));
  EXPECT_TRUE(fs::exists(mine / "x.map"));
  if (staged.release) staged.release();
  ::RemoveDirectoryW(planted.wstring().c_str());
  std::error_code ignored;
  fs::remove_all(mine, ignored);
}

}  // namespace
