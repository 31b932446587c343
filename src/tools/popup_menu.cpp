#include "tools/popup_menu.h"

#include <algorithm>
#include <string>

#include "launch/engine.h"

const std::vector<PopupMenuItem>& PopupMenu() {
  static const std::vector<PopupMenuItem> items = [] {
    std::vector<PopupMenuItem> made = {
        {"mnuOthers", "Others", 1, true, PopupCommand::kNone},
        {"mnuDukeHelp", "DN3DHelp.exe", 2, false, PopupCommand::kDukeHelp},
        {"mnuSetup", "Duke Setup.exe", 2, false, PopupCommand::kSetup},
        {"mnuSepEngine", "-", 2, false, PopupCommand::kNone, true},
    };
    for (const launch::EngineRow& row : launch::Engines()) {
      made.push_back({std::string("mnuEngine_") + row.savedAs, row.menuText, 2, false,
                      PopupCommand::kEngine, true, row.id});
    }
    const std::vector<PopupMenuItem> rest = {
        {"mnuSep1", "-", 1, false, PopupCommand::kNone},
        {"mnuHelp", "Help", 1, true, PopupCommand::kNone},
        {"mnuEMail", "Send EMail", 2, false, PopupCommand::kEMail},
        {"mnuHomepage", "Goto Homepage", 2, false, PopupCommand::kHomepage},
        {"mnuSep2", "-", 2, false, PopupCommand::kNone},
        {"mnuAbout", "About Kestrum", 2, false, PopupCommand::kAbout},
        // Presets and the saved games, after the menus the game's own
        // releases had.
        {"mnuPresets", "Presets", 1, true, PopupCommand::kNone},
        {"mnuPresetNone", "None", 2, false, PopupCommand::kPreset},
        {"mnuContinue", "Continue", 1, false, PopupCommand::kContinue},
        {"mnuSavedGames", "Saved games...", 1, false, PopupCommand::kSavedGames},
        {"mnuSep3", "-", 1, false, PopupCommand::kNone},
        {"mnuExit", "Exit", 1, false, PopupCommand::kExit},
    };
    const auto presets = std::find_if(rest.begin(), rest.end(), [](const PopupMenuItem& item) {
      return item.command == PopupCommand::kPreset;
    });
    made.insert(made.end(), rest.begin(), presets + 1);
    for (int slot = 0; slot < kPresetSlots; ++slot) {
      PopupMenuItem item{"mnuPreset_" + std::to_string(slot + 1), "", 2, false,
                         PopupCommand::kPreset};
      item.slot = slot;
      made.push_back(item);
    }
    const std::vector<PopupMenuItem> presetActions = {
        {"mnuSepPresets", "-", 2, false, PopupCommand::kNone},
        {"mnuSavePreset", "Save these choices as a preset...", 2, false, PopupCommand::kSavePreset},
        {"mnuEditPresets", "Edit presets...", 2, false, PopupCommand::kEditPresets},
    };
    made.insert(made.end(), presetActions.begin(), presetActions.end());
    made.insert(made.end(), presets + 1, rest.end());
    return made;
  }();
  return items;
}
