// The start button's popup menu: its items in display order, and what each
// does when chosen (app/main_form runs it). The form that shows it (frmPopup)
// only builds the tree.
#pragma once

#include <string>
#include <utility>
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

// The popup menu's window of a front end, by one rule for both: made,
// hidden, on its first use and the same one afterwards, until the end of the
// program lets it go (the process's one reference to it). Counted, so that a
// test sees it made once.
template <class Form>
class PopupWindowOf {
 public:
  static Form& Instance() {
    if (Held() == nullptr) {
      Held() = new Form();
      ++Made();
    }
    return *Held();
  }
  static bool Exists() { return Held() != nullptr; }
  // Lets it go, disposed of as its toolkit must.
  template <class Dispose>
  static void Release(Dispose dispose) {
    if (Form* form = std::exchange(Held(), nullptr)) dispose(form);
  }
  static int CreatedCount() { return Made(); }

 private:
  static Form*& Held() {
    static Form* form = nullptr;
    return form;
  }
  static int& Made() {
    static int made = 0;
    return made;
  }
};
