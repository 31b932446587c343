// The game as a source port of the EDuke32 family over the game's
// DUKE3D.GRP: a fake eduke32 on PATH records the argument vector it gets.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <climits>
#include <ctime>
#include <filesystem>

#include <QApplication>
#include <QInputDialog>
#include <QListView>
#include <QMenu>
#include <QTimer>

#include "app/exit_program.h"
#include "app/main_form.h"
#include "app/preset_sequences.h"
#include "base/launch_options.h"
#include "base/main_window.h"
#include "launch/command_line.h"
#include "base/stage_list.h"
#include "levels/user_files.h"
#include "os/instance.h"
#include "qt/dialogs.h"
#include "qt/frm_popup.h"
#include "presets/presets.h"
#include "support/engine_oracles.h"
#include "support/game_reader.h"
#include "text/text.h"
#include "winapi/dos_paths.h"
#include "widget_fixture.h"

namespace {

using testsupport::PickEntry;

constexpr std::uint64_t kAtomic = 44356548;

class PortTest : public testsupport::WidgetTest {
 protected:
  // A DUKE3D.GRP of that size (its bytes do not matter to Kestrum).
  void Group(std::uint64_t size) {
    const int fd = ::open((ProgramDir() + "/duke3d.grp").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "KenSilverman\0\0\0\0", 16), 16);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
    ::close(fd);
  }
  // eduke32 on PATH: records how it was started, then plays a while.
  void Port(bool staysUp = true) {
    testsupport::WriteRecordingProgram(Bin(), "eduke32");
    if (staysUp) {
      testsupport::WriteFile(Bin() + "/eduke32",
                             testsupport::ReadFile(Bin() + "/eduke32") + "exec /bin/sleep 3\n");
    }
    ::chmod((Bin() + "/eduke32").c_str(), 0755);
  }
  std::vector<std::string> Launch(const std::string& program = "eduke32") {
    ::unlink((Bin() + "/" + program + ".calls").c_str());
    QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
    const auto calls = testsupport::WaitForCalls(Bin(), program, 1);
    EXPECT_EQ(calls.size(), 1u);
    if (calls.empty()) return {};
    started_ = calls[0].directory;
    return calls[0].args;
  }
  // What the engine's own code makes of the line it was started with,
  // where its reader is at hand; false where it is not.
  bool AskTheEngine(const std::string& engine, const std::vector<std::string>& argv,
                    testsupport::GameStart& game) {
    if (testsupport::EngineOracles().empty()) return false;
    const auto answer = testsupport::AskEngine(engine, argv, started_, Root() + "/home", Bin());
    EXPECT_EQ(answer.error, "");
    game = testsupport::AsGameStart(engine, answer.json);
    return true;
  }
  std::string started_;  // the folder the last launch started in
};

// The edition comes from the size of DUKE3D.GRP where no setup file tells it.
TEST_F(PortTest, TheGroupFilesSizeTellsTheEdition) {
  Port();
  struct Case {
    std::uint64_t size;
    const char* caption;
    bool fourthEpisode;
  };
  for (const Case& c : {Case{kAtomic, "Duke Nukem 1.5 (EDuke32)", true},
                        Case{44486702, "Duke Nukem 1.5 (EDuke32)", true},  // the World Tour's
                        Case{44348015, "Duke Nukem 1.4 (EDuke32)", true},
                        Case{26524524, "Duke Nukem 1.3D (EDuke32)", false},
                        Case{11035779, "Duke Nukem 1.3D (EDuke32)", false}}) {
    SCOPED_TRACE(c.caption);
    Group(c.size);
    ASSERT_TRUE(Load());
    EXPECT_EQ(form->windowTitle().toStdString(), c.caption);
    EXPECT_EQ(form->chkArtInt->isVisible(), c.fourthEpisode);
    EXPECT_EQ(form->cboStages->count(), c.fourthEpisode ? 41 : 30);
    form.reset();
    testsupport::ResetProcessWideValues();
    platform::ReleaseInstance();
  }
}

