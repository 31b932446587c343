#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/first_contact.h"
#include "base/launch_options.h"
#include "launch/command_line.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "settings/registry.h"
#include "widget_fixture.h"
#include "winapi/registry.h"

namespace {

using testsupport::PickEntry;

class MainWindowTest : public testsupport::WidgetTest {
 protected:
  void Store(const char* name, const std::string& value) {
    MakeRegistryKey(SettingsKey, platform::kHkeyCurrentUser);
    WriteRegistryValue(SettingsKey, name, value, platform::kRegSz);
  }
  // A point inside the right arrow button of the slider.
  QPoint RightArrow() {
    QStyleOptionSlider option;
    option.initFrom(form->hsbFakePlayers);
    option.orientation = Qt::Horizontal;
    option.minimum = form->hsbFakePlayers->minimum();
    option.maximum = form->hsbFakePlayers->maximum();
    option.sliderPosition = form->hsbFakePlayers->sliderPosition();
    option.sliderValue = form->hsbFakePlayers->value();
    option.singleStep = 1;
    option.pageStep = 1;
    const QRect r = form->hsbFakePlayers->style()->subControlRect(
        QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddLine, form->hsbFakePlayers);
    return r.center();
  }
};

struct Placement {
  const char* name;
  int left, top, width, height;  // twips
};

TEST_F(MainWindowTest, EveryControlAtItsPlaceAndSize) {
  ASSERT_TRUE(Load());
  EXPECT_EQ(form->size(), QSize(249, 209));
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
  const Placement placements[] = {{"cmdStart", 0, 0, 825, 375},
                                  {"cmdOpen", 825, 0, 375, 375},
                                  {"cmdText", 1200, 0, 375, 375},
                                  {"cmdLaunch", 1575, 0, 375, 375},
                                  {"cmdBuild", 2295, 0, 375, 375},
                                  {"cmdEditArt", 2670, 0, 375, 375},
                                  {"cmdAbout", 3360, 0, 375, 375},
                                  {"cmdDebug", 3840, 600, 735, 375},
                                  {"picMain", 0, 390, 3735, 2370},
                                  {"cboStages", 0, 2775, 3735, 360},
                                  {"chkRecord", 375, 75, 195, 195},
                                  {"lblRecord", 615, 75, 1170, 195},
                                  {"lblFakePlayers", 615, 2025, 1560, 195},
                                  {"cboRespawn", 1605, 1650, 2055, 315},
                                  {"txtFakePlayers", 2205, 1995, 270, 285},
                                  {"hsbFakePlayers", 2535, 2025, 1095, 240},
                                  {"imgFakePlayers", 0, 1980, 330, 360}};
  for (const auto& p : placements) {
    auto* w = form->findChild<QWidget*>(p.name);
    ASSERT_NE(w, nullptr) << p.name;
    EXPECT_EQ(w->geometry(),
              QRect((p.left + 7) / 15, (p.top + 7) / 15, (p.width + 7) / 15, (p.height + 7) / 15))
        << p.name;
  }
  // The debug button lies outside the window.
  EXPECT_FALSE(form->rect().intersects(form->cmdDebug->geometry()));
}

TEST_F(MainWindowTest, TheArtworkIsThePicturesTheBuildDrew) {
  ASSERT_TRUE(Load());
  // Inside the icon's upper wedge the picture is its yellow, fully opaque.
  const QImage icon = form->windowIcon().pixmap(QSize(32, 32)).toImage();
  ASSERT_EQ(icon.size(), QSize(32, 32));
  EXPECT_EQ(icon.pixelColor(15, 8), QColor(0xff, 0xd2, 0x3a));
  for (QPushButton* b : {form->cmdStart, form->cmdOpen, form->cmdText, form->cmdLaunch,
                         form->cmdBuild, form->cmdEditArt, form->cmdAbout}) {
    EXPECT_FALSE(b->icon().pixmap(b->iconSize()).isNull()) << b->objectName().toStdString();
  }
}

TEST_F(MainWindowTest, ToolTipsCaptionsAndStartState) {
  ASSERT_TRUE(Load());
  EXPECT_EQ(form->windowTitle(), "Duke Nukem ");
  EXPECT_EQ(form->cmdStart->toolTip(), "Click Here to Begin");
  EXPECT_EQ(form->cmdOpen->toolTip(), "Open Map");
  EXPECT_EQ(form->cmdText->toolTip(), "");
  EXPECT_EQ(form->cmdLaunch->toolTip(), "Launch Duke3D");
  EXPECT_EQ(form->cmdBuild->toolTip(), "Launch Build");
  EXPECT_EQ(form->cmdEditArt->toolTip(), "Launch Editart");
  EXPECT_EQ(form->cmdAbout->toolTip(), "About...");
  EXPECT_EQ(form->cmdLaunch->accessibleName(), "Launch Duke3D");
  EXPECT_FALSE(form->cmdText->isEnabled());
  EXPECT_FALSE(form->chkArtInt->isVisible());
  EXPECT_EQ(form->chkArtInt->toolTip(), "Use Artificial Intelligence");
  EXPECT_FALSE(form->txtFakePlayers->isEnabled());
  EXPECT_EQ(form->cboStages->font().fixedPitch(), true);
  // First start: top-left corner, every option off.
  EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(form->cboSound->currentText(), "Use Defaults");
  EXPECT_EQ(form->cboSkills->currentText(), "Piece of Cake");
  EXPECT_EQ(form->cboRespawn->currentText(), "No Respawn");
  EXPECT_EQ(form->txtFakePlayers->text(), "0");
  EXPECT_EQ(form->chkRecord->checkState(), Qt::Unchecked);
  EXPECT_EQ(form->cboStages->count(), 30);
  EXPECT_EQ(form->cboStages->currentText(), "1-01  Hollywood Holocaust");
}

TEST_F(MainWindowTest, ListsHaveNoSelectionUntilStartUpCopiesTheOptionsIn) {
  form = std::make_unique<testsupport::TestForm>();
  EXPECT_EQ(form->cboSound->currentIndex(), -1);
  EXPECT_EQ(form->cboRespawn->currentIndex(), -1);
  ASSERT_TRUE(form->Form_Load());
  EXPECT_EQ(form->cboSound->currentIndex(), 0);
  EXPECT_EQ(form->cboRespawn->currentIndex(), 0);
}

TEST_F(MainWindowTest, PickingListEntriesSetsTheOptions) {
  ASSERT_TRUE(Load());
  PickEntry(form->cboSound, 3);
  EXPECT_EQ(form->cboSound->currentText(), "Sound & Music Off");
  EXPECT_EQ(LaunchOptions.Sound, 3);
  PickEntry(form->cboRespawn, 4);
  EXPECT_EQ(form->cboRespawn->currentText(), "Everything!");
  EXPECT_EQ(LaunchOptions.Respawn, 4);
  PickEntry(form->cboSkills, 2);
  EXPECT_EQ(LaunchOptions.Skills, 2);
  PickEntry(form->cboSkills, 0);
  EXPECT_EQ(form->cboSkills->currentText(), "Piece of Cake");
  EXPECT_EQ(LaunchOptions.Skills, 0);
  QTest::keyClick(form->cboRespawn, Qt::Key_Up);
  EXPECT_EQ(LaunchOptions.Respawn, 3);
}

TEST_F(MainWindowTest, LabelsToggleTheirCheckBoxes) {
  ASSERT_TRUE(Load());
  QTest::mouseClick(form->lblRecord, Qt::LeftButton);
  EXPECT_EQ(form->chkRecord->checkState(), Qt::Checked);
  EXPECT_EQ(LaunchOptions.Record, 1);
  QTest::mouseClick(form->lblRecord, Qt::LeftButton);
  EXPECT_EQ(LaunchOptions.Record, 0);
  QTest::mouseClick(form->lblMonsters, Qt::LeftButton);
  EXPECT_EQ(LaunchOptions.Monsters, 1);
  QTest::mouseClick(form->lblMonsters, Qt::RightButton);
  EXPECT_EQ(LaunchOptions.Monsters, 1);
  QTest::mouseClick(form->chkMonsters, Qt::LeftButton);
  EXPECT_EQ(LaunchOptions.Monsters, 0);
}

TEST_F(MainWindowTest, AStoredGrayedBoxCountsAsNotSetAndAClickChecksIt) {
  Store("Record", "2");
  Store("Monsters", "2");
  ASSERT_TRUE(Load());
  EXPECT_EQ(form->chkRecord->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(LaunchOptions.Record, 2);
  GameCommandLine = BuildCommandLine(LaunchOptions, form->stages.Text(), UserFilePath);
  EXPECT_EQ(GameCommandLine, "command.com /c Duke3D /s1 /v1 /l01");
  QTest::mouseClick(form->lblRecord, Qt::LeftButton);
  EXPECT_EQ(LaunchOptions.Record, 1);
  QTest::mouseClick(form->chkMonsters, Qt::LeftButton);
  EXPECT_EQ(form->chkMonsters->checkState(), Qt::Checked);
  EXPECT_EQ(LaunchOptions.Monsters, 1);
  QTest::mouseClick(form->chkMonsters, Qt::LeftButton);
  EXPECT_EQ(LaunchOptions.Monsters, 0);
  QTest::mouseClick(form->chkMonsters, Qt::LeftButton);
  EXPECT_EQ(LaunchOptions.Monsters, 1);  // never grayed again by a click
}

TEST_F(MainWindowTest, TheNumberFollowsTheSliderThumb) {
  ASSERT_TRUE(Load());
  QScrollBar* slider = form->hsbFakePlayers;
  slider->setSliderDown(true);
  for (int p = 1; p <= 5; ++p) {
    slider->setSliderPosition(p);  // what a drag does, step by step
    EXPECT_EQ(form->txtFakePlayers->text(), QString::number(p));
  }
  slider->setSliderDown(false);
  EXPECT_EQ(form->txtFakePlayers->text(), "5");
  EXPECT_EQ(LaunchOptions.Fakers, 5);
  QTest::mouseClick(slider, Qt::LeftButton, {}, RightArrow());
  EXPECT_EQ(form->txtFakePlayers->text(), "6");
  EXPECT_EQ(LaunchOptions.Fakers, 6);
  slider->setValue(8);
  QTest::mouseClick(slider, Qt::LeftButton, {}, RightArrow());
  EXPECT_EQ(form->txtFakePlayers->text(), "8");
  EXPECT_EQ(LaunchOptions.Fakers, 8);
  // The box is only a display: its text is never what counts.
  form->txtFakePlayers->setText("2");
  EXPECT_EQ(LaunchOptions.Fakers, 8);
}

TEST_F(MainWindowTest, StoredOptionsAreShownAfterStartUp) {
  Store("Fakers", "3");
  Store("Sound", "2");
  Store("Respawn", "4");
  Store("Monsters", "1");
  ASSERT_TRUE(Load());
  EXPECT_EQ(form->txtFakePlayers->text(), "3");
  EXPECT_EQ(form->hsbFakePlayers->value(), 3);
  EXPECT_EQ(form->cboSound->currentText(), "Sound Disabled");
  EXPECT_EQ(form->cboRespawn->currentText(), "Everything!");
  EXPECT_EQ(form->chkMonsters->checkState(), Qt::Checked);
  EXPECT_EQ(LaunchOptions.Fakers, 3);
}

TEST_F(MainWindowTest, StoredValuesOutsideAControlsRangeFallBackToZero) {
  Store("Fakers", "12");
  Store("Sound", "9");
  Store("Skills", "-1");
  Store("Record", "7");
  ASSERT_TRUE(Load());
  EXPECT_EQ(form->hsbFakePlayers->value(), 0);
  EXPECT_EQ(form->txtFakePlayers->text(), "0");
  EXPECT_EQ(form->cboSound->currentIndex(), 0);
  EXPECT_EQ(form->cboSkills->currentIndex(), 0);
  EXPECT_EQ(LaunchOptions.Fakers, 0);
  EXPECT_EQ(LaunchOptions.Sound, 0);
  EXPECT_EQ(LaunchOptions.Skills, 0);
  EXPECT_EQ(LaunchOptions.Record, 0);
}

TEST_F(MainWindowTest, ArtificialIntelligenceForThisRunOnly) {
  testsupport::WriteFile(ProgramDir() + "/Duke3d.cfg", "[Setup]\r\nSetupVersion=1.5\r\n");
  ASSERT_TRUE(Load());
  EXPECT_EQ(form->windowTitle(), "Duke Nukem 1.5");
  EXPECT_TRUE(form->chkArtInt->isVisible());
  EXPECT_EQ(form->cboStages->count(), 41);
  QTest::mouseClick(form->chkArtInt, Qt::LeftButton);
  EXPECT_EQ(LaunchOptions.ArtInt, 1);
  form->close();
  EXPECT_EQ(testsupport::ReadFile(RegistryFile()).find("ArtInt"), std::string::npos);
}

TEST_F(MainWindowTest, AltDShowsTheCommandLine) {
  ASSERT_TRUE(Load());
  PickEntry(form->cboSkills, 3);
  PickEntry(form->cboStages, 12);
  PressAltD();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, "Command Line");
  EXPECT_EQ(shown[0].style, 64);
  EXPECT_EQ(shown[0].text, "command.com /c Duke3D /s4 /v2 /l05");
}

TEST_F(MainWindowTest, ASecondCopyIsRefusedWithoutTouchingAnything) {
  form = std::make_unique<testsupport::TestForm>();
  // The lock as the first copy holds it (flock locks belong to the open file,
  // so a descriptor of this test's own stands for another process).
  testsupport::MakeDirs(Root() + "/runtime/kestrum");
  ::chmod((Root() + "/runtime/kestrum").c_str(), 0700);
  const int held =
      ::open((Root() + "/runtime/kestrum/kestrum.lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
  EXPECT_FALSE(form->Form_Load());
  ::close(held);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Kestrum is Already Running");
  EXPECT_EQ(shown[0].title, "Sorry...");
  EXPECT_EQ(shown[0].style, 64);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(testsupport::Exists(RegistryFile()));
  EXPECT_EQ(form->cboStages->count(), 0);
}

// Only a start without the game asks where it is, and a folder without the
// game then changes nothing but a message: start-up goes on as always.
TEST_F(MainWindowTest, OnlyAStartWithoutTheGameAsksWhereItIs) {
  testsupport::MakeDirs(Root() + "/not a game");
  gameFolderAnswer = QString::fromStdString(Root() + "/not a game");
  ASSERT_TRUE(Load());
  EXPECT_EQ(gameFolderQuestions, 1);
  EXPECT_FALSE(testsupport::Exists(Root() + "/not a game/kestrum"));
  EXPECT_EQ(form->cboStages->count(), 30);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text.toStdString(), "Duke3D is not in " + Root() + "/not a game.");
  EXPECT_EQ(shown[0].title, "No Dice...");
}

TEST_F(MainWindowTest, StartedInTheGameFolderNothingIsAsked) {
  testsupport::WriteFile(ProgramDir() + "/DUKE3D.EXE", "");
  ASSERT_TRUE(Load());
  EXPECT_EQ(gameFolderQuestions, 0);
}

}  // namespace

namespace {

// Where the stores put the game, first contact offers it before it asks:
// only folders that hold a game, then "Other folder...", which asks as ever.
TEST_F(MainWindowTest, FirstContactOffersTheGameWhereTheStoresPutIt) {
  const std::string home = Root() + "/home";
  const std::string gog = home + "/GOG Games/Duke Nukem 3D Atomic Edition/data";
  const std::string steam =
      home + "/.local/share/Steam/steamapps/common/Duke Nukem 3D/gameroot/classic";
  for (const std::string& folder : {gog, steam}) {
    testsupport::MakeDirs(folder);
    testsupport::WriteFile(folder + "/DUKE3D.EXE", "");
  }
  testsupport::MakeDirs(home + "/GOG Games/Duke Nukem 3D Empty");  // no game in it
  foundFolderAnswer = QString::fromStdString(firstcontact::kOtherFolder);
  ASSERT_TRUE(Load());
  EXPECT_EQ(foundFoldersOffered,
            (QStringList{QString::fromStdString("GOG: " + gog),
                         QString::fromStdString("Steam: " + steam), "Other folder..."}));
  EXPECT_EQ(gameFolderQuestions, 1);  // "Other folder..." asks as ever
}

}  // namespace
