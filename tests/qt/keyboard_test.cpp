// The main window with the keyboard only, as a user without a mouse has it.
#include <QAbstractItemView>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>

#include "base/launch_options.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "launch/command_line.h"
#include "widget_fixture.h"

namespace {

class KeyboardTest : public testsupport::WidgetTest {
 protected:
  // The control that has the focus within the window (the offscreen
  // platform leaves no window active after a popup menu).
  QWidget* Focused() const { return form->focusWidget(); }
  void Key(Qt::Key key) {
    QApplication::setActiveWindow(form.get());
    QTest::keyClick(form->focusWidget(), key);
  }
};

TEST_F(KeyboardTest, TabReachesTheSliderAtItsPlaceAndItsKeysSetTheFakePlayers) {
  ASSERT_TRUE(Load());
  std::vector<QWidget*> stops;
  form->cmdStart->setFocus();
  for (int i = 0; i < 20; ++i) {
    stops.push_back(Focused());
    Key(Qt::Key_Tab);
  }
  EXPECT_EQ(std::count(stops.begin(), stops.end(), form->cmdDebug), 0);
  const auto slider = std::find(stops.begin(), stops.end(), form->hsbFakePlayers);
  ASSERT_NE(slider, stops.end());
  EXPECT_EQ(slider[-1], form->cboRespawn);
  EXPECT_EQ(slider[1], form->cboStages);

  form->hsbFakePlayers->setFocus();
  struct Step {
    Qt::Key key;
    int fakers;
  };
  for (const Step& step : {Step{Qt::Key_Right, 1}, Step{Qt::Key_PageDown, 2}, Step{Qt::Key_Down, 3},
                           Step{Qt::Key_End, 8}, Step{Qt::Key_Left, 7}, Step{Qt::Key_PageUp, 6},
                           Step{Qt::Key_Up, 5}, Step{Qt::Key_Home, 0}, Step{Qt::Key_Right, 1}}) {
    Key(step.key);
    EXPECT_EQ(LaunchOptions.Fakers, step.fakers) << step.key;
    EXPECT_EQ(form->txtFakePlayers->text(), QString::number(step.fakers));
  }
  GameCommandLine = BuildCommandLine(LaunchOptions, form->stages.Text(), UserFilePath);
  EXPECT_EQ(GameCommandLine, "command.com /c Duke3D /s1 /q1 /v1 /l01");
}

TEST_F(KeyboardTest, TheFocusStaysOnItsControlAfterADialogTheMenuOrTheAboutWindow) {
  ASSERT_TRUE(Load());
  form->cboSkills->setFocus();
  Key(Qt::Key_Down);
  ASSERT_EQ(LaunchOptions.Skills, 1);

  PressAltD();  // the hook answers "Command Line" with OK
  EXPECT_EQ(Focused(), form->cboSkills);

  QTimer::singleShot(50, [] {
    if (QWidget* menu = QApplication::activePopupWidget()) QTest::keyClick(menu, Qt::Key_Escape);
  });
  form->cmdStart->click();
  EXPECT_EQ(Focused(), form->cboSkills);

  QTimer::singleShot(100, [] {
    if (QWidget* about = QApplication::activeModalWidget()) about->close();
  });
  form->cmdAbout->click();
  QTest::qWait(20);
  EXPECT_EQ(Focused(), form->cboSkills);

  Key(Qt::Key_Up);
  EXPECT_EQ(LaunchOptions.Skills, 0);
}

TEST_F(KeyboardTest, AnOpenListShowsAFewRowsBelowItsControl) {
  testsupport::WriteFile(ProgramDir() + "/Duke3d.cfg", "[Setup]\nSetupVersion=1.5\n");
  ASSERT_TRUE(Load());
  ASSERT_EQ(form->cboStages->count(), 41);
  form->move(100, 50);
  for (QComboBox* list : {form->cboSound, form->cboSkills, form->cboRespawn, form->cboStages}) {
    SCOPED_TRACE(list->objectName().toStdString());
    list->showPopup();
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    const int rows = view->viewport()->height() / view->sizeHintForRow(0);
    EXPECT_GE(rows, std::min(list->count(), 8));
    EXPECT_LE(rows, 12);
    // Below the control or, where the screen ends, above it: never over it.
    const QRect popup = view->window()->geometry();
    const QRect control(list->mapToGlobal(QPoint(0, 0)), list->size());
    EXPECT_TRUE(popup.top() >= control.bottom() || popup.bottom() <= control.top())
        << popup.y() << " " << control.y();
    list->hidePopup();
  }
}

}  // namespace
