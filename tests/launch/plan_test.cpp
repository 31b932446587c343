// A launch judged by the engine that plays it: every engine, found beside
// the game, on PATH or as a Flatpak app, is handed the whole plan for each
// choice and stage, and its own reader (../shared/engine-oracles) says what
// it starts. That must be what the DOS game starts for the same choices,
// save what the engine cannot be told (its control is then disabled), and
// a sandboxed engine must open nothing but what the plan grants it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "base/main_window.h"
#include "launch/command_line.h"
#include "launch/launcher.h"
#include "launch/plan.h"
#include "launch/saved_games.h"
#include "support/engine_oracles.h"
#include "support/test_support.h"
#include "text/text.h"

namespace {

using testsupport::GameStart;

constexpr std::uint64_t kAtomic = 44356548;

// A file that starts as a group does, of that size (sparse).
void Group(const std::string& path, std::uint64_t size) {
  testsupport::WriteFile(path, std::string("KenSilverman\0\0\0\0", 16));
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(size)), 0);
}

std::string RealPath(const std::string& path) {
  char real[PATH_MAX];
  return ::realpath(path.c_str(), real) != nullptr ? std::string(real) : path;
}

// What Flatpak grants, read back from its options ("\" escapes).
std::vector<std::string> Granted(const std::vector<std::string>& words) {
  std::vector<std::string> granted;
  for (const auto& w : words) {
    if (!w.starts_with("--filesystem=")) continue;
    std::string path;
    for (std::size_t at = 13; at < w.size() && w[at] != ':'; ++at) {
      if (w[at] == '\\') ++at;
      if (at < w.size()) path += w[at];
    }
    granted.push_back(RealPath(path));
  }
  return granted;
}

enum class Place { kBeside, kOnPath, kFlatpak };

struct EngineCase {
  const char* oracle;
  GameEngine engine;
  const char* program;
  const char* flatpakId;
};

class PlanTest : public testsupport::IsolatedTest {
 protected:
  void SetUp() override {
    testsupport::IsolatedTest::SetUp();
    if (testsupport::EngineOracles().empty()) GTEST_SKIP() << testsupport::kNoEngineReaders;
    Group(ProgramDir() + "/DUKE3D.GRP", kAtomic);
  }
  // Only that engine, at that place.
  void Install(const EngineCase& e, Place place) {
    std::filesystem::remove_all(Bin());
    std::filesystem::remove_all(Root() + "/home/.local/share/flatpak");
    for (const char* p : {"eduke32", "raze", "jfduke3d"})
      ::unlink((ProgramDir() + "/" + p).c_str());
    testsupport::MakeDirs(Bin());
    const std::string program = "#!/bin/sh\nexit 0\n";
    if (place == Place::kBeside) {
      testsupport::WriteFile(ProgramDir() + "/" + e.program, program);
      ::chmod((ProgramDir() + "/" + e.program).c_str(), 0755);
    } else if (place == Place::kOnPath) {
      testsupport::WriteFile(Bin() + "/" + e.program, program);
      ::chmod((Bin() + "/" + e.program).c_str(), 0755);
    } else {
      const std::string exports = Root() + "/home/.local/share/flatpak/exports/bin";
      testsupport::MakeDirs(exports);
      testsupport::WriteFile(exports + "/" + e.flatpakId, "");
      testsupport::WriteFile(Bin() + "/flatpak", program);
      ::chmod((Bin() + "/flatpak").c_str(), 0755);
    }
  }
};

LaunchOptionsRecord Options(std::int16_t record, std::int16_t monsters, std::int16_t sound,
                            std::int16_t skills, std::int16_t respawn, std::int16_t fakers,
                            std::int16_t artInt) {
  return {record, monsters, sound, skills, respawn, fakers, artInt};
}

