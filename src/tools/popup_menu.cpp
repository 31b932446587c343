#include "tools/popup_menu.h"

#include "app/exit_program.h"
#include "app/main_form.h"
#include "launch/shell_paths.h"
#include "tools/author_links.h"

const std::vector<PopupMenuItem>& PopupMenu() {
  static const std::vector<PopupMenuItem> items = {
      {"mnuOthers", "Others", 1, true},
      {"mnuDukeHelp", "DN3DHelp.exe", 2, false},
      {"mnuSetup", "Duke Setup.exe", 2, false},
      {"mnuSep1", "-", 1, false},
      {"mnuHelp", "Help", 1, true},
      {"mnuEMail", "Send EMail", 2, false},
      {"mnuHomepage", "Goto Homepage", 2, false},
      {"mnuSep2", "-", 2, false},
      {"mnuAbout", "About Kestrum", 2, false},
      {"mnuSep3", "-", 1, false},
      {"mnuExit", "Exit", 1, false},
  };
  return items;
}

void PopupMenuItemChosen(const std::string& handler) {
  MainFormPort* window = mainform::Window();
  if (handler == "mnuDukeHelp_Click" || handler == "mnuSetup_Click") {
    if (window != nullptr) mainform::RunCompanionTool(*window, handler);
  } else if (handler == "mnuEMail_Click") {
    ShellOpen(std::string("mailto:") + kAuthorEMail);
  } else if (handler == "mnuHomepage_Click") {
    ShellOpen(kAuthorHomePage);
  } else if (handler == "mnuAbout_Click") {
    // The same modal window as the toolbar's, without taking the focus first.
    if (window != nullptr) window->ShowAbout();
  } else if (handler == "mnuExit_Click") {
    ExitProgram();
  }
}