// The port gets the choices as its own options and plays the very file
// chosen, found as the port finds a map (through its search path), and
// nothing beside it; no shell or DOSBox sees them.
TEST_F(PortTest, ThePortGetsTheChoicesAndTheFilesAsTheyAre) {
  Group(kAtomic);
  Port();
  ASSERT_TRUE(Load());
  PickEntry(form->cboSkills, 2);
  PickEntry(form->cboStages, 13);
  ASSERT_TRUE(form->cboStages->currentText().startsWith("2-06"));
  EXPECT_EQ(Launch(), (std::vector<std::string>{"-nosetup", "-s3", "-v2", "-l06"}));

  const std::string maps = Root() + "/My Maps; rm -rf ~/back\\slash";
  testsupport::MakeDirs(maps);
  testsupport::WriteFile(maps + "/GAME.CON", "not chosen");
  for (const std::string name : {"Mapé à moi.map", "My Great Map.map", "addon pack.grp"}) {
    SCOPED_TRACE(name);
    testsupport::WriteFile(maps + "/" + name,
                           name.ends_with(".grp") ? std::string("KenSilverman\0\0\0\0", 16) : "");
    ::unlink((Bin() + "/eduke32.calls").c_str());
    AnswerOpenDialog(QString::fromStdString(maps + "/" + name));
    QTest::mouseClick(form->cmdOpen, Qt::LeftButton);
    std::vector<std::string> argv = Launch();
    EXPECT_EQ(started_, ProgramDir());
    argv.insert(argv.begin(), "eduke32");
    testsupport::GameStart game;
    if (AskTheEngine("eduke32", argv, game)) {
      const std::string played = name.ends_with(".map") ? game.map : game.group;
      EXPECT_EQ(platform::LocateFile(platform::HostPath{played}).identity,
                platform::LocateFile(platform::HostPath{maps + "/" + name}).identity)
          << testsupport::Describe(game);
      EXPECT_EQ(game.startsLevel, name.ends_with(".map"));
      EXPECT_EQ(game.skill, 3);
    }
    // The folder the port searches holds the chosen file alone.
    const auto j = std::find(argv.begin(), argv.end(), "-j");
    if (j != argv.end()) {
      EXPECT_EQ(testsupport::ListDir(*(j + 1)).size(), 1u);
    }
    mainform::CameBack(*form, false);
  }
  for (const auto& r : shown)
    EXPECT_NE(r.title.toStdString(), "No Dice...") << r.text.toStdString();
}

// With both the DOS game and the port, the user chooses in the popup menu;
// the choice is saved with the settings and comes back. With one, the menu
// has no such items.
TEST_F(PortTest, WithBothTheUserChoosesAndTheChoiceComesBack) {
  Group(kAtomic);
  Port();
  ASSERT_TRUE(Load());
  const auto engineItems = [] {
    QStringList items;
    for (QAction* a : frmPopup::Instance().mnuOthers->actions()) {
      if (a->isVisible() && !a->isSeparator()) items << a->text();
    }
    return items;
  };
  QTimer::singleShot(50, [] { QApplication::activePopupWidget()->close(); });
  QTest::mouseClick(form->cmdStart, Qt::LeftButton);
  EXPECT_EQ(engineItems(), (QStringList{"DN3DHelp.exe", "Duke Setup.exe"}));
  form->close();
  EXPECT_EQ(testsupport::ReadFile(RegistryFile()).find("Engine"), std::string::npos);

  testsupport::WriteFile(ProgramDir() + "/DUKE3D.EXE", "");
  testsupport::ResetProcessWideValues();
  ASSERT_TRUE(Load());
  QTimer::singleShot(50, [] { QApplication::activePopupWidget()->close(); });
  QTest::mouseClick(form->cmdStart, Qt::LeftButton);
  EXPECT_EQ(engineItems(),
            (QStringList{"DN3DHelp.exe", "Duke Setup.exe", "Duke3D.exe", "EDuke32"}));
  EXPECT_EQ(form->session.engine,
            GameEngine::kDos);  // the DOS game, unless the user chose the port
  for (const PopupMenuItem& item : PopupMenu()) {
    if (item.command == PopupCommand::kEngine && item.engine == GameEngine::kEDuke32) {
      PopupMenuItemChosen(item);
    }
  }
  EXPECT_EQ(Launch().front(), "-nosetup");
  form->close();
  EXPECT_NE(testsupport::ReadFile(RegistryFile()).find("\"Engine\"=\"eduke32\""),
            std::string::npos);

  testsupport::ResetProcessWideValues();
  ASSERT_TRUE(Load());
  EXPECT_EQ(form->session.engine, GameEngine::kEDuke32);
}

// A port that will not run, or ends at once, is said; nothing waits for it.
// A DUKE3D.GRP that is no file is no game.
TEST_F(PortTest, APortThatDoesNotPlayIsSaid) {
  Port();
  testsupport::MakeDirs(ProgramDir() + "/DUKE3D.GRP");
  ASSERT_TRUE(Load());
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text.toStdString(), "Duke3D is not in required directory");
  form.reset();
  shown.clear();
  testsupport::ResetProcessWideValues();
  platform::ReleaseInstance();
  ::rmdir((ProgramDir() + "/DUKE3D.GRP").c_str());
  ::unlink((Bin() + "/eduke32").c_str());

  Group(kAtomic);
  testsupport::WriteFile(ProgramDir() + "/eduke32", "not a program");
  ::chmod((ProgramDir() + "/eduke32").c_str(), 0755);
  ASSERT_TRUE(Load());
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text.toStdString(), "eduke32 could not be started.");
  EXPECT_FALSE(form->WaitingForReturn());

  // Kestrum answers while it looks whether the port is still there; a port
  // gone within a moment of its start is said then.
  ::unlink((ProgramDir() + "/eduke32").c_str());
  Port(false);
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_TRUE(form->WaitingForReturn());
  QTRY_COMPARE_WITH_TIMEOUT(shown.size(), std::size_t{2}, 5000);
  EXPECT_TRUE(shown[1].text.startsWith("eduke32 ended as soon as it started."))
      << shown[1].text.toStdString();
  EXPECT_FALSE(form->windowState() & Qt::WindowMinimized);
}

