// The game's companion programs: the map editor, the art editor, setup and
// help. One pattern starts them all; this table is what differs.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/stage_list.h"

enum class CompanionToolId { kBuild, kEditArt, kSetup, kDukeHelp };

struct CompanionTool {
  CompanionToolId id;
  const char* control;         // what starts it: cmdBuild, mnuSetup, ...
  const char* fileName;        // looked for in the program directory
  const char* commandLine;     // what is started
  const char* missingMessage;  // shown, titled kNoDice, when the file is missing
  bool focusMainWindowFirst;   // the toolbar buttons take the focus first
  bool takesUserMap;           // the map editor opens the user map of entry 0
};

extern const std::array<CompanionTool, 4> kCompanionTools;
const CompanionTool& FindCompanionTool(CompanionToolId id);

// The command line for a tool; the map editor looks at entry 0 of the stage
// list, never at the selection.
std::string ToolCommandLine(const CompanionTool& tool, const StageList& stages);

struct ToolStart {
  enum class Outcome { Missing, Started, Failed } outcome = Outcome::Missing;
  std::string message;      // for Missing and Failed
  std::int64_t taskId = 0;  // for Started
};
// Checks for the tool, makes the program directory current and starts it.
// A missing tool changes nothing, not even the current directory.
ToolStart StartCompanionTool(const CompanionTool& tool, const StageList& stages);
