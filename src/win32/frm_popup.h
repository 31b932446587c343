// The start button's popup menu in Win32. Its form is never shown: it only
// owns the menu tree, made from the core's table on first use.
#pragma once

#include "win32/controls.h"

#include <functional>

struct PopupMenuItem;
template <class Form>
class PopupWindowOf;

class frmPopup {
 public:
  // Posted to the main window when an item was chosen: the choice runs as
  // its own event, after the menu has closed.
  static constexpr UINT kItemChosen = WM_APP + 1;

  static frmPopup& Instance();
  static bool Exists();
  static void Release();
  static int CreatedCount();

  // Shows the tree at a point of the window's client area, in pixels, and
  // returns when the menu has closed.
  void ShowPopup(HWND window, int x, int y);
  // Runs the action of the item posted with kItemChosen.
  static void Chosen(int itemId);

  HMENU mnuPopup = nullptr;
  // The command id of the item of that name (mnuExit, ...).
  static int IdOf(const char* item);

  // Tests choose for the user: the hook gets the menu and gives the id of
  // the item chosen (0: dismissed).
  static void SetChoiceHookForTesting(std::function<int(HMENU)> hook);

 private:
  friend class PopupWindowOf<frmPopup>;
  frmPopup();
  ~frmPopup();
  // The game program's items of Others, as they are now.
  void ShowItems(HMENU menu, int keep, bool (*belongs)(const PopupMenuItem&));

  HMENU presets_ = nullptr;
  HMENU others_ = nullptr;
};
