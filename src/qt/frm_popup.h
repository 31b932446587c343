// The popup menu of the start button. Its form is never shown: it only owns
// the menu tree.
#pragma once

#include <utility>
#include <vector>

#include "tools/popup_menu.h"

#include <QMenu>
#include <QWidget>

class frmPopup : public QWidget {
 public:
  // Created, hidden, on first use; the same form afterwards.
  static frmPopup& Instance();
  static bool Exists();
  static void Release();

  // Shows the tree at a point of the window's client area, in pixels, and
  // returns when the menu has closed.
  void ShowPopup(QWidget* window, const QPoint& clientPoint);

  QMenu* mnuPopup;
  QMenu* mnuOthers;
  QAction* mnuDukeHelp;
  QAction* mnuSetup;
  QMenu* mnuPresets = nullptr;
  QMenu* mnuHelp;
  QAction* mnuEMail;
  QAction* mnuHomepage;
  QAction* mnuAbout;
  QAction* mnuExit;

  void mnuDukeHelp_Click();
  void mnuSetup_Click();
  void mnuEMail_Click();
  void mnuHomepage_Click();
  void mnuAbout_Click();
  void mnuExit_Click();

  // How many times the form was made in this process.
  static int CreatedCount();

 private:
  friend class PopupWindowOf<frmPopup>;
  frmPopup();

  // Every item as the menu shows it, for what changes between showings.
  std::vector<std::pair<QAction*, const PopupMenuItem*>> items_;
};
