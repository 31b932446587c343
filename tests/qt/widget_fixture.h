// The main window under test, in an isolated environment, with every dialog
// answered by the test and the end of the process recorded instead.
#pragma once

#include <QApplication>
#include <QTest>
#include <deque>
#include <memory>

#include "qt/dialogs.h"
#include "qt/frm_main.h"
#include "support/test_support.h"

namespace testsupport {

// The main window with its controls at hand by name, as the tests reach
// them (the form itself knows them only through the core's table).
class TestForm : public frmMain {
 public:
  TestForm();
  QPushButton *cmdStart, *cmdOpen, *cmdText, *cmdLaunch, *cmdBuild, *cmdEditArt, *cmdAbout,
      *cmdDebug;
  forms::Panel* picMain;
  forms::OptionCheckBox *chkRecord, *chkMonsters, *chkArtInt;
  forms::ClickLabel *lblRecord, *lblMonsters;
  QComboBox *cboSound, *cboSkills, *cboRespawn, *cboStages;
  QLineEdit* txtFakePlayers;
  QScrollBar* hsbFakePlayers;
};

class WidgetTest : public IsolatedTest {
 public:
  // Answers a window's dialogs as the test asked, and counts the end of the
  // program instead of ending the tests.
  void AnswerFor(TestForm& window);

 protected:
  void SetUp() override;
  void TearDown() override;

  // Makes the window and runs the start-up sequence.
  bool Load();
  // Answers for the next Open dialogs, in turn (empty: cancelled).
  void AnswerOpenDialog(const QString& hostPath) { openAnswers_.push_back(hostPath); }
  // The answer to the question where the game is, asked at start-up when the
  // program directory holds none (cancelled unless set). It is counted, not
  // kept in shown.
  QString gameFolderAnswer;
  int gameFolderQuestions = 0;
  // The answer to the list of folders where the game was found (the entry
  // chosen; cancelled unless set), and the entries it offered.
  QString foundFolderAnswer;
  int foundFolderPosition = -1;  // when set, the answer by position
  QStringList foundFoldersOffered;
  QStringList listGreyed;  // the offered entries' reasons to be greyed
  std::vector<QStringList> listsOffered;  // every list's entries, in turn
  // Answers for the next lists (by position; -1 cancels) and the next
  // lines of text, in turn, before the ones above.
  std::deque<int> listAnswers;
  std::deque<std::string> textAnswers;
  // Presses Alt+D and waits for the button's animated click to end.
  void PressAltD();
  // Drops files on the start button as a file manager does; tells whether
  // the drag was taken.
  bool Drop(const QStringList& hostPaths);

  std::unique_ptr<TestForm> form;
  // Every dialog the window asked for, in order, as the tests read it.
  struct ShownDialog {
    DialogRequest::Kind kind = DialogRequest::Kind::kMessage;
    QString text, title;
    int style = 0;
    QString directory;
    QStringList filters;  // "description|patterns"
    QString defaultSuffix;
    QStringList items;
  };
  std::vector<ShownDialog> shown;

  int processEnds = 0;

 private:
  std::deque<QString> openAnswers_;
};

// Clicks the entry of a drop-down list the way a user picks it.
void PickEntry(QComboBox* list, int index);

}  // namespace testsupport
