// The readers of saved games, on files the engines' own code wrote
// (../shared/save-fixtures): each good file reads as the engine wrote it,
// and each damaged twin is refused or read as the engine reads it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "saves/inflate.h"
#include "saves/saves.h"

namespace {

using saves::Format;
using saves::SaveInfo;

std::string Fixtures() {
  const std::string folder = KESTRUM_SAVE_FIXTURES;
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 ? folder : std::string();
}

std::string Bytes(const std::string& file) {
  std::ifstream in(Fixtures() + "/" + file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

SaveInfo Read(const std::string& file) {
  const std::string b = Bytes(file);
  if (file.ends_with(".esv")) return saves::ReadEDuke32Save(b);
  if (file.ends_with(".dsave")) return saves::ReadRazeSave(b);
  return saves::ReadGameSave(b);
}

TEST(Saves, EachEngineSaveReadsAsItWasWritten) {
  if (Fixtures().empty()) GTEST_SKIP() << "skipped: no save fixtures";
  struct Case {
    const char* file;
    Format format;
    const char* name;
    int version, players, episode, level, skill;
    const char* userMap;
    const char* script;
  };
  const Case cases[] = {
      {"dos/GAME0.SAV", Format::kDos, "SPACEPORT HIDEOUT", 117, 1, 1, 6, 2, "", ""},
      {"dos/GAME1.SAV", Format::kDos, "E1L1", 117, 1, 2, 1, 3, "", ""},
      {"jfduke3d/game0.sav", Format::kJFDuke3D, "SPACEPORT HIDEOUT", 133, 1, 1, 8, 2,
       "/home/duke/maps/My Map.map", ""},
      {"jfduke3d/game1.sav", Format::kJFDuke3D, "E1L1", 133, 1, 2, 1, 3, "", ""},
      {"eduke32/save0000.esv", Format::kEDuke32, "Kestrum test", 349, 1, 1, 8, 3, "/mymap.map",
       "GAME.CON"},
      {"eduke32/save0001.esv", Format::kEDuke32, "08 Dec 2025 11:42AM", 349, 1, 2, 5, 3, "",
       "MYMOD.CON"},
      {"raze/save0001.dsave", Format::kRaze, "Kestrum test", 21, 1, 1, 3, 0, "", "DUKE3D.GRP"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const SaveInfo info = Read(c.file);
    ASSERT_TRUE(info.readable);
    EXPECT_EQ(info.format, c.format);
    EXPECT_EQ(info.name, c.name);
    EXPECT_EQ(info.version, c.version);
    EXPECT_EQ(info.players, c.players);
    EXPECT_EQ(info.episode, c.episode);
    EXPECT_EQ(info.level, c.level);
    EXPECT_EQ(info.skill, c.skill);
    EXPECT_EQ(info.userMap, c.userMap);
    EXPECT_EQ(info.script, c.script);
  }
  const SaveInfo autosave = Read("eduke32/save0001.esv");
  EXPECT_TRUE(autosave.autosave);
  EXPECT_EQ(autosave.pointerSize, 8);
  const SaveInfo raze = Read("raze/save0001.dsave");
  EXPECT_EQ(raze.engine, "Raze.Duke");
  EXPECT_EQ(raze.label, "E1L3");
  EXPECT_EQ(raze.created, "2025-12-08 11:42:00");
}

// Damage is refused; a save of another version, build or game reads, and
// says so, for the list to grey it with the reason.
TEST(Saves, EveryDamagedTwinIsRefusedOrReadAsTheEngineReadsIt) {
  if (Fixtures().empty()) GTEST_SKIP() << "skipped: no save fixtures";
  for (const char* file :
       {"broken/dos/truncated-header.SAV", "broken/dos/truncated-thumbnail.SAV",
        "broken/dos/block-past-end.SAV", "broken/dos/lzw-table-overflow.SAV",
        "broken/jfduke3d/truncated-header.sav", "broken/jfduke3d/truncated-thumbnail.sav",
        "broken/jfduke3d/block-past-end.sav", "broken/jfduke3d/lzw-table-overflow.sav",
        "broken/eduke32/header-327.esv", "broken/eduke32/wrong-magic.esv",
        "broken/eduke32/wrong-version.esv", "broken/eduke32/truncated-screenshot.esv",
        "broken/eduke32/screenshot-past-end.esv", "broken/raze/no-info.dsave",
        "broken/raze/truncated.dsave"}) {
    SCOPED_TRACE(file);
    EXPECT_FALSE(Read(file).readable);
  }
  struct Case {
    const char* file;
    bool readable;
    int version;
    const char* engine;
    int pointerSize;
  };
  for (const Case& c : {Case{"broken/dos/wrong-version.SAV", true, 116, "", 0},
                        Case{"broken/jfduke3d/wrong-version.sav", true, 117, "", 0},
                        Case{"broken/eduke32/other-bytever.esv", true, 348, "", 8},
                        Case{"broken/eduke32/ptrsize-4.esv", true, 349, "", 4},
                        Case{"broken/raze/first-entry-info.dsave", true, 21, "Raze.Duke", 0},
                        Case{"broken/raze/other-engine.dsave", true, 21, "Raze.Blood", 0},
                        Case{"broken/raze/newer-version.dsave", true, 22, "Raze.Duke", 0},
                        Case{"broken/raze/old-version.dsave", true, 20, "Raze.Duke", 0}}) {
    SCOPED_TRACE(c.file);
    const SaveInfo info = Read(c.file);
    EXPECT_EQ(info.readable, c.readable);
    EXPECT_EQ(info.version, c.version);
    EXPECT_EQ(info.engine, c.engine);
    EXPECT_EQ(info.pointerSize, c.pointerSize);
  }
}

// Deflate's three kinds of block, and streams that stop short or point
// before their start.
TEST(Saves, InflateReadsEveryBlockKindAndRefusesDamage) {
  // "hello" stored; then fixed codes for "abcabcabc" (a back reference).
  const std::string stored(
      "\x01\x05\x00\xfa\xff"
      "hello",
      10);
  EXPECT_EQ(saves::Inflate(stored, 100), std::optional<std::string>("hello"));
  const std::string fixed("\x4b\x4c\x4a\x4e\x04\x23\x00", 7);
  EXPECT_EQ(saves::Inflate(fixed, 100), std::optional<std::string>("abcabcabc"));
  EXPECT_EQ(saves::Inflate(fixed, 5), std::nullopt);  // more than allowed
  EXPECT_EQ(saves::Inflate(fixed.substr(0, 3), 100), std::nullopt);
  EXPECT_EQ(saves::Inflate(std::string("\x01\x05\x00\x00\x00"
                                       "hello",
                                       10),
                           100),
            std::nullopt);
  EXPECT_EQ(saves::Inflate(std::string("\x07\x00\x00", 3), 100), std::nullopt);  // no such kind
}

}  // namespace