TEST_F(PlanTest, EveryEngineStartsWhatWasChosenAsItsOwnCodeReadsIt) {
  const std::string maps = Root() + "/My Maps";
  testsupport::MakeDirs(maps);
  testsupport::WriteFile(maps + "/GAME.CON", "not chosen");
  const std::vector<std::string> stages = {"2-05  Occupied Territory", "My Map.map",
                                           "Mapé à moi.map", "E1L1.map", "Add On.grp"};
  for (const std::string& stage : stages) {
    if (stage.ends_with(".grp")) {
      Group(maps + "/" + stage, 1000);
    } else if (stage.ends_with(".map")) {
      testsupport::WriteFile(maps + "/" + stage, std::string("\7\0\0\0", 4));
    }
  }
  // The engine's own folder holds a map of the chosen one's name: it must
  // not play instead.
  testsupport::MakeDirs(Root() + "/home/.config/eduke32");
  testsupport::WriteFile(Root() + "/home/.config/eduke32/My Map.map", "the port's own");
  const std::vector<LaunchOptionsRecord> choices = {
      Options(0, 0, 0, 1, 0, 0, 0), Options(1, 0, 3, 3, 4, 0, 0), Options(0, 1, 0, 2, 1, 0, 0),
      Options(0, 0, 1, 0, 2, 3, 1)};
  const EngineCase engines[] = {{"eduke32", GameEngine::kEDuke32, "eduke32", "com.eduke32.EDuke32"},
                                {"raze", GameEngine::kRaze, "raze", "org.zdoom.Raze"},
                                {"jfduke3d", GameEngine::kJFDuke3D, "jfduke3d", ""}};
  for (const EngineCase& e : engines) {
    for (const Place place : {Place::kBeside, Place::kOnPath, Place::kFlatpak}) {
      if (place == Place::kFlatpak && *e.flatpakId == '\0') continue;
      Install(e, place);
      const launch::GameFolder folder = launch::LookAtGameFolder();
      ASSERT_TRUE(folder.Has(e.engine)) << e.oracle;
      for (const std::string& stage : stages) {
        for (const LaunchOptionsRecord& options : choices) {
          SCOPED_TRACE(std::string(e.oracle) + " " +
                       (place == Place::kBeside   ? "beside the game"
                        : place == Place::kOnPath ? "on PATH"
                                                  : "as a Flatpak app") +
                       ", " + stage + ", options " + std::to_string(options.Record) +
                       std::to_string(options.Monsters) + std::to_string(options.Sound) +
                       std::to_string(options.Skills) + std::to_string(options.Respawn) +
                       std::to_string(options.Fakers) + std::to_string(options.ArtInt));
          launch::PlanInputs in;
          in.folder = folder;
          in.engine = e.engine;
          in.options = options;
          in.stage = text::ToLower(stage);
          const std::string chosen = maps + "/" + stage;
          const bool userFile = stage.ends_with(".map") || stage.ends_with(".grp");
          if (userFile) {
            in.chosenFile = platform::HostPath{chosen};
            in.chosenIdentity = platform::LocateFile(platform::HostPath{chosen}).identity;
          }
          launch::Plan plan = launch::MakePlan(in);
          launch::PreparedRun run;
          if (plan.NeedsRun()) {
            run = launch::PrepareRun(plan);
            ASSERT_EQ(run.error, "");
            plan = launch::MakePlan(in, &run.folder);
          }
          ASSERT_EQ(plan.refused, "");
          std::vector<std::string> argv = plan.words;
          std::vector<std::string> granted;
          if (place == Place::kFlatpak) {
            granted = Granted(argv);
            const auto app = std::find(argv.begin(), argv.end(), e.flatpakId);
            ASSERT_NE(app, argv.end());
            argv.erase(argv.begin(), app);
            argv.front() = e.program;
          }
          const auto answer =
              testsupport::AskEngine(e.oracle, argv, plan.workingFolder, Root() + "/home", Bin());
          ASSERT_EQ(answer.error, "");
          GameStart played = testsupport::AsGameStart(e.oracle, answer.json);
          // The file it opened is the one staged for the run, and that holds
          // the chosen file's bytes.
          const std::string staged = plan.run.file.empty()
                                         ? std::string()
                                         : platform::InFolder(run.folder.fileFolder, plan.run.name);
          for (std::string* file : {&played.map, &played.group}) {
            if (!file->empty() && !staged.empty() && RealPath(*file) == RealPath(staged) &&
                testsupport::ReadFile(staged) == testsupport::ReadFile(chosen)) {
              *file = "the chosen file";
            }
          }

          // What the DOS game starts for the same choices, less what this
          // engine cannot be told.
          const CommandDialect dialect = launch::RowOf(e.engine).dialect({}, {});
          LaunchOptionsRecord told = options;
          for (const auto& option : mainwindow::OptionFields()) {
            if (!TakesWith(dialect, static_cast<int>(option.option), in.stage)) {
              told.*option.field = 0;
            }
          }
          GameStart expected = testsupport::ReadAsTheGame(BuildCommandLine(
              told, in.stage,
              userFile ? "c:\\maps\\x" + stage.substr(stage.size() - 4) : std::string()));
          if (!Takes(dialect, static_cast<int>(mainwindow::Option::kSkills))) {
            expected.skill = played.skill = 0;
          }
          // With the title screen first, the menu asks for the skill again.
          if (!expected.startsLevel) played.skill = expected.skill;
          for (std::string* file : {&expected.map, &expected.group}) {
            if (!file->empty()) *file = "the chosen file";
          }
          expected.groups.clear();  // the engines' groups are another test's
          EXPECT_EQ(played, expected)
              << ShownCommandLine(plan.words) << "\n  the engine: " << Describe(played)
              << "\n  chosen:     " << Describe(expected) << "\n"
              << answer.raw;
          // A sandboxed engine can open only what the plan grants it.
          if (place == Place::kFlatpak) {
            for (const std::string& opened : testsupport::FilesOpened(e.oracle, answer.json)) {
              if (opened.find('/') == std::string::npos ||
                  opened.find("standin") != std::string::npos) {
                continue;
              }
              const std::string real =
                  RealPath(opened.front() == '/' ? opened : plan.workingFolder + "/" + opened);
              bool inside = false;
              for (const auto& g : granted)
                inside = inside || real == g || real.starts_with(g + "/");
              EXPECT_TRUE(inside) << real << " is not granted: " << ShownCommandLine(plan.words);
            }
          }
          if (run.release) run.release();
        }
      }
    }
  }
}

