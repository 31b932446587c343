#include "win32/frm_popup.h"

#include <string>

#include "app/main_form.h"
#include "tools/popup_menu.h"

namespace {
// The items of the presets' submenu, put in each time the menu shows.
bool InPresets(const PopupMenuItem& item) {
  return item.command == PopupCommand::kPreset || item.command == PopupCommand::kSavePreset ||
         item.command == PopupCommand::kEditPresets || item.name == "mnuSepPresets";
}
// Without tool tips on a menu, a disabled item's reason is in its caption.
std::string CaptionOf(const PopupItemState& now) {
  return now.enabled || now.toolTip.empty() ? now.caption : now.caption + " (" + now.toolTip + ")";
}

std::function<int(HMENU)>& ChoiceHook() {
  static std::function<int(HMENU)> hook;
  return hook;
}
constexpr int kFirstId = 1000;
}  // namespace

frmPopup& frmPopup::Instance() {
  return PopupWindowOf<frmPopup>::Instance();
}
bool frmPopup::Exists() {
  return PopupWindowOf<frmPopup>::Exists();
}
void frmPopup::Release() {
  PopupWindowOf<frmPopup>::Release([](frmPopup* form) { delete form; });
}
int frmPopup::CreatedCount() {
  return PopupWindowOf<frmPopup>::CreatedCount();
}
void frmPopup::SetChoiceHookForTesting(std::function<int(HMENU)> hook) {
  ChoiceHook() = std::move(hook);
}

int frmPopup::IdOf(const char* item) {
  const auto& items = PopupMenu();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].name == item) return kFirstId + static_cast<int>(i);
  }
  return 0;
}

frmPopup::frmPopup() {
  mnuPopup = ::CreatePopupMenu();
  HMENU submenu = nullptr;
  const auto& items = PopupMenu();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const PopupMenuItem& item = items[i];
    // Those shown only at times are put in each time the menu shows.
    if (item.withEngines || InPresets(item)) continue;
    HMENU menu = item.level == 1 ? mnuPopup : submenu;
    const std::wstring caption = win32::Wide(item.caption);
    if (caption == L"-") {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (item.opensSubmenu) {
      submenu = ::CreatePopupMenu();
      if (item.name == "mnuOthers") others_ = submenu;
      if (item.name == "mnuPresets") presets_ = submenu;
      ::AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                    caption.c_str());
    } else {
      ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(kFirstId + i), caption.c_str());
    }
  }
}

frmPopup::~frmPopup() {
  ::DestroyMenu(mnuPopup);
}

// The items of a submenu shown only at times, put in again after the first
// `keep` of its own, each as it is now.
void frmPopup::ShowItems(HMENU menu, int keep, bool (*belongs)(const PopupMenuItem&)) {
  while (::GetMenuItemCount(menu) > keep)
    ::RemoveMenu(menu, static_cast<UINT>(keep), MF_BYPOSITION);
  const auto& items = PopupMenu();
  const std::vector<bool> shown = PopupItemsShown();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const PopupMenuItem& item = items[i];
    if (!belongs(item) || !shown[i]) continue;
    if (std::string(item.caption) == "-") {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT id = static_cast<UINT>(kFirstId + i);
    // Without tool tips on a menu, a disabled item's reason is its caption.
    const PopupItemState now = PopupItemNow(item);
    const std::string caption = CaptionOf(now);
    ::AppendMenuW(menu, MF_STRING | (now.enabled ? 0u : MF_GRAYED), id,
                  win32::Wide(caption).c_str());
    if (PopupItemChecked(item)) ::CheckMenuRadioItem(menu, id, id, id, MF_BYCOMMAND);
  }
}

void frmPopup::ShowPopup(HWND window, int x, int y) {
  // Others' own two items stay; the engine items follow them when shown.
  ShowItems(others_, 2, [](const PopupMenuItem& item) { return item.withEngines; });
  ShowItems(presets_, 0, InPresets);
  // What the items that follow the saves say now.
  const auto& items = PopupMenu();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].command != PopupCommand::kContinue) continue;
    const PopupItemState now = PopupItemNow(items[i]);
    const UINT id = static_cast<UINT>(kFirstId + i);
    const std::string caption = CaptionOf(now);
    ::ModifyMenuW(mnuPopup, id, MF_BYCOMMAND | MF_STRING | (now.enabled ? 0u : MF_GRAYED), id,
                  win32::Wide(caption).c_str());
  }
  POINT at{x, y};
  ::ClientToScreen(window, &at);
  int chosen = 0;
  if (ChoiceHook()) {
    chosen = ChoiceHook()(mnuPopup);
  } else {
    // The menu must belong to the foreground window to close when the user
    // clicks elsewhere.
    ::SetForegroundWindow(window);
    chosen = static_cast<int>(::TrackPopupMenu(
        mnuPopup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
        at.x, at.y, 0, window, nullptr));
    ::PostMessageW(window, WM_NULL, 0, 0);
  }
  if (chosen != 0) ::PostMessageW(window, kItemChosen, static_cast<WPARAM>(chosen), 0);
}

void frmPopup::Chosen(int itemId) {
  const auto& items = PopupMenu();
  const int index = itemId - kFirstId;
  if (index < 0 || index >= static_cast<int>(items.size())) return;
  PopupMenuItemChosen(items[static_cast<std::size_t>(index)]);
}
