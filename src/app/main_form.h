// The main window's sequences, the same for every front end: start-up, the
// launch of the game and of the companion tools, the user's files, the
// popup menu, and coming back to Kestrum while a started program runs. A
// form (Qt's, Win32's) gives the widgets and the dialogs through
// MainFormPort and calls these from its event handlers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/launch_options.h"
#include "base/main_window.h"
#include "base/main_window_port.h"
#include "base/message.h"
#include "tools/companion_tools.h"
#include "tools/popup_menu.h"

// The Open dialog's fixed settings, its filter as description and pattern
// pairs ("*.map;*.grp"), in the order the dialog offers them.
struct OpenDialogSettings {
  struct Filter {
    std::string description;
    std::string patterns;
  };
  std::string title;
  std::string defaultExtension;
  std::vector<Filter> filters;
};
const OpenDialogSettings& OpenDialog();

// The option lists' entries and the slider's range, as every form shows them.
using mainwindow::kMostFakers;
using mainwindow::RespawnEntries;
using mainwindow::SkillEntries;
using mainwindow::SoundEntries;

class MainFormPort : public MainWindowPort {
 public:
  // A modal message box with an OK button; returns when it is closed.
  virtual void ShowMessage(const Message& message) = 0;
  // The window takes the input focus, leaving it on the control that had it.
  virtual void TakeFocus() = 0;
  virtual void ShowWindow() = 0;
  virtual void Minimize() = 0;
  // Back from minimised; without taking the activation from the window that
  // holds it, when told so.
  virtual void Restore(bool leaveActivationAlone) = 0;
  // An option control of the window's table set to a value in its range;
  // a control that changes raises its own handler.
  virtual void ShowOption(const mainwindow::Control& control, int value) = 0;
  // Modal dialogs; each gives the host path chosen, or the empty text.
  virtual std::string ChooseFile(const OpenDialogSettings& settings,
                                 const std::string& hostFolder) = 0;
  virtual std::string ChooseFolder(const std::string& title, const std::string& hostFolder) = 0;
  // A modal choice of one of the entries; its position, or -1 when cancelled.
  virtual int ChooseFromList(const std::string& title, const std::string& prompt,
                             const std::vector<std::string>& entries) = 0;
  // The popup menu at a point of the client area, in pixels; returns when it
  // has closed. A chosen item runs afterwards, as its own event.
  virtual void ShowPopupMenu(int x, int y) = 0;
  virtual void ShowAbout() = 0;
  // Runs the action once, that many milliseconds from now, as an event of
  // the window's own (never while another handler runs); not after the
  // window is gone.
  virtual void After(int milliseconds, std::function<void()> action) = 0;
};

namespace mainform {

// The one main window of the process while it exists (for the popup menu
// and the end of the program); null before and after.
MainFormPort* Window();
void SetWindow(MainFormPort* window);

// Start-up in its fixed order; false when this copy must end (another runs,
// or Kestrum was started again from the game's folder).
bool StartUp(MainFormPort& window);

void LaunchGame(MainFormPort& window);         // cmdLaunch_Click
void ShowCommandLine(MainFormPort& window);    // cmdDebug_Click
void OpenUserFile(MainFormPort& window);       // cmdOpen_Click
void OpenCompanionText(MainFormPort& window);  // cmdText_Click
void DropFiles(MainFormPort& window, const std::vector<std::string>& hostPaths);
void RunCompanionTool(MainFormPort& window, CompanionToolId id);
void ShowPopupMenu(MainFormPort& window);  // cmdStart_Click
void ShowAbout(MainFormPort& window);      // cmdAbout_Click
// What a toolbar button (or the hidden Debug button) does: one of the above.
void Run(MainFormPort& window, mainwindow::Command command);

// The user is back in Kestrum (the window became active, or left its
// minimised state): a started program's window comes to the front first,
// once Kestrum holds the focus, then Kestrum's own is restored.
void CameBack(MainFormPort& window, bool holdsTheFocus);
// True from a successful launch until the user comes back.
bool WaitingForReturn();
// Whether a started program waits to be brought to the front.
bool TaskToBringForward();

// Forgets every started program (tests).
void ResetForTesting();

}  // namespace mainform

// Runs what a chosen item of the start button's popup menu does.
void PopupMenuItemChosen(PopupCommand command);
// Whether an item of the popup menu is there now, and whether it is checked
// (the game program chosen).
bool PopupItemShown(const PopupMenuItem& item);
bool PopupItemChecked(const PopupMenuItem& item);