// Raze picks its game by the end of the group's path among every game it
// finds, its own folder's first: with the World Tour in the game folder
// and an Atomic copy in ~/.config/raze, the game folder's plays.
TEST_F(PlanTest, RazePlaysTheGameFoldersGroup) {
  Group(ProgramDir() + "/DUKE3D.GRP", 44486702);
  testsupport::MakeDirs(Root() + "/home/.config/raze");
  Group(Root() + "/home/.config/raze/DUKE3D.GRP", kAtomic);
  testsupport::WriteFile(Bin() + "/raze", "#!/bin/sh\n");
  ::chmod((Bin() + "/raze").c_str(), 0755);
  launch::PlanInputs in;
  in.folder = launch::LookAtGameFolder();
  in.engine = GameEngine::kRaze;
  in.stage = "1-01  Hollywood Holocaust";
  launch::Plan plan = launch::MakePlan(in);
  launch::PreparedRun run = launch::PrepareRun(plan);
  ASSERT_EQ(run.error, "");
  plan = launch::MakePlan(in, &run.folder);
  const auto answer =
      testsupport::AskEngine("raze", plan.words, plan.workingFolder, Root() + "/home");
  ASSERT_EQ(answer.error, "");
  EXPECT_EQ(answer.json["start"]["game"].text, "Duke Nukem 3D: Atomic Edition (WT)") << answer.raw;
  EXPECT_EQ(RealPath(plan.workingFolder + "/" + answer.json["start"]["main_group"].text),
            RealPath(ProgramDir() + "/DUKE3D.GRP"));
  if (run.release) run.release();
}

