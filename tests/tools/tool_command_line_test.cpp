#include <gtest/gtest.h>

#include "levels/levels.h"
#include "levels/stage_list.h"
#include "support/shared_fixture.h"
#include "tools/companion_tools.h"

namespace {

TEST(ToolCommandLine, MapEditorLooksAtTheFirstEntryOnly) {
  testsupport::ResetProcessWideValues();
  const CompanionTool& build = FindCompanionTool(CompanionToolId::kBuild);
  AddDuke3Levels();
  EXPECT_EQ(ToolCommandLine(build), "command.com /c Build.exe");
  Stages.InsertItem("mymap.map", 0);
  Stages.SetListIndex(3);  // a built-in level selected: the map still goes
  EXPECT_EQ(ToolCommandLine(build), "command.com /c Build.exe mymap.map");
  Stages.SetItemText(0, "addon.grp");
  EXPECT_EQ(ToolCommandLine(build), "command.com /c Build.exe");
  Stages.SetItemText(0, "MYMAP.MAP");
  EXPECT_EQ(ToolCommandLine(build), "command.com /c Build.exe");
  EXPECT_EQ(ToolCommandLine(FindCompanionTool(CompanionToolId::kEditArt)),
            "command.com /c Editart.exe");
  testsupport::ResetProcessWideValues();
}

}  // namespace
