#include "qt/frm_popup.h"

#include <QActionGroup>

#include "app/main_form.h"
#include "tools/popup_menu.h"

frmPopup& frmPopup::Instance() {
  return PopupWindowOf<frmPopup>::Instance();
}

bool frmPopup::Exists() {
  return PopupWindowOf<frmPopup>::Exists();
}

void frmPopup::Release() {
  PopupWindowOf<frmPopup>::Release([](frmPopup* form) { form->deleteLater(); });
}

int frmPopup::CreatedCount() {
  return PopupWindowOf<frmPopup>::CreatedCount();
}

frmPopup::frmPopup() {
  setObjectName("frmPopup");
  setWindowTitle("Popup Menus");

  mnuPopup = new QMenu("Popup", this);
  mnuPopup->setObjectName("mnuPopup");
  // A disabled item says why.
  mnuPopup->setToolTipsVisible(true);
  QMenu* submenu = nullptr;
  auto* engines = new QActionGroup(this);
  auto* presets = new QActionGroup(this);
  for (const PopupMenuItem& item : PopupMenu()) {
    QMenu* menu = item.level == 1 ? mnuPopup : submenu;
    QAction* action = nullptr;
    if (std::string(item.caption) == "-") {
      action = menu->addSeparator();
    } else if (item.opensSubmenu) {
      submenu = menu->addMenu(item.caption);
      submenu->setObjectName(QString::fromStdString(item.name));
      action = submenu->menuAction();
    } else {
      action = menu->addAction(item.caption);
    }
    if (!item.opensSubmenu) action->setObjectName(QString::fromStdString(item.name));
    items_.emplace_back(action, &item);
    if (item.command == PopupCommand::kEngine || item.command == PopupCommand::kPreset) {
      action->setCheckable(true);
      (item.command == PopupCommand::kEngine ? engines : presets)->addAction(action);
    }
    if (item.command == PopupCommand::kEngine || item.command == PopupCommand::kContinue ||
        item.command == PopupCommand::kSavedGames || item.command == PopupCommand::kPreset ||
        item.command == PopupCommand::kSavePreset || item.command == PopupCommand::kEditPresets) {
      connect(
          action, &QAction::triggered, this, [&item] { PopupMenuItemChosen(item); },
          Qt::QueuedConnection);
    }
  }
  const std::vector<bool> shown = PopupItemsShown();
  for (const auto& [action, item] : items_) {
    action->setVisible(shown[static_cast<std::size_t>(item - PopupMenu().data())]);
  }
  mnuOthers = mnuPopup->findChild<QMenu*>("mnuOthers");
  mnuHelp = mnuPopup->findChild<QMenu*>("mnuHelp");
  mnuPresets = mnuPopup->findChild<QMenu*>("mnuPresets");
  if (mnuPresets != nullptr) mnuPresets->setToolTipsVisible(true);
  if (mnuOthers != nullptr) mnuOthers->setToolTipsVisible(true);
  mnuDukeHelp = mnuPopup->findChild<QAction*>("mnuDukeHelp");
  mnuSetup = mnuPopup->findChild<QAction*>("mnuSetup");
  mnuEMail = mnuPopup->findChild<QAction*>("mnuEMail");
  mnuHomepage = mnuPopup->findChild<QAction*>("mnuHomepage");
  mnuAbout = mnuPopup->findChild<QAction*>("mnuAbout");
  mnuExit = mnuPopup->findChild<QAction*>("mnuExit");

  // Choices run as their own events, after the menu has closed.
  const auto later = [this](QAction* action, void (frmPopup::*handler)()) {
    connect(
        action, &QAction::triggered, this, [this, handler] { (this->*handler)(); },
        Qt::QueuedConnection);
  };
  later(mnuDukeHelp, &frmPopup::mnuDukeHelp_Click);
  later(mnuSetup, &frmPopup::mnuSetup_Click);
  later(mnuEMail, &frmPopup::mnuEMail_Click);
  later(mnuHomepage, &frmPopup::mnuHomepage_Click);
  later(mnuAbout, &frmPopup::mnuAbout_Click);
  later(mnuExit, &frmPopup::mnuExit_Click);
}

void frmPopup::ShowPopup(QWidget* window, const QPoint& clientPoint) {
  const std::vector<bool> shown = PopupItemsShown();
  for (const auto& [action, item] : items_) {
    action->setVisible(shown[static_cast<std::size_t>(item - PopupMenu().data())]);
    if (action->isCheckable()) action->setChecked(PopupItemChecked(*item));
    // What the items that change with the presets and the saves say now.
    if (item->command == PopupCommand::kContinue || item->command == PopupCommand::kPreset ||
        item->command == PopupCommand::kEngine) {
      const PopupItemState now = PopupItemNow(*item);
      action->setText(QString::fromStdString(now.caption));
      action->setEnabled(now.enabled);
      action->setToolTip(QString::fromStdString(now.toolTip));
    }
  }
  mnuPopup->exec(window->mapToGlobal(clientPoint));
}

void frmPopup::mnuDukeHelp_Click() {
  PopupMenuItemChosen(PopupCommand::kDukeHelp);
}
void frmPopup::mnuSetup_Click() {
  PopupMenuItemChosen(PopupCommand::kSetup);
}
void frmPopup::mnuEMail_Click() {
  PopupMenuItemChosen(PopupCommand::kEMail);
}
void frmPopup::mnuHomepage_Click() {
  PopupMenuItemChosen(PopupCommand::kHomepage);
}
void frmPopup::mnuAbout_Click() {
  PopupMenuItemChosen(PopupCommand::kAbout);
}
void frmPopup::mnuExit_Click() {
  PopupMenuItemChosen(PopupCommand::kExit);
}
