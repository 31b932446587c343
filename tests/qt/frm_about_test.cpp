#include <set>

#include "widget_fixture.h"
#include "tools/author_links.h"
#include "qt/frm_about.h"

namespace {

class AboutTest : public testsupport::WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    testsupport::WriteRecordingProgram(Bin(), "xdg-open");
    about = std::make_unique<frmAbout>(nullptr);
    about->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about.get()));
  }
  void TearDown() override {
    about.reset();
    WidgetTest::TearDown();
  }
  void Move(QWidget* w) { QTest::mouseMove(w, w->rect().center()); }
  std::unique_ptr<frmAbout> about;
};

TEST_F(AboutTest, LayoutAndTexts) {
  EXPECT_EQ(about->size(), QSize(259, 208));
  EXPECT_EQ(about->windowTitle(), "About...");
  EXPECT_FALSE(about->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(about->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(about->lblTitle->text(), "Kestrum");
  EXPECT_EQ(about->lblVersion->text(), "v1.00.0002 (Build Date: 02/17/98 2:41p)");
  EXPECT_EQ(about->txtMessage->toPlainText(),
            "Thanks for using Tolvane products.\nPlease visit my homepage for more \nprograms.\n");
  EXPECT_EQ(about->lblEMail->text(), kAuthorEMail);
  EXPECT_EQ(about->lblHomePage->text(), kAuthorHomePage);
  EXPECT_EQ(about->lblStatus->text(), "");
  EXPECT_EQ(about->lblEMail->geometry(), QRect(24, 93, 232, 16));
  EXPECT_EQ(about->LinkColour(about->lblEMail), frmAbout::kLinkColour);
  EXPECT_TRUE(about->lblEMail->font().underline());
  EXPECT_EQ(about->lblEMail->cursor().shape(), Qt::BitmapCursor);
}

TEST_F(AboutTest, TheStatusLineNamesTheLinkUnderTheMouse) {
  Move(about->imgEMail);
  EXPECT_EQ(about->lblStatus->text(), "Send me some EMail!");
  const int writes = about->StatusWrites();
  Move(about->lblEMail);
  QTest::mouseMove(about->lblEMail, QPoint(3, 3));
  EXPECT_EQ(about->lblStatus->text(), "Send me some EMail!");
  EXPECT_EQ(about->StatusWrites(), writes);  // not rewritten
  Move(about->lblTitle);
  EXPECT_EQ(about->lblStatus->text(), "");
  Move(about->lblHomePage);
  EXPECT_EQ(about->lblStatus->text(), "Go to my Homepage!");
  QTest::mouseMove(about.get(), QPoint(200, 40));  // the window's background
  EXPECT_EQ(about->lblStatus->text(), "");
  for (QWidget* w : std::initializer_list<QWidget*>{
           about->txtMessage->viewport(), about->lblVersion, about->picTolvane, about->lblStatus}) {
    Move(about->imgHomePage);
    Move(w);
    EXPECT_EQ(about->lblStatus->text(), "") << w->objectName().toStdString();
  }
}

TEST_F(AboutTest, PressedColourOnAnyButtonButOnlyALeftClickOpens) {
  QTest::mousePress(about->imgHomePage, Qt::RightButton, {}, QPoint(4, 4));
  EXPECT_EQ(about->LinkColour(about->lblHomePage), frmAbout::kPressedColour);
  EXPECT_EQ(about->LinkColour(about->lblEMail), frmAbout::kLinkColour);
  QTest::mouseRelease(about->imgHomePage, Qt::RightButton, {}, QPoint(4, 4));
  EXPECT_EQ(about->LinkColour(about->lblHomePage), frmAbout::kLinkColour);
  QTest::mousePress(about->lblEMail, Qt::MiddleButton, {}, QPoint(4, 4));
  EXPECT_EQ(about->LinkColour(about->lblEMail), frmAbout::kPressedColour);
  QTest::mouseRelease(about->lblEMail, Qt::MiddleButton, {}, QPoint(4, 4));
  QTest::qWait(300);
  EXPECT_TRUE(testsupport::ReadCalls(Bin(), "xdg-open").empty());
}

TEST_F(AboutTest, LeftClicksOpenTheLinks) {
  QTest::mouseClick(about->imgEMail, Qt::LeftButton);
  QTest::mouseClick(about->lblEMail, Qt::LeftButton);
  QTest::mouseClick(about->lblHomePage, Qt::LeftButton);
  QTest::mouseClick(about->imgHomePage, Qt::LeftButton);
  EXPECT_EQ(about->LinkColour(about->lblEMail), frmAbout::kLinkColour);
  const auto calls = testsupport::WaitForCalls(Bin(), "xdg-open", 4);
  ASSERT_EQ(calls.size(), 4u);
  std::multiset<std::string> opened;
  for (const auto& c : calls) opened.insert(c.args.at(0));
  const std::string mail = std::string("mailto:") + kAuthorEMail;
  EXPECT_EQ(opened, (std::multiset<std::string>{mail, mail, kAuthorHomePage, kAuthorHomePage}));
}

}  // namespace
