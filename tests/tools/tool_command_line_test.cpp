#include <gtest/gtest.h>

#include "levels/levels.h"
#include "base/stage_list.h"
#include "support/shared_fixture.h"
#include "tools/companion_tools.h"

namespace {

TEST(ToolCommandLine, MapEditorLooksAtTheFirstEntryOnly) {
  StageList stages;
  const CompanionTool& build = FindCompanionTool(CompanionToolId::kBuild);
  AddDuke3Levels(stages);
  EXPECT_EQ(ToolCommandLine(build, stages), "command.com /c Build.exe");
  stages.InsertItem("mymap.map", 0);
  stages.SetListIndex(3);  // a built-in level selected: the map still goes
  EXPECT_EQ(ToolCommandLine(build, stages), "command.com /c Build.exe mymap.map");
  stages.SetItemText(0, "addon.grp");
  EXPECT_EQ(ToolCommandLine(build, stages), "command.com /c Build.exe");
  stages.SetItemText(0, "MYMAP.MAP");
  EXPECT_EQ(ToolCommandLine(build, stages), "command.com /c Build.exe");
  EXPECT_EQ(ToolCommandLine(FindCompanionTool(CompanionToolId::kEditArt), stages),
            "command.com /c Editart.exe");
}

}  // namespace