// Only a program this system can run is the port: a Windows build or a file
// without the execute bit in the game's folder does not shadow the one on
// PATH. A port that forks and plays on in its child is not said to have
// ended.
TEST_F(PortTest, ThePortIsAProgramThatRunsHere) {
  Group(kAtomic);
  testsupport::WriteRecordingProgram(Bin(), "eduke32");
  testsupport::WriteFile(Bin() + "/eduke32",
                         testsupport::ReadFile(Bin() + "/eduke32") + "(/bin/sleep 3 &)\nexit 0\n");
  ::chmod((Bin() + "/eduke32").c_str(), 0755);
  for (const char* name : {"eduke32.exe", "eduke32"}) {
    testsupport::WriteFile(ProgramDir() + "/" + name, "MZ");
    ::chmod((ProgramDir() + "/" + name).c_str(), 0644);
  }
  ASSERT_TRUE(Load());
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  EXPECT_EQ(testsupport::WaitForCalls(Bin(), "eduke32", 1).size(), 1u);
  QTest::qWait(1500);
  EXPECT_TRUE(shown.empty()) << shown[0].text.toStdString();
  EXPECT_TRUE(form->WaitingForReturn());
}

// Raze, which takes no skill, respawn, fake players, demo or monsters off
// from its command line: those controls are disabled and say why, keep
// their values, and the line says nothing of them. With several engines
// the menu offers each; the choice is saved and comes back. A Flatpak Raze
// is run with read access to the game's folder and the run's own folder,
// and nothing else; an engine saved but gone is said once.
TEST_F(PortTest, EachEngineTakesWhatItCanAndTheWindowSaysSo) {
  Group(kAtomic);
  testsupport::WriteRecordingProgram(Bin(), "raze");
  testsupport::WriteFile(Bin() + "/raze",
                         testsupport::ReadFile(Bin() + "/raze") + "exec /bin/sleep 3\n");
  ::chmod((Bin() + "/raze").c_str(), 0755);
  testsupport::MakeDirs(ConfigHome() + "/kestrum");
  testsupport::WriteFile(RegistryFile(),
                         "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tolvane\\Kestrum\\General]"
                         "\r\n\"Skills\"=\"3\"\r\n\"Sound\"=\"1\"\r\n\"Engine\"=\"jfduke3d\"\r\n");
  ASSERT_TRUE(Load());
  ASSERT_EQ(shown.size(), 1u);  // the engine chosen once is gone
  EXPECT_EQ(shown[0].text.toStdString(), "JFDuke3D, the game program you chose, is not in " +
                                             ProgramDir() + " any more: Raze plays instead.");
  EXPECT_EQ(form->windowTitle().toStdString(), "Duke Nukem 1.5 (Raze)");
  for (QWidget* w :
       std::initializer_list<QWidget*>{form->cboSkills, form->cboRespawn, form->hsbFakePlayers,
                                       form->chkRecord, form->chkMonsters}) {
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(w->toolTip().toStdString(),
              "Raze cannot be told this from its command line: set it in Raze's own menus.");
  }
  EXPECT_TRUE(form->cboSound->isEnabled());
  // A label looks as usable as what it names: no white text on those.
  const auto whitePixels = [this](const char* named) {
    for (const mainwindow::Control& c : mainwindow::Controls()) {
      if (std::string_view(c.buddy) != named) continue;
      // Over the panel's picture, as the window shows it.
      const QWidget* label = form->findChild<QWidget*>(c.name);
      const QImage image =
          form->grab(QRect(label->mapTo(form.get(), QPoint(0, 0)), label->size())).toImage();
      int white = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          const QColor pixel = image.pixelColor(x, y);
          white += pixel.red() > 200 && pixel.green() > 200 && pixel.blue() > 200;
        }
      }
      return white;
    }
    return -1;
  };
  EXPECT_GT(whitePixels("cboSound"), 0);
  for (const char* name : {"cboSkills", "chkRecord", "chkMonsters", "hsbFakePlayers"}) {
    EXPECT_EQ(whitePixels(name), 0) << name;
  }
  EXPECT_EQ(form->cboSkills->currentIndex(), 3);  // kept as the user left it
  std::vector<std::string> argv = Launch("raze");
  // Started in the run's folder, it finds the game's group by a name no
  // other group's path ends with.
  EXPECT_EQ(argv, (std::vector<std::string>{"-nosetup", "-gamegrp", "KESTRUM-GAME/duke3d.grp",
                                            "-nomusic", "-map", "E1L1"}));
  EXPECT_TRUE(started_.starts_with(Root() + "/runtime/kestrum/dos-")) << started_;
  form->close();
  EXPECT_NE(testsupport::ReadFile(RegistryFile()).find("\"Skills\"=\"3\""), std::string::npos);

  // Raze as a Flatpak app, beside EDuke32 and the DOS game: the menu offers
  // each, and the choice comes back.
  ::unlink((Bin() + "/raze").c_str());
  testsupport::MakeDirs(Root() + "/home/.local/share/flatpak/exports/bin");
  testsupport::WriteFile(Root() + "/home/.local/share/flatpak/exports/bin/org.zdoom.Raze", "");
  testsupport::WriteRecordingProgram(Bin(), "flatpak");
  testsupport::WriteFile(Bin() + "/flatpak",
                         testsupport::ReadFile(Bin() + "/flatpak") + "exec /bin/sleep 3\n");
  Port();
  testsupport::WriteFile(ProgramDir() + "/DUKE3D.EXE", "");
  testsupport::ResetProcessWideValues();
  shown.clear();
  ASSERT_TRUE(Load());
  EXPECT_TRUE(shown.empty());
  QStringList engines;
  for (const PopupMenuItem& item : PopupMenu()) {
    if (item.command == PopupCommand::kEngine && PopupItemsShown()[&item - PopupMenu().data()]) {
      engines << item.caption;
    }
  }
  EXPECT_EQ(engines, (QStringList{"Duke3D.exe", "EDuke32", "Raze"}));
  for (const PopupMenuItem& item : PopupMenu()) {
    if (item.command == PopupCommand::kEngine && item.engine == GameEngine::kRaze) {
      PopupMenuItemChosen(item);
    }
  }
  EXPECT_EQ(form->windowTitle().toStdString(), "Duke Nukem 1.5 (Raze)");
  EXPECT_FALSE(form->cboSkills->isEnabled());
  const std::string maps = Root() + "/home/Maps";
  testsupport::MakeDirs(maps);
  testsupport::WriteFile(maps + "/E1L1.map", "mine");
  AnswerOpenDialog(QString::fromStdString(maps + "/E1L1.map"));
  QTest::mouseClick(form->cmdOpen, Qt::LeftButton);
  argv = Launch("flatpak");
  ASSERT_GE(argv.size(), 5u);
  EXPECT_EQ(argv[0], "run");
  EXPECT_EQ(argv[1], "--filesystem=" + ProgramDir() + ":ro");
  ASSERT_TRUE(argv[2].starts_with("--filesystem=" + Root() + "/runtime/kestrum/"));
  EXPECT_EQ(argv[3], "org.zdoom.Raze");
  for (const auto& a : argv) EXPECT_NE(a, "--filesystem=" + Root() + "/home:ro");
  argv.erase(argv.begin(), argv.begin() + 3);
  argv.front() = "raze";
  // Raze plays the chosen map, not the level its name reads as.
  testsupport::GameStart game;
  if (AskTheEngine("raze", argv, game)) {
    EXPECT_EQ(platform::LocateFile(platform::HostPath{game.map}).identity,
              platform::LocateFile(platform::HostPath{maps + "/E1L1.map"}).identity)
        << testsupport::Describe(game) << " / " << ShownCommandLine(argv);
  }
  form->close();
  EXPECT_NE(testsupport::ReadFile(RegistryFile()).find("\"Engine\"=\"raze\""), std::string::npos);
  testsupport::ResetProcessWideValues();
  ASSERT_TRUE(Load());
  EXPECT_EQ(form->session.engine, GameEngine::kRaze);
}

