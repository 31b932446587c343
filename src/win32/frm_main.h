// The main window in Win32: the toolbar, the option panel and the stage
// list. Its handlers copy control state into LaunchOptions and call the core.
#pragma once

#include "win32/controls.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_form.h"
#include "base/main_window.h"

class frmMain : public MainFormPort {
 public:
  frmMain();
  ~frmMain() override;
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  static constexpr const wchar_t* kWindowClass = L"KestrumMain";

  // The start-up sequence; false when this copy must end.
  bool Form_Load();
  void Form_Unload();

  HWND hwnd = nullptr;  // the window itself
  // A control of the core's table of the window, by its name (cmdStart,
  // chkRecord, ...); null for a name the table does not have. Its control
  // id is mainwindow::IdOf: another program (a test, a screen reader) finds
  // it by that.
  HWND Control(std::string_view name) const;

  // Option handlers.
  // An option control changed: the core's option follows.
  void Option_Change(const mainwindow::Control& control);
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
  void TakeFocus() override;
  void ShowWindow() override;
  void Minimize() override;
  void Restore(bool leaveActivationAlone) override;
  void ShowOption(const mainwindow::Control& control, int value) override;
  void EnableOption(const mainwindow::Control& control, bool enabled,
                    const std::string& whyNot) override;
  void ShowPopupMenu(int x, int y) override;
  void ShowAbout() override;
  void After(int milliseconds, std::function<void()> action) override;

 protected:
  void ShowMessageBox(const Message& message) override;
  std::string AskForFile(const OpenDialogSettings& settings,
                         const std::string& hostFolder) override;
  std::string AskForFolder(const std::string& title, const std::string& hostFolder) override;
  int AskFromList(const std::string& title, const std::string& prompt,
                  const std::vector<std::string>& entries,
                  const std::vector<std::string>& greyed) override;
  std::string AskForText(const std::string& title, const std::string& prompt,
                         const std::string& text) override;

 public:
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
  std::map<std::string, std::string> whyNot_;  // a disabled option's tool tip, by control
  bool stagesToShow_ = false;
  UINT dpi_ = 96;
  std::vector<HBITMAP> pictures_;
  // Every control in the table's order, and those the form treats in its
  // own way, found by their role in the table.
  std::vector<HWND> controls_;
  HWND panel_ = nullptr, dropTarget_ = nullptr, textButton_ = nullptr, stages_ = nullptr;
  HWND fakers_ = nullptr, fakersShown_ = nullptr, firstButton_ = nullptr;
  // Actions waiting for their timer, by the timer's id.
  std::map<UINT_PTR, std::function<void()>> after_;
  UINT_PTR nextTimer_ = 1;
};

// The message loop of the program: Tab, the arrow keys and access keys move
// among the main window's controls as in a dialog.
int RunMessageLoop(frmMain& window);
