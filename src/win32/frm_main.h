// The main window in Win32: the toolbar, the option panel and the stage
// list. Its handlers copy control state into LaunchOptions and call the core.
#pragma once

#include "win32/controls.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/main_form.h"

class frmMain : public MainFormPort {
 public:
  frmMain();
  ~frmMain() override;
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // The controls' ids: another program (a test, a screen reader) finds
  // them by these.
  enum ControlId {
    kStart = 100,
    kOpen,
    kText,
    kLaunch,
    kBuild,
    kEditArt,
    kAbout,
    kDebug,
    kRecord,
    kMonsters,
    kArtInt,
    kLabelRecord,
    kLabelMonsters,
    kSound,
    kSkills,
    kRespawn,
    kFakersText,
    kFakers,
    kStages,
    kLabels
  };
  static constexpr const wchar_t* kWindowClass = L"KestrumMain";

  // The start-up sequence; false when this copy must end.
  bool Form_Load();
  void Form_Unload();

  HWND hwnd = nullptr;  // the window itself
  HWND cmdStart = nullptr, cmdOpen = nullptr, cmdText = nullptr, cmdLaunch = nullptr;
  HWND cmdBuild = nullptr, cmdEditArt = nullptr, cmdAbout = nullptr, cmdDebug = nullptr;
  HWND picMain = nullptr;
  HWND chkRecord = nullptr, chkMonsters = nullptr, chkArtInt = nullptr;
  HWND lblRecord = nullptr, lblMonsters = nullptr, lblSound = nullptr, lblSkill = nullptr;
  HWND lblRespawn = nullptr, lblFakePlayers = nullptr;
  HWND cboSound = nullptr, cboSkills = nullptr, cboRespawn = nullptr;
  HWND txtFakePlayers = nullptr, hsbFakePlayers = nullptr;
  HWND cboStages = nullptr;

  // Option handlers.
  // A check box or an option list changed: the core's option follows.
  void Option_Change(HWND frmMain::*control);
  void lblRecord_Click();
  void lblMonsters_Click();
  void hsbFakePlayers_Scroll(int position);
  void hsbFakePlayers_Change();
  void txtFakePlayers_Change();

  void cmdStart_OLEDragDrop(const std::vector<std::string>& fileNames);
  void cboStages_KeyPress(int keyAscii);

  // A check box's value as the record holds it: 0, 1 or 2 (grayed).
  static int Value(HWND checkBox);
  std::string ToolTipOf(HWND control);
  UINT Dpi() const { return dpi_; }

  // MainWindowPort
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  void ShowArtInt() override;
  void SetTextButtonEnabled(bool enabled) override;
  void SetTextButtonToolTip(const std::string& tip) override;
  double Left() const override;
  double Top() const override;
  double Width() const override;
  void SetLeft(double twips) override;
  void SetTop(double twips) override;
  double ScreenWidth() const override;
  double ScreenHeight() const override;
  std::vector<Area> Screens() const override;
  bool KnowsItsPosition() const override { return true; }

  // MainFormPort
  void ShowMessage(const Message& message) override;
  void TakeFocus() override;
  void ShowWindow() override;
  void Minimize() override;
  void Restore(bool leaveActivationAlone) override;
  void ShowOptions(const LaunchOptionsRecord& values) override;
  std::string ChooseFile(const OpenDialogSettings& settings,
                         const std::string& hostFolder) override;
  std::string ChooseFolder(const std::string& title, const std::string& hostFolder) override;
  int ChooseFromList(const std::string& title, const std::string& prompt,
                     const std::vector<std::string>& entries) override;
  void ShowPopupMenu(int x, int y) override;
  void ShowAbout() override;
  void After(int milliseconds, std::function<void()> action) override;

  // What the window does with a message; the window procedure's work.
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // A control's notification (from the window or from the option panel).
  bool Command(HWND control, int code);

 private:
  void Create();
  void Layout(UINT dpi);
  void SetFonts();
  HWND ToolTips();
  HWND tips_ = nullptr;
  void ShowStages();
  void FillStages();
  std::string toolTipText_;
  bool stagesToShow_ = false;
  UINT dpi_ = 96;
  std::vector<HBITMAP> pictures_;
  // Actions waiting for their timer, by the timer's id.
  std::map<UINT_PTR, std::function<void()>> after_;
  UINT_PTR nextTimer_ = 1;
};

// The message loop of the program: Tab, the arrow keys and access keys move
// among the main window's controls as in a dialog.
int RunMessageLoop(frmMain& window);