// What starts is what the window names: an engine gone since the window
// showed it starts nothing and says so, and the window then shows the one
// that would play. A file taken for a port is looked at again for the DOS
// game, which needs a DOS name for it.
TEST_F(PortTest, TheEngineTheWindowNamesPlaysOrNothingDoes) {
  Group(kAtomic);
  Port();
  testsupport::WriteFile(ProgramDir() + "/DUKE3D.EXE", "");
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  ASSERT_TRUE(Load());
  for (const PopupMenuItem& item : PopupMenu()) {
    if (item.command == PopupCommand::kEngine && item.engine == GameEngine::kEDuke32) {
      PopupMenuItemChosen(item);
    }
  }
  const std::string map = Root() + "/back\\slash.map";
  testsupport::WriteFile(map, "mine");
  AnswerOpenDialog(QString::fromStdString(map));
  QTest::mouseClick(form->cmdOpen, Qt::LeftButton);
  ASSERT_EQ(shown.size(), 1u);  // the Open dialog alone
  shown.clear();
  form->chkRecord->setChecked(true);
  ::unlink((Bin() + "/eduke32").c_str());
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(
      shown[0].text.startsWith("EDuke32, the game program this window plays with, is not "
                               "in " +
                               QString::fromStdString(ProgramDir())))
      << shown[0].text.toStdString();
  EXPECT_TRUE(form->windowTitle().endsWith(" (Duke3D.exe)")) << form->windowTitle().toStdString();
  EXPECT_FALSE(form->windowState() & Qt::WindowMinimized);
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text.toStdString(),
            "DOS cannot open \"back\\slash.map\": DOS names cannot hold \"\\\". Rename the "
            "file and choose it again.");
  QTest::qWait(200);
  EXPECT_TRUE(testsupport::ReadCalls(Bin(), "command.com").empty());
  EXPECT_TRUE(testsupport::ReadCalls(Bin(), "eduke32").empty());
}

