// The start button's popup menu: its items in display order, and what each
// does when chosen. The form that shows it (frmPopup) only builds the tree.
#pragma once

#include <string>
#include <vector>

struct PopupMenuItem {
  const char* name;     // mnuOthers, mnuDukeHelp, ...; empty for a separator
  const char* caption;  // "-" for a separator
  int level;            // 1: in the popup itself, 2: in the submenu above it
  bool opensSubmenu;
};
// Below the root mnuPopup ("Popup", never displayed).
const std::vector<PopupMenuItem>& PopupMenu();

// Runs the action of a chosen item (its handler: mnuSetup_Click, ...).
void PopupMenuItemChosen(const std::string& handler);
