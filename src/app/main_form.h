// The main window's sequences, the same for every front end: start-up, the
// launch of the game and of the companion tools, the user's files, the
// popup menu, and coming back to Kestrum while a started program runs. A
// form (Qt's, Win32's) gives the widgets and the dialogs through
// MainFormPort and calls these from its event handlers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/engine_shown.h"
#include "app/main_form_port.h"
#include "base/main_window.h"
#include "tools/companion_tools.h"
#include "tools/popup_menu.h"

namespace mainform {

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
// A document or link opened as the window opens them (its session's way,
// else the desktop's).
void OpenDocument(const MainFormPort& window, const std::string& target);
// What a toolbar button (or the hidden Debug button) does: one of the above.
void Run(MainFormPort& window, mainwindow::Command command);

// The user picked an entry of the stage list, or typed a key in it
// (Backspace takes the user entry away): what the engine takes follows.
void StageSelected(MainFormPort& window, int index);
void StagesKeyTyped(MainFormPort& window, int keyAscii);

// The user is back in Kestrum (the window became active, or left its
// minimised state): a started program's window comes to the front first,
// once Kestrum holds the focus, then Kestrum's own is restored.
void CameBack(MainFormPort& window, bool holdsTheFocus);
// True from a successful launch until the user comes back.
bool WaitingForReturn(const MainFormPort& window);
// Whether a started program waits to be brought to the front.
bool TaskToBringForward(const MainFormPort& window);
// Starts the newest saved game the engine can load; lists every saved game
// of the engine to continue one of.
void ContinueGame(MainFormPort& window);
void ShowSavedGames(MainFormPort& window);

}  // namespace mainform

// Runs what a chosen item of the start button's popup menu does (the first
// item of that command).
void PopupMenuItemChosen(PopupCommand command);
void PopupMenuItemChosen(const PopupMenuItem& item);
// Which items of the popup menu are there now (in PopupMenu's order), and
// whether an item is checked (the game program chosen).
std::vector<bool> PopupItemsShown();
bool PopupItemChecked(const PopupMenuItem& item);
// What an item says now, whether it can be chosen, and why not: "Continue"
// names the newest saved game the engine can load.
struct PopupItemState {
  std::string caption;
  bool enabled = true;
  std::string toolTip;
};
PopupItemState PopupItemNow(const PopupMenuItem& item);