// The port is handed the chosen file itself, by a name no folder it looks
// in first holds: a map of the same name in its own folder does not play
// instead, and a file put in the chosen one's place after the click does
// not reach it. A port that forks and plays on in its child keeps its run's
// folder through the next launch.
TEST_F(PortTest, ThePortPlaysTheVeryFileChosen) {
  Group(kAtomic);
  testsupport::WriteRecordingProgram(Bin(), "eduke32");
  testsupport::WriteFile(Bin() + "/eduke32",
                         testsupport::ReadFile(Bin() + "/eduke32") + "(/bin/sleep 10 &)\nexit 0\n");
  ::chmod((Bin() + "/eduke32").c_str(), 0755);
  testsupport::MakeDirs(Root() + "/home/.config/eduke32");
  testsupport::WriteFile(Root() + "/home/.config/eduke32/MINE.MAP", "the port's own");
  const std::string maps = Root() + "/maps";
  testsupport::MakeDirs(maps);
  testsupport::WriteFile(maps + "/mine.map", "chosen");
  ASSERT_TRUE(Load());
  AnswerOpenDialog(QString::fromStdString(maps + "/mine.map"));
  QTest::mouseClick(form->cmdOpen, Qt::LeftButton);
  const std::vector<std::string> argv = Launch();
  const auto j = std::find(argv.begin(), argv.end(), "-j");
  const auto m = std::find(argv.begin(), argv.end(), "-map");
  ASSERT_TRUE(j != argv.end() && m != argv.end()) << ShownCommandLine(argv);
  const std::string staged = *(j + 1) + "/" + *(m + 1);
  EXPECT_NE(text::ToLower(*(m + 1)), "mine.map");
  testsupport::WriteFile(maps + "/other.map", "swapped in");
  ASSERT_EQ(::rename((maps + "/other.map").c_str(), (maps + "/mine.map").c_str()), 0);
  EXPECT_EQ(testsupport::ReadFile(staged), "chosen");
  mainform::CameBack(*form, false);
  QTest::qWait(1200);  // the port itself has ended; its child plays on
  shown.clear();
  AnswerOpenDialog(QString::fromStdString(maps + "/mine.map"));
  QTest::mouseClick(form->cmdOpen, Qt::LeftButton);
  Launch();
  EXPECT_EQ(testsupport::ReadFile(staged), "chosen");

  // A run that cannot be prepared is said in the port's terms.
  mainform::CameBack(*form, false);
  shown.clear();
  testsupport::ScopedEnv noRuntime("XDG_RUNTIME_DIR", Root() + "/nowhere");
  testsupport::ScopedEnv noTemporary("TMPDIR", Root() + "/nowhere");
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(
      shown[0].text.startsWith("Kestrum has no folder of its own to prepare your file for "
                               "the game in."))
      << shown[0].text.toStdString();
}