// A saved game is said to each engine as its own code reads it, and no
// level is said with it (it would replace the save): the DOS game and
// JFDuke3D its slot, Raze its console's load; EDuke32 cannot be told.
TEST_F(PlanTest, EachEngineIsToldTheSavedGameAsItReadsIt) {
  launch::PlanInputs in;
  in.stage = "2-05  Occupied Territory";
  in.options.Skills = 2;
  in.savedGame = "3";
  testsupport::WriteFile(ProgramDir() + "/DUKE3D.EXE", "");
  testsupport::WriteFile(Bin() + "/jfduke3d", "#!/bin/sh\n");
  testsupport::WriteFile(Bin() + "/raze", "#!/bin/sh\n");
  ::chmod((Bin() + "/jfduke3d").c_str(), 0755);
  ::chmod((Bin() + "/raze").c_str(), 0755);
  in.folder = launch::LookAtGameFolder();
  in.engine = GameEngine::kDos;
  const GameStart dos = testsupport::ReadAsTheGame(launch::MakePlan(in).shown);
  EXPECT_EQ(dos.savedGame, 3) << testsupport::Describe(dos);
  EXPECT_FALSE(dos.startsLevel);

  in.engine = GameEngine::kJFDuke3D;
  auto answer = testsupport::AskEngine("jfduke3d", launch::MakePlan(in).words, ProgramDir(),
                                       Root() + "/home", Bin());
  ASSERT_EQ(answer.error, "");
  EXPECT_EQ(answer.json["start"]["starts"].text, "saved game") << answer.raw;

  in.engine = GameEngine::kRaze;
  in.savedGame = "save0001";
  launch::Plan plan = launch::MakePlan(in);
  launch::PreparedRun run = launch::PrepareRun(plan);
  plan = launch::MakePlan(in, &run.folder);
  answer = testsupport::AskEngine("raze", plan.words, plan.workingFolder, Root() + "/home");
  if (run.release) run.release();
  ASSERT_EQ(answer.error, "");
  // Raze's reader lists the console's commands; what follows one is its
  // argument.
  const auto& args = answer.json["parsed"]["args"].items;
  ASSERT_GE(args.size(), 2u);
  EXPECT_EQ(args[args.size() - 2].text, "+load");
  EXPECT_EQ(args.back().text, "save0001");
  EXPECT_EQ(answer.json["start"]["level"].IsNull(), true) << answer.raw;

  EXPECT_FALSE(launch::WhyNoContinue(GameEngine::kEDuke32).empty());
}

}  // namespace

