// What a user who does not see the window, or uses no mouse, gets of it:
// names and roles as a screen reader reads them, and the focus mark.
#include <QAccessible>
#include <QImage>

#include "tools/author_links.h"
#include "qt/frm_about.h"
#include "widget_fixture.h"

namespace {

class AccessibilityTest : public testsupport::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    // An edition that shows every control, the AI check box included.
    testsupport::WriteFile(ProgramDir() + "/Duke3d.cfg", "[Setup]\r\nSetupVersion = 1.5\r\n");
    testsupport::WriteFile(ProgramDir() + "/DUKE3D.EXE", "");
  }
  // Every control of a window that Tab reaches.
  static std::vector<QWidget*> Reachable(QWidget* window) {
    std::vector<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
      if ((w->focusPolicy() & Qt::TabFocus) && w->window() == window && w->isVisibleTo(window) &&
          w->isEnabled()) {
        controls.push_back(w);
      }
    }
    return controls;
  }
  // The name a screen reader says: the control's own, or its label's.
  static QString SpokenName(QAccessibleInterface* a) {
    QString name = a->text(QAccessible::Name);
    if (!name.isEmpty() && name != a->text(QAccessible::Value)) return name;
    for (const auto& [label, relation] : a->relations(QAccessible::Label)) {
      if (!label->text(QAccessible::Name).isEmpty()) return label->text(QAccessible::Name);
    }
    return {};
  }
};

TEST_F(AccessibilityTest, EveryControlTabReachesHasANameAndARole) {
  ASSERT_TRUE(Load());
  frmAbout about(form.get());
  about.show();
  std::vector<QWidget*> controls = Reachable(form.get());
  const std::vector<QWidget*> aboutControls = Reachable(&about);
  controls.insert(controls.end(), aboutControls.begin(), aboutControls.end());
  // 6 buttons (the text button is off), 7 options and the stage list; the
  // message and the two links in About.
  EXPECT_EQ(controls.size(), 17u);
  for (QWidget* control : controls) {
    SCOPED_TRACE(control->objectName().toStdString());
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(a->role() == QAccessible::NoRole || a->role() == QAccessible::Client ||
                 a->role() == QAccessible::Graphic || a->role() == QAccessible::StaticText)
        << a->role();
    EXPECT_FALSE(SpokenName(a).isEmpty());
  }
  QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(form->picMain);
  EXPECT_EQ(panel->role(), QAccessible::Pane);
  EXPECT_EQ(panel->text(QAccessible::Name), "Options");
  EXPECT_EQ(SpokenName(QAccessible::queryAccessibleInterface(form->cboSkills)), "Skill Level:");
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(form->cmdDebug)->state().invisible);

  // The links are links, followed by a screen reader's action, by Return and
  // by Space.
  testsupport::WriteRecordingProgram(Bin(), "xdg-open");
  QAccessibleInterface* email = QAccessible::queryAccessibleInterface(about.lblEMail);
  EXPECT_EQ(email->role(), QAccessible::Link);
  ASSERT_NE(email->actionInterface(), nullptr);
  EXPECT_TRUE(
      email->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
  email->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  about.lblHomePage->setFocus();
  QTest::keyClick(about.lblHomePage, Qt::Key_Return);
  QTest::keyClick(about.lblEMail, Qt::Key_Space);
  const auto calls = testsupport::WaitForCalls(Bin(), "xdg-open", 3);
  ASSERT_EQ(calls.size(), 3u);
  std::multiset<std::string> opened;
  for (const auto& c : calls) opened.insert(c.args.at(0));
  EXPECT_EQ(opened,
            (std::multiset<std::string>{std::string("mailto:") + kAuthorEMail,
                                        std::string("mailto:") + kAuthorEMail, kAuthorHomePage}));
}

// Tab goes along the toolbar and down the rows as they stand, and wherever
// the focus is, a clear mark shows it.
TEST_F(AccessibilityTest, TabGoesByTheRowsAndTheFocusIsSeenOnEveryControl) {
  ASSERT_TRUE(Load());
  const std::vector<QWidget*> rows = {
      form->cmdStart,   form->cmdOpen,   form->cmdLaunch,      form->cmdBuild, form->cmdEditArt,
      form->cmdAbout,   form->chkRecord, form->chkMonsters,    form->cboSound, form->cboSkills,
      form->cboRespawn, form->chkArtInt, form->hsbFakePlayers, form->cboStages};
  const QColor mark = form->palette().color(QPalette::Highlight);
  // Pixels of the mark's colour around a control, in the window as drawn.
  auto marked = [&](QWidget* control) {
    const QImage image = form->grab().toImage();
    const QRect around = QRect(control->mapTo(form.get(), QPoint(0, 0)), control->size())
                             .adjusted(-3, -3, 3, 3)
                             .intersected(image.rect());
    int n = 0;
    for (int y = around.top(); y <= around.bottom(); ++y) {
      for (int x = around.left(); x <= around.right(); ++x) n += image.pixelColor(x, y) == mark;
    }
    return n;
  };
  form->cmdStart->setFocus();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    QWidget* control = rows[i];
    SCOPED_TRACE(control->objectName().toStdString());
    EXPECT_EQ(form->focusWidget(), control);
    const int withFocus = marked(control);
    QWidget* other = rows[(i + 3) % rows.size()];
    other->setFocus();
    const int without = marked(control);
    // At least the mark's two long sides, two pixels thick.
    EXPECT_GE(withFocus - without, 4 * control->width() - 16);
    control->setFocus();
    QApplication::setActiveWindow(form.get());
    QTest::keyClick(form->focusWidget(), Qt::Key_Tab);
  }
}

}  // namespace