// The saved games of the engine that plays, newest first, those it cannot
// load marked and, when picked, said why; "Continue" names the newest it
// can load, and the one picked starts from its slot. Raze's are its own
// folder's; EDuke32 cannot be told to load one, and "Continue" says how.
TEST_F(PortTest, SavedGamesAreListedAndTheOnePickedPlays) {
  const std::string fixtures = KESTRUM_SAVE_FIXTURES;
  if (!testsupport::Exists(fixtures)) GTEST_SKIP() << "skipped: no save fixtures";
  Group(kAtomic);
  testsupport::WriteFile(ProgramDir() + "/DUKE3D.EXE", "");
  testsupport::WriteRecordingProgram(Bin(), "command.com");
  const long long now = static_cast<long long>(std::time(nullptr));
  const auto copy = [&](const std::string& from, const std::string& to, long long age) {
    testsupport::WriteFile(to, testsupport::ReadFile(fixtures + "/" + from));
    const timeval times[2] = {{static_cast<time_t>(now - age), 0},
                              {static_cast<time_t>(now - age), 0}};
    ASSERT_EQ(::utimes(to.c_str(), times), 0);
  };
  copy("dos/GAME0.SAV", ProgramDir() + "/GAME0.SAV", 3 * 3600 + 60);
  copy("dos/GAME1.SAV", ProgramDir() + "/game1.sav", 3600 + 60);
  copy("broken/dos/wrong-version.SAV", ProgramDir() + "/GAME2.SAV", 600);
  copy("broken/dos/truncated-header.SAV", ProgramDir() + "/GAME3.SAV", 2 * 86400 + 60);
  ASSERT_TRUE(Load());
  const auto item = [](PopupCommand command) -> const PopupMenuItem& {
    for (const PopupMenuItem& i : PopupMenu()) {
      if (i.command == command) return i;
    }
    return PopupMenu().front();
  };
  EXPECT_EQ(PopupItemNow(item(PopupCommand::kContinue)).caption,
            "Continue: 2-01 Come Get Some, 1 hour ago");
  foundFolderPosition = 1;
  PopupMenuItemChosen(PopupCommand::kSavedGames);
  ASSERT_EQ(foundFoldersOffered.size(), 4);
  const QString newer =
      "It was saved by another version of the game (its version 116, this one's 117).";
  EXPECT_EQ(foundFoldersOffered[0].toStdString(),
            "1-06  Launch Facility, Let's Rock, \"SPACEPORT HIDEOUT\", 10 minutes ago \u2014 " +
                newer.toStdString());
  EXPECT_EQ(foundFoldersOffered[1].toStdString(),
            "2-01  Moonbase, Come Get Some, \"E1L1\", 1 hour ago");
  EXPECT_EQ(foundFoldersOffered[2].toStdString(),
            "1-06  Launch Facility, Let's Rock, \"SPACEPORT HIDEOUT\", 3 hours ago");
  EXPECT_TRUE(
      foundFoldersOffered[3].startsWith("A saved game, 2 days ago \u2014 It cannot be read"));
  EXPECT_EQ(listGreyed, (QStringList{newer, "", "", "It cannot be read: the file is damaged."}));
  const auto calls = testsupport::WaitForCalls(Bin(), "command.com", 1);
  ASSERT_EQ(calls.size(), 1u);
  // Its slot, and no level that would replace it.
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{"/c", "Duke3D", "/s1", "/1"}));
  mainform::CameBack(*form, false);
  // A greyed one is not an answer, whatever the dialog lets through.
  foundFolderPosition = 0;
  shown.clear();
  PopupMenuItemChosen(PopupCommand::kSavedGames);
  QTest::qWait(200);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(testsupport::ReadCalls(Bin(), "command.com").size(), 1u);

  // Raze: its own folder's saves; EDuke32: none can be continued.
  testsupport::WriteFile(Bin() + "/raze", "#!/bin/sh\nexec /bin/sleep 3\n");
  ::chmod((Bin() + "/raze").c_str(), 0755);
  Port();
  const std::string raze = Root() + "/home/.config/raze/savegames/Duke.Duke.15";
  testsupport::MakeDirs(raze);
  copy("raze/save0001.dsave", raze + "/save0001.dsave", 7200 + 60);
  copy("broken/raze/other-engine.dsave", raze + "/save0002.dsave", 60 + 5);
  for (const PopupMenuItem& i : PopupMenu()) {
    if (i.command == PopupCommand::kEngine && i.engine == GameEngine::kRaze) PopupMenuItemChosen(i);
  }
  EXPECT_EQ(PopupItemNow(item(PopupCommand::kContinue)).caption, "Continue: 1-03, 2 hours ago");
  for (const PopupMenuItem& i : PopupMenu()) {
    if (i.command == PopupCommand::kEngine && i.engine == GameEngine::kEDuke32) {
      PopupMenuItemChosen(i);
    }
  }
  const PopupItemState eduke32 = PopupItemNow(item(PopupCommand::kContinue));
  EXPECT_FALSE(eduke32.enabled);
  EXPECT_EQ(eduke32.toolTip,
            "EDuke32 cannot be told to load a saved game when it starts: start it, then load "
            "the game from its own menu (Load Game).");

  // JFDuke3D: its own folder's, the one picked started from its slot.
  testsupport::WriteRecordingProgram(Bin(), "jfduke3d");
  Port();
  const std::string jf = Root() + "/home/.jfduke3d";
  testsupport::MakeDirs(jf);
  copy("jfduke3d/game0.sav", jf + "/game0.sav", 3 * 60);
  copy("broken/jfduke3d/wrong-version.sav", jf + "/game4.sav", 60);
  for (const PopupMenuItem& i : PopupMenu()) {
    if (i.command == PopupCommand::kEngine && i.engine == GameEngine::kJFDuke3D) {
      PopupMenuItemChosen(i);
    }
  }
  foundFolderPosition = 1;
  PopupMenuItemChosen(PopupCommand::kSavedGames);
  ASSERT_EQ(foundFoldersOffered.size(), 2);
  EXPECT_FALSE(listGreyed[0].isEmpty());
  EXPECT_TRUE(listGreyed[1].isEmpty()) << listGreyed[1].toStdString();
  EXPECT_TRUE(foundFoldersOffered[1].endsWith("3 minutes ago"))
      << foundFoldersOffered[1].toStdString();
  const auto jfCalls = testsupport::WaitForCalls(Bin(), "jfduke3d", 1);
  ASSERT_EQ(jfCalls.size(), 1u);
  const std::vector<std::string>& jfArgs = jfCalls[0].args;
  EXPECT_NE(std::find(jfArgs.begin(), jfArgs.end(), "-0"), jfArgs.end())
      << ShownCommandLine(jfArgs);
}

