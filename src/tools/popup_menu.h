// The start button's popup menu: its items in display order, and what each
// does when chosen (app/main_form runs it). The form that shows it (frmPopup)
// only builds the tree.
#pragma once

#include <string>
#include <vector>

#include "base/launch_options.h"

// What choosing an item does.
enum class PopupCommand {
  kNone,
  kDukeHelp,
  kSetup,
  kEngine,      // the game program: the item's engine
  kContinue,    // the newest saved game the engine can load
  kSavedGames,  // the list of saved games to continue one of
  kPreset,      // a preset to play (the item's slot), or none
  kSavePreset,  // the window's choices kept as a preset
  kEditPresets,
  kEMail,
  kHomepage,
  kAbout,
  kExit,
};

struct PopupMenuItem {
  std::string name;     // mnuOthers, mnuDukeHelp, ...; empty for a separator
  const char* caption;  // "-" for a separator
  int level;            // 1: in the popup itself, 2: in the submenu above it
  bool opensSubmenu;
  PopupCommand command;
  // Shown only where the game's folder holds more than one game program;
  // the engine items are radio items, the chosen one checked.
  bool withEngines = false;
  GameEngine engine = GameEngine::kDos;  // kEngine: which
  // kPreset: the preset's place in the store's list; -1 for none. Shown
  // only while there is a preset there, named by it.
  int slot = -1;
};
// The most presets the menu names (the editor lists them all).
inline constexpr int kPresetSlots = 20;
// Below the root mnuPopup ("Popup", never displayed). The engine items are
// one for each row of the engine table.
const std::vector<PopupMenuItem>& PopupMenu();
