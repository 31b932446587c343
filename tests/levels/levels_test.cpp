#include "levels/levels.h"

#include <gtest/gtest.h>

#include <set>

#include "base/stage_list.h"
#include "support/shared_fixture.h"

namespace {

TEST(LevelTables, EveryEntryHasTheFixedCodeWidth) {
  std::set<std::string> codes;
  auto check = [&](const char* entry, char episode) {
    const std::string e = entry;
    ASSERT_GE(e.size(), 7u) << e;
    EXPECT_EQ(e[0], episode) << e;
    EXPECT_EQ(e[1], '-') << e;
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(e[2])) &&
                std::isdigit(static_cast<unsigned char>(e[3])))
        << e;
    EXPECT_EQ(e.substr(4, 2), "  ") << e;
    EXPECT_NE(e[6], ' ') << e;
    EXPECT_TRUE(codes.insert(e.substr(0, 4)).second) << "twice: " << e;
  };
  for (std::size_t i = 0; i < kDuke3DLevels.size(); ++i) {
    check(kDuke3DLevels[i], i < 8 ? '1' : i < 19 ? '2' : '3');
  }
  for (const char* e : kAtomicLevels) check(e, '4');
}

TEST(LevelTables, TextsAsTheGameNamesThem) {
  EXPECT_STREQ(kDuke3DLevels[0], "1-01  Hollywood Holocaust");
  EXPECT_STREQ(kDuke3DLevels[7], "1-08  Dukematch Level 1");
  EXPECT_STREQ(kDuke3DLevels[12], "2-05  Occupied Territory");
  EXPECT_STREQ(kDuke3DLevels[22], "3-04  L.A.Rumble");
  EXPECT_STREQ(kDuke3DLevels[29], "3-11  Freeway");
  EXPECT_STREQ(kAtomicLevels[0], "4-01  It's Impossible");
  EXPECT_STREQ(kAtomicLevels[1], "4-02  Duke-Burger");
  EXPECT_STREQ(kAtomicLevels[2], "4-03  Shop-N-Bag");
  EXPECT_STREQ(kAtomicLevels[6], "4-07  XXX-Stacy");
  EXPECT_STREQ(kAtomicLevels[10], "4-11  Area 51");
}

TEST(LevelTables, AddingAppendsAndSelectsTheFirstEntry) {
  StageList stages;
  AddDuke3Levels(stages);
  EXPECT_EQ(stages.ListCount(), 30);
  EXPECT_EQ(stages.ListIndex(), 0);
  stages.SetListIndex(5);
  AddDukeAtomic(stages);
  EXPECT_EQ(stages.ListCount(), 41);
  EXPECT_EQ(stages.ListIndex(), 0);
  EXPECT_EQ(stages.List(30), "4-01  It's Impossible");
  // Neither clears the list first.
  AddDuke3Levels(stages);
  EXPECT_EQ(stages.ListCount(), 71);
}

}  // namespace