namespace {

// A preset's mod, as each engine's own code reads the line made of it: the
// add-on's group after the game's, the main script, the DEF file and the
// user's map, with the preset's own folder for its settings and saves.
TEST_F(PlanTest, EachEngineLoadsAPresetsFilesInOrderWithItsOwnFolder) {
  const std::string mod = Root() + "/My Mod";
  testsupport::MakeDirs(mod);
  Group(mod + "/DUKEDC.GRP", 8410183);
  testsupport::WriteFile(mod + "/DC GAME.CON", "// the mod's own\n");
  testsupport::WriteFile(mod + "/DC.DEF", "// art\n");
  testsupport::WriteFile(mod + "/DC MAP.map", std::string("\7\0\0\0", 4));
  const std::string own = Root() + "/preset folder";
  testsupport::MakeDirs(own);
  const auto inputs = [&](GameEngine engine) {
    launch::PlanInputs in;
    in.folder = launch::LookAtGameFolder();
    in.engine = engine;
    in.stage = "dc map.map";
    in.chosenFile = platform::HostPath{mod + "/DC MAP.map"};
    in.chosenIdentity = platform::LocateFile(in.chosenFile).identity;
    for (const char* name : {"DUKEDC.GRP", "DC GAME.CON", "DC.DEF"}) {
      in.mod.push_back({mod + "/" + name, "", false});
    }
    in.ownFolder = own;
    return in;
  };
  const EngineCase engines[] = {{"eduke32", GameEngine::kEDuke32, "eduke32", ""},
                                {"raze", GameEngine::kRaze, "raze", ""},
                                {"jfduke3d", GameEngine::kJFDuke3D, "jfduke3d", ""}};
  for (const EngineCase& e : engines) {
    SCOPED_TRACE(e.oracle);
    Install(e, Place::kBeside);
    launch::PlanInputs in = inputs(e.engine);
    ASSERT_EQ(launch::PrepareOwnFolder(own, e.engine), "");
    launch::Plan plan = launch::MakePlan(in);
    launch::PreparedRun run = launch::PrepareRun(plan);
    ASSERT_EQ(run.error, "");
    plan = launch::MakePlan(in, &run.folder);
    ASSERT_EQ(plan.refused, "");
    const auto answer =
        testsupport::AskEngine(e.oracle, plan.words, plan.workingFolder, Root() + "/home", Bin());
    ASSERT_EQ(answer.error, "");
    const auto& json = answer.json;
    const std::string line = ShownCommandLine(plan.words) + "\n" + answer.raw;
    std::vector<std::string> groups;
    if (e.engine == GameEngine::kEDuke32) {
      for (const auto& g : json["start"]["groups"].items) {
        if (g["loaded"].boolean) groups.push_back(RealPath(g["file"].text));
      }
      EXPECT_EQ(json["parsed"]["con"].text, mod + "/DC GAME.CON") << line;
      EXPECT_EQ(json["parsed"]["def"].text, mod + "/DC.DEF") << line;
      EXPECT_TRUE(json["parsed"]["use_cwd"].boolean) << line;
      EXPECT_EQ(plan.workingFolder, own);
    } else if (e.engine == GameEngine::kRaze) {
      for (const auto& g : json["start"]["files_given"].items) {
        if (g.text.ends_with(".GRP") || g.text.ends_with(".grp")) {
          groups.push_back(
              RealPath(g.text.front() == '/' ? g.text : plan.workingFolder + "/" + g.text));
        }
      }
      EXPECT_EQ(json["parsed"]["con"].text, mod + "/DC GAME.CON") << line;
      EXPECT_EQ(json["parsed"]["def"].text, mod + "/DC.DEF") << line;
      const auto& args = json["parsed"]["args"].items;
      bool savedir = false;
      for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        savedir = savedir || (args[i].text == "-savedir" && args[i + 1].text.starts_with(own));
      }
      EXPECT_TRUE(savedir) << line;
    } else {
      for (const auto& g : json["start"]["groups"].items)
        groups.push_back(RealPath(g["file"].text));
      EXPECT_EQ(json["parsed"]["con"].text, "DC GAME.CON") << line;
      EXPECT_EQ(json["parsed"]["def"].text, "DC.DEF") << line;
      EXPECT_EQ(RealPath(json["cwd"].text), RealPath(own)) << line;
      EXPECT_TRUE(testsupport::Exists(own + "/user_profiles_disabled"));
    }
    // The game's group, then the add-on's: the later one wins.
    ASSERT_GE(groups.size(), 2u) << line;
    EXPECT_EQ(groups[groups.size() - 2], RealPath(ProgramDir() + "/DUKE3D.GRP")) << line;
    EXPECT_EQ(groups.back(), RealPath(mod + "/DUKEDC.GRP")) << line;
    GameStart played = testsupport::AsGameStart(e.oracle, json);
    EXPECT_NE(played.map, "") << line;
    if (run.release) run.release();
  }

  // The DOS game, by its own switches: the group and the main script, and
  // what it cannot take is said, naming the file.
  {
    launch::PlanInputs in = inputs(GameEngine::kDos);
    in.mod = {{mod + "/DUKEDC.GRP", "c:\\mymod\\dukedc.grp", false},
              {mod + "/DC GAME.CON", "c:\\mymod\\dcgame~1.con", false}};
    in.stage = "1-01  Hollywood Holocaust";
    const GameStart dos = testsupport::ReadAsTheGame(launch::MakePlan(in).shown);
    EXPECT_FALSE(dos.quits);
    EXPECT_EQ(dos.groups, std::vector<std::string>{"c:\\mymod\\dukedc.grp"});
    EXPECT_EQ(dos.con, "c:\\mymod\\dcgame~1.con");
    in.mod.push_back({mod + "/DC.DEF", "", false});
    EXPECT_EQ(launch::MakePlan(in).refused,
              "Duke3D.exe cannot take \"DC.DEF\": DEF files are a source port's; the DOS game "
              "does not read them.");
  }
}

}  // namespace
