// The start button's popup menu: its items in display order, and what each
// does when chosen (app/main_form runs it). The form that shows it (frmPopup)
// only builds the tree.
#pragma once

#include <vector>

// What choosing an item does.
enum class PopupCommand {
  kNone,
  kDukeHelp,
  kSetup,
  kEngineDos,      // the game program: the DOS game
  kEngineEDuke32,  // the game program: the source port
  kEMail,
  kHomepage,
  kAbout,
  kExit,
};

struct PopupMenuItem {
  const char* name;     // mnuOthers, mnuDukeHelp, ...; empty for a separator
  const char* caption;  // "-" for a separator
  int level;            // 1: in the popup itself, 2: in the submenu above it
  bool opensSubmenu;
  PopupCommand command;
  // Shown only where the game's folder holds both game programs; the two
  // engine items are radio items, the chosen one checked.
  bool withBothEngines = false;
};
// Below the root mnuPopup ("Popup", never displayed).
const std::vector<PopupMenuItem>& PopupMenu();