// The list dialog itself: a greyed entry is shown greyed with its reason,
// is not where the choice starts, and is never the answer.
TEST_F(PortTest, TheListDialogGreysWhatCannotBePicked) {
  for (const int pick : {0, 1}) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      auto* view = dialog->findChild<QListView*>();
      ASSERT_NE(view, nullptr);
      const QModelIndex first = view->model()->index(0, 0);
      EXPECT_FALSE(view->model()->flags(first) & Qt::ItemIsEnabled);
      EXPECT_EQ(first.data(Qt::ToolTipRole).toString(), "It is damaged.");
      EXPECT_EQ(view->currentIndex().row(), 1);
      view->setCurrentIndex(view->model()->index(pick, 0));
      seen = true;
      dialog->accept();
    });
    EXPECT_EQ(dialogs::GetItem(nullptr, "Saved Games", "Newest first:", {"broken", "good"},
                               {"It is damaged.", ""}),
              1);
    EXPECT_TRUE(seen);
  }
}

// JFDuke3D would not start a user map at once with fake players: while a
// user map is the stage, the slider and the AI box are disabled and the
// line holds neither; back on a level they come back as they were.
TEST_F(PortTest, JFDuke3DTakesNoFakePlayersWithAUserMap) {
  Group(kAtomic);
  testsupport::WriteRecordingProgram(Bin(), "jfduke3d");
  ASSERT_TRUE(Load());
  form->hsbFakePlayers->setValue(3);
  const std::string map = Root() + "/mine.map";
  testsupport::WriteFile(map, "");
  AnswerOpenDialog(QString::fromStdString(map));
  QTest::mouseClick(form->cmdOpen, Qt::LeftButton);
  EXPECT_FALSE(form->hsbFakePlayers->isEnabled());
  EXPECT_EQ(form->hsbFakePlayers->toolTip().toStdString(),
            "JFDuke3D does not start your own map at once with fake players.");
  std::vector<std::string> argv = Launch("jfduke3d");
  argv.insert(argv.begin(), Bin() + "/jfduke3d");
  testsupport::GameStart game;
  if (AskTheEngine("jfduke3d", argv, game)) {
    EXPECT_TRUE(game.startsLevel) << ShownCommandLine(argv);
    EXPECT_EQ(game.fakePlayers, 0);
  }
  mainform::CameBack(*form, false);
  form->cboStages->setCurrentIndex(1);  // as a pick in the list does
  EXPECT_TRUE(form->hsbFakePlayers->isEnabled());
  EXPECT_EQ(form->hsbFakePlayers->value(), 3);
}

}  // namespace

