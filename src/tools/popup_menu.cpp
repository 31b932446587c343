#include "tools/popup_menu.h"

const std::vector<PopupMenuItem>& PopupMenu() {
  static const std::vector<PopupMenuItem> items = {
      {"mnuOthers", "Others", 1, true, PopupCommand::kNone},
      {"mnuDukeHelp", "DN3DHelp.exe", 2, false, PopupCommand::kDukeHelp},
      {"mnuSetup", "Duke Setup.exe", 2, false, PopupCommand::kSetup},
      {"mnuSepEngine", "-", 2, false, PopupCommand::kNone, true},
      {"mnuEngineDos", "Duke3D.exe", 2, false, PopupCommand::kEngineDos, true},
      {"mnuEngineEDuke32", "EDuke32", 2, false, PopupCommand::kEngineEDuke32, true},
      {"mnuSep1", "-", 1, false, PopupCommand::kNone},
      {"mnuHelp", "Help", 1, true, PopupCommand::kNone},
      {"mnuEMail", "Send EMail", 2, false, PopupCommand::kEMail},
      {"mnuHomepage", "Goto Homepage", 2, false, PopupCommand::kHomepage},
      {"mnuSep2", "-", 2, false, PopupCommand::kNone},
      {"mnuAbout", "About Kestrum", 2, false, PopupCommand::kAbout},
      {"mnuSep3", "-", 1, false, PopupCommand::kNone},
      {"mnuExit", "Exit", 1, false, PopupCommand::kExit},
  };
  return items;
}
