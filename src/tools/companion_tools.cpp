#include "tools/companion_tools.h"

#include "launch/launcher.h"
#include "base/stage_list.h"
#include "text/text.h"
#include "dosbox/runner.h"

const std::array<CompanionTool, 4> kCompanionTools = {{
    {CompanionToolId::kBuild, "cmdBuild", "Build.exe", "command.com /c Build.exe",
     "Build.exe is not in required directory", true, true},
    {CompanionToolId::kEditArt, "cmdEditArt", "Editart.exe", "command.com /c Editart.exe",
     "Editart.exe is not in required directory", true, false},
    {CompanionToolId::kSetup, "mnuSetup", "Setup.exe", "command.com /c Setup.exe",
     "Setup.exe is not in required directory", false, false},
    {CompanionToolId::kDukeHelp, "mnuDukeHelp", "Dn3dHelp.exe", "command.com /c Dn3dHelp.exe",
     "Dn3DHelp.exe is not in required directory", false, false},
}};

const CompanionTool& FindCompanionTool(CompanionToolId id) {
  return kCompanionTools[static_cast<std::size_t>(id)];
}

std::string ToolCommandLine(const CompanionTool& tool, const StageList& stages) {
  std::string line = tool.commandLine;
  if (tool.takesUserMap) {
    const std::string first = stages.List(0);
    if (text::Right(first, 4) == ".map") line += " " + first;
  }
  return line;
}

ToolStart StartCompanionTool(const CompanionTool& tool, const StageList& stages) {
  ToolStart result;
  if (!launch::ProgramIsInstalled(tool.fileName)) {
    result.message = tool.missingMessage;
    return result;
  }
  launch::EnterProgramDirectory();
  const launch::Started started = launch::StartMaximised(ToolCommandLine(tool, stages));
  if (started.taskId == 0) {
    result.outcome = ToolStart::Outcome::Failed;
    result.message = started.error;
    return result;
  }
  result.outcome = ToolStart::Outcome::Started;
  result.taskId = started.taskId;
  return result;
}