namespace {

// A preset: the window's choices saved under a name (the caption names it),
// a mod's files added in the editor and handed to the engine in order with
// the preset's own folder; a file replaced since is named and nothing
// starts; "None" brings the window's own choices back.
TEST_F(PortTest, APresetKeepsItsChoicesAndPlaysItsFilesInOrder) {
  Group(kAtomic);
  Port();
  const std::string mod = Root() + "/My Mod";
  testsupport::MakeDirs(mod);
  testsupport::WriteFile(mod + "/DUKEDC.GRP", std::string("KenSilverman\0\0\0\0", 16));
  testsupport::WriteFile(mod + "/DC GAME.CON", "// the mod's own\n");
  ASSERT_TRUE(Load());
  form->cboSkills->setCurrentIndex(1);
  textAnswers = {"Duke It Out: D.C."};
  PopupMenuItemChosen(PopupCommand::kSavePreset);
  EXPECT_TRUE(form->windowTitle().endsWith(" - Duke It Out: D.C."))
      << form->windowTitle().toStdString() << (shown.empty() ? "" : shown[0].text.toStdString());
  form->cboSkills->setCurrentIndex(3);  // goes into the preset

  // The editor: the preset, then "Add a file..." twice, then "Done". A
  // loose script in the game's folder that EDuke32 would read in place of
  // the mod's own is named.
  testsupport::WriteFile(ProgramDir() + "/game.con", "// the game folder's\n");
  AnswerOpenDialog(QString::fromStdString(mod + "/DUKEDC.GRP"));
  AnswerOpenDialog(QString::fromStdString(mod + "/DC GAME.CON"));
  listAnswers = {0, 2, 3, 10, -1};
  PopupMenuItemChosen(PopupCommand::kEditPresets);
  ASSERT_TRUE(listAnswers.empty());
  ASSERT_EQ(listsOffered.size(), 5u);
  EXPECT_EQ(listsOffered[3].mid(0, 4),
            (QStringList{"Game program: any found", "Main group: the game's own", "[x] DUKEDC.GRP",
                         "[x] DC GAME.CON"}));
  EXPECT_TRUE(listsOffered[3].contains(
      "game.con in the game's folder is read by EDuke32 in place of the mod's own."));
  const auto preset = presets::FindPreset("Duke It Out: D.C.");
  ASSERT_TRUE(preset.has_value());
  ASSERT_EQ(preset->files.size(), 2u);
  EXPECT_EQ(preset->options.Skills, 3);

  // Alt+D shows the line with the preset's files.
  shown.clear();
  PressAltD();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].text.indexOf("DUKEDC.GRP"), -1) << shown[0].text.toStdString();
  // An engine that cannot take a file of the preset (JFDuke3D: a second
  // script) says so in its item of "Others".
  for (const PopupMenuItem& item : PopupMenu()) {
    if (item.command != PopupCommand::kEngine || item.engine != GameEngine::kJFDuke3D) continue;
    presets::Preset more = *preset;
    more.files.push_back({mod + "/DC GAME.CON", "", true});
    ASSERT_TRUE(presets::SavePreset(more));
    const PopupItemState jf = PopupItemNow(item);
    EXPECT_FALSE(jf.enabled);
    EXPECT_EQ(jf.toolTip,
              "JFDuke3D cannot take \"DC GAME.CON\": JFDuke3D takes one main script "
              "(CON) and no modules.");
    ASSERT_TRUE(presets::SavePreset(*preset));
  }
  std::vector<std::string> argv = Launch();
  const auto at = [&argv](const std::string& word) {
    return std::find(argv.begin(), argv.end(), word) - argv.begin();
  };
  EXPECT_LT(at("-usecwd"), static_cast<long>(argv.size())) << ShownCommandLine(argv);
  EXPECT_LT(at(mod + "/DUKEDC.GRP"), at(mod + "/DC GAME.CON")) << ShownCommandLine(argv);
  EXPECT_EQ(argv[static_cast<std::size_t>(at(mod + "/DC GAME.CON")) - 1], "-x");
  EXPECT_EQ(started_, presets::PresetFolder(*preset));
  mainform::CameBack(*form, false);

  // A file put in the place of one that was added.
  testsupport::WriteFile(mod + "/other.con", "// another\n");
  ASSERT_EQ(::rename((mod + "/other.con").c_str(), (mod + "/DC GAME.CON").c_str()), 0);
  shown.clear();
  ::unlink((Bin() + "/eduke32.calls").c_str());
  QTest::mouseClick(form->cmdLaunch, Qt::LeftButton);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text.toStdString(),
            "\"DC GAME.CON\", a file of the preset \"Duke It Out: D.C.\", is not the file that was "
            "added: it was moved, deleted or replaced since. Add it again in \"Edit presets...\".");
  QTest::qWait(200);
  EXPECT_TRUE(testsupport::ReadCalls(Bin(), "eduke32").empty());

  // "Add to menu": an entry that starts the preset by Kestrum's link in
  // the game's folder.
  char self[PATH_MAX] = {};
  ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
  ASSERT_EQ(::symlink(self, (ProgramDir() + "/kestrum").c_str()), 0);
  testsupport::ScopedEnv data("XDG_DATA_HOME", Root() + "/data");
  shown.clear();
  listAnswers = {0, 9, 10, -1};
  PopupMenuItemChosen(PopupCommand::kEditPresets);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title.toStdString(), "Kestrum") << shown[0].text.toStdString();
  std::string entry;
  for (const auto& file : std::filesystem::directory_iterator(Root() + "/data/applications")) {
    entry = testsupport::ReadFile(file.path().string());
  }
  EXPECT_NE(
      entry.find("Exec=\"" + ProgramDir() + "/kestrum\" \"--preset\" \"Duke It Out: D.C.\"\n"),
      std::string::npos)
      << entry;

  // None: the window's own choices again.
  for (const PopupMenuItem& item : PopupMenu()) {
    if (item.command == PopupCommand::kPreset && item.slot < 0) PopupMenuItemChosen(item);
  }
  EXPECT_FALSE(form->windowTitle().contains("Duke It Out"));
  EXPECT_EQ(form->cboSkills->currentIndex(), 1);
}

}  // namespace
