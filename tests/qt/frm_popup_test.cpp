#include <QMenu>
#include <QTimer>

#include "widget_fixture.h"
#include "tools/author_links.h"
#include "qt/frm_about.h"
#include "qt/frm_popup.h"

namespace {

class PopupTest : public testsupport::WidgetTest {
 protected:
  // Opens the menu with a click on the start button; `walk` runs while it
  // is open and gets the menu on screen.
  void WithMenu(const std::function<void(QMenu*)>& walk) {
    QTimer::singleShot(50, [walk] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      walk(menu);
    });
    QTest::mouseClick(form->cmdStart, Qt::LeftButton);
    QTest::qWait(50);  // the chosen item runs as its own event
  }
  static void Keys(std::initializer_list<Qt::Key> keys) {
    for (Qt::Key k : keys) {
      QTest::keyClick(QApplication::activePopupWidget(), k);
      QTest::qWait(20);
    }
  }
};

TEST_F(PopupTest, TheMenuTreeInItsOrder) {
  ASSERT_TRUE(Load());
  frmPopup& popup = frmPopup::Instance();
  QStringList top;
  for (QAction* a : popup.mnuPopup->actions()) top << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(top, (QStringList{"Others", "-", "Help", "Presets", "Continue", "Saved games...", "-",
                              "Exit"}));
  QStringList others, help;
  // What the user sees: the game program's items only where both are there.
  for (QAction* a : popup.mnuOthers->actions()) {
    if (a->isVisible()) others << a->text();
  }
  for (QAction* a : popup.mnuHelp->actions()) help << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(others, (QStringList{"DN3DHelp.exe", "Duke Setup.exe"}));
  EXPECT_EQ(help, (QStringList{"Send EMail", "Goto Homepage", "-", "About Kestrum"}));
  EXPECT_FALSE(popup.isVisible());
}

TEST_F(PopupTest, OpensBelowTheStartButtonAndTheFormIsMadeOnce) {
  ASSERT_TRUE(Load());
  form->move(100, 100);  // away from the screen's edge, where menus are pushed back in
  const int before = frmPopup::CreatedCount();
  QPoint where;
  WithMenu([&](QMenu* menu) {
    where = menu->pos();
    menu->close();
  });
  EXPECT_EQ(where, form->mapToGlobal(QPoint(-1, 25)));
  WithMenu([](QMenu* menu) { QTest::keyClick(menu, Qt::Key_Escape); });
  EXPECT_EQ(frmPopup::CreatedCount(), before + 1);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(processEnds, 0);
}

TEST_F(PopupTest, WalkingTheMenuWithTheKeyboardOpensTheLinks) {
  testsupport::WriteRecordingProgram(Bin(), "xdg-open");
  ASSERT_TRUE(Load());
  WithMenu([](QMenu*) { Keys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Return}); });
  WithMenu([](QMenu*) {
    Keys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Return});
  });
  const auto calls = testsupport::WaitForCalls(Bin(), "xdg-open", 2);
  ASSERT_EQ(calls.size(), 2u);
  std::vector<std::string> opened{calls[0].args.at(0), calls[1].args.at(0)};
  std::sort(opened.begin(), opened.end());
  EXPECT_EQ(opened,
            (std::vector<std::string>{kAuthorHomePage, std::string("mailto:") + kAuthorEMail}));
}

TEST_F(PopupTest, SetupAndHelpStartThroughCommandCom) {
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  testsupport::WriteFile(ProgramDir() + "/Setup.exe", "x");
  testsupport::WriteFile(ProgramDir() + "/DN3DHELP.EXE", "x");
  ASSERT_TRUE(Load());
  WithMenu([](QMenu*) { Keys({Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Return}); });
  WithMenu([](QMenu*) { Keys({Qt::Key_Down, Qt::Key_Right, Qt::Key_Return}); });
  const auto calls = testsupport::WaitForCalls(Bin(), "command.com", 2);
  ASSERT_EQ(calls.size(), 2u);
  std::vector<std::string> tools{calls[0].args.at(1), calls[1].args.at(1)};
  std::sort(tools.begin(), tools.end());
  EXPECT_EQ(tools, (std::vector<std::string>{"Dn3dHelp.exe", "Setup.exe"}));
}

TEST_F(PopupTest, ExitSavesOnceAndEnds) {
  ASSERT_TRUE(Load());
  WithMenu([](QMenu*) { Keys({Qt::Key_Up, Qt::Key_Return}); });
  EXPECT_EQ(processEnds, 1);
  const std::string saved = testsupport::ReadFile(RegistryFile());
  EXPECT_NE(saved.find("\"Fakers\"=\"0\""), std::string::npos);
  EXPECT_EQ(MainForm, nullptr);
  EXPECT_FALSE(frmPopup::Exists());
  form->close();  // the window's own unload does not save again
  EXPECT_EQ(processEnds, 1);
}

TEST_F(PopupTest, BothWaysShowTheSameModalAboutWindow) {
  ASSERT_TRUE(Load());
  std::vector<bool> modal;
  // Waits for the About window, notes what it is and closes it.
  auto closeAbout = [&] {
    auto* poll = new QTimer(form.get());
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
      frmAbout* about = frmAbout::Current();
      if (about == nullptr || !about->isVisible()) return;
      poll->deleteLater();
      poll->stop();
      modal.push_back(about->isModal() && about->windowTitle() == "About...");
      about->close();
    });
    poll->start(20);
  };
  closeAbout();
  QTest::mouseClick(form->cmdAbout, Qt::LeftButton);
  closeAbout();
  WithMenu([](QMenu*) {
    Keys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Return});
  });
  QTest::qWait(150);
  EXPECT_EQ(modal, (std::vector<bool>{true, true}));
  EXPECT_EQ(frmAbout::Current(), nullptr);
}

}  // namespace
