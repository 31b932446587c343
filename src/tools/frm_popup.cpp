#include "tools/frm_popup.h"

#include "app/exit_program.h"
#include "app/frm_main.h"
#include "launch/shell_paths.h"
#include "tools/author_links.h"
#include "tools/frm_about.h"

namespace {
frmPopup*& Form() {
  static frmPopup* form = nullptr;
  return form;
}
int& Created() {
  static int created = 0;
  return created;
}
}  // namespace

frmPopup& frmPopup::Instance() {
  if (Form() == nullptr) Form() = new frmPopup();
  return *Form();
}

bool frmPopup::Exists() {
  return Form() != nullptr;
}

void frmPopup::Release() {
  if (Form() != nullptr) Form()->deleteLater();
  Form() = nullptr;
}

int frmPopup::CreatedCount() {
  return Created();
}

frmPopup::frmPopup() {
  ++Created();
  setObjectName("frmPopup");
  setWindowTitle("Popup Menus");

  mnuPopup = new QMenu("Popup", this);
  mnuPopup->setObjectName("mnuPopup");
  mnuOthers = mnuPopup->addMenu("Others");
  mnuOthers->setObjectName("mnuOthers");
  mnuDukeHelp = mnuOthers->addAction("DN3DHelp.exe");
  mnuSetup = mnuOthers->addAction("Duke Setup.exe");
  mnuPopup->addSeparator();
  mnuHelp = mnuPopup->addMenu("Help");
  mnuHelp->setObjectName("mnuHelp");
  mnuEMail = mnuHelp->addAction("Send EMail");
  mnuHomepage = mnuHelp->addAction("Goto Homepage");
  mnuHelp->addSeparator();
  mnuAbout = mnuHelp->addAction("About Kestrum");
  mnuPopup->addSeparator();
  mnuExit = mnuPopup->addAction("Exit");

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
  mnuPopup->exec(window->mapToGlobal(clientPoint));
}

void frmPopup::mnuDukeHelp_Click() {
  RunCompanionToolFromMenu("mnuDukeHelp_Click");
}
void frmPopup::mnuSetup_Click() {
  RunCompanionToolFromMenu("mnuSetup_Click");
}
void frmPopup::mnuEMail_Click() {
  ShellOpen(std::string("mailto:") + kAuthorEMail);
}
void frmPopup::mnuHomepage_Click() {
  ShellOpen(kAuthorHomePage);
}
void frmPopup::mnuAbout_Click() {
  frmAbout::ShowModal(MainForm);
}
void frmPopup::mnuExit_Click() {
  ExitProgram();
}
