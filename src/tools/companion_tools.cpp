#include "tools/companion_tools.h"

#include <stdexcept>

#include "launch/launcher.h"
#include "levels/stage_list.h"
#include "platform/text.h"

const std::array<CompanionTool, 4> kCompanionTools = {{
    {"cmdBuild_Click", "Build.exe", "command.com /c Build.exe",
     "Build.exe is not in required directory", true, true},
    {"cmdEditArt_Click", "Editart.exe", "command.com /c Editart.exe",
     "Editart.exe is not in required directory", true, false},
    {"mnuSetup_Click", "Setup.exe", "command.com /c Setup.exe",
     "Setup.exe is not in required directory", false, false},
    {"mnuDukeHelp_Click", "Dn3dHelp.exe", "command.com /c Dn3dHelp.exe",
     "Dn3DHelp.exe is not in required directory", false, false},
}};

const CompanionTool& FindCompanionTool(const std::string& handler) {
  for (const auto& tool : kCompanionTools) {
    if (handler == tool.handler) return tool;
  }
  throw std::out_of_range("no companion tool for " + handler);
}

std::string ToolCommandLine(const CompanionTool& tool) {
  std::string line = tool.commandLine;
  if (tool.takesUserMap) {
    const std::string first = Stages.List(0);
    if (text::Right(first, 4) == ".map") line += " " + first;
  }
  return line;
}

ToolStart StartCompanionTool(const CompanionTool& tool) {
  ToolStart result;
  if (!launch::ProgramIsInstalled(tool.fileName)) {
    result.message = tool.missingMessage;
    return result;
  }
  launch::EnterProgramDirectory();
  const platform::StartResult started = launch::StartMaximised(ToolCommandLine(tool));
  if (started.taskId == 0) {
    result.outcome = ToolStart::Outcome::Failed;
    result.message = started.error;
    return result;
  }
  result.outcome = ToolStart::Outcome::Started;
  result.taskId = started.taskId;
  return result;
}
