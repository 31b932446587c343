// The main window: the toolbar, the option panel and the stage list. Its
// handlers copy control state into LaunchOptions and call the core.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <string_view>
#include <vector>

#include "app/main_form.h"
#include "qt/widgets.h"

class frmMain : public QWidget, public MainFormPort {
 public:
  frmMain();
  ~frmMain() override;

  // The start-up sequence; false when this copy must end (another runs, or
  // Kestrum has just been started again from the game's folder).
  bool Form_Load();
  void Form_Unload();
  // Ends as closing the window does, for a logout or a "kill": no one is
  // there to read a message box then, so messages go to the terminal.
  void EndOnSignal();

  // A control of the core's table of the window, by its name (cmdStart,
  // chkRecord, ...); null for a name the table does not have.
  QWidget* Control(std::string_view name) const;

  // The slider and the number that follows it.
  void hsbFakePlayers_Scroll();
  void hsbFakePlayers_Change();
  void txtFakePlayers_Change();

  // User files.
  void cmdStart_OLEDragDrop(const QStringList& hostFileNames);
  void cboStages_KeyPress(int keyAscii);

  // MainWindowPort
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  void ShowArtInt() override;
  void SetTextButtonEnabled(bool enabled) override;
  void SetTextButtonToolTip(const std::string& tip) override;
  double Left() const override;
  double Top() const override;
  void SetLeft(double twips) override;
  void SetTop(double twips) override;
  double ScreenWidth() const override;
  double ScreenHeight() const override;
  double Width() const override;
  std::vector<Area> Screens() const override;
  bool KnowsItsPosition() const override;

  // MainFormPort
  void TakeFocus() override;
  void ShowWindow() override;
  void Minimize() override;
  void Restore(bool leaveActivationAlone) override;
  void ShowOption(const mainwindow::Control& control, int value) override;
  void EnableOption(const mainwindow::Control& control, bool enabled,
                    const std::string& whyNot) override;
  void ShowPopupMenu(int x, int y) override;
  void ShowAbout() override;
  void After(int milliseconds, std::function<void()> action) override;

 protected:
  void ShowMessageBox(const Message& message) override;
  std::string AskForFile(const OpenDialogSettings& settings,
                         const std::string& hostFolder) override;
  std::string AskForFolder(const std::string& title, const std::string& hostFolder) override;
  int AskFromList(const std::string& title, const std::string& prompt,
                  const std::vector<std::string>& entries,
                  const std::vector<std::string>& greyed) override;
  std::string AskForText(const std::string& title, const std::string& prompt,
                         const std::string& text) override;

 public:
  // True from a successful start until the user comes back to Kestrum.
  bool WaitingForReturn() const { return mainform::WaitingForReturn(*this); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Every control, as the core's table of the window describes it.
  void BuildControls();
  void ShowStages();

  // What the form treats in its own way, found by role in the table.
  std::vector<QWidget*> controls_;  // in the table's order
  QWidget* dropTarget_ = nullptr;
  QPushButton* textButton_ = nullptr;
  QComboBox* stages_ = nullptr;
  QScrollBar* fakers_ = nullptr;
  QLineEdit* fakersShown_ = nullptr;
  bool endingOnSignal_ = false;
};

// The one main window of the process; null before it exists and after
// ExitProgram.
extern frmMain* MainForm;
