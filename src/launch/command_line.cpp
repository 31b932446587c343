#include "launch/command_line.h"

#include "app/launch_options.h"
#include "levels/stage_list.h"
#include "levels/user_files.h"
#include "platform/text.h"

std::string GameCommandLine;

void BuildCommandLine() {
  const LaunchOptionsRecord& o = LaunchOptions;
  const std::string stage = Stages.Text();
  const int position = Stages.ListIndex();
  const std::string extension = text::Right(text::ToLower(stage), 4);

  std::string line = "command.com /c Duke3D";
  if (o.Record == 1) line += " /r";
  if (o.Monsters == 1) line += " /m";
  if (o.Sound == 1) line += " /nm";
  if (o.Sound == 2) line += " /ns";
  if (o.Sound == 3) line += " /nm /ns";
  line += " /s" + std::to_string(o.Skills + 1);
  if (o.Respawn == 4) {
    line += " /tx";
  } else if (o.Respawn != 0) {
    line += " /t" + std::to_string(o.Respawn - 1);
  }
  if (o.Fakers != 0) line += " /q" + std::to_string(o.Fakers);
  if (o.ArtInt == 1) line += " /a";
  if (position != 0) {
    line += " /v" + text::Left(stage, 1) + " /l" + text::Mid(stage, 3, 2);
  }
  if (extension == ".map") line += " -map " + UserFilePath;
  if (extension == ".grp") line += " /g " + UserFilePath;
  GameCommandLine = text::TrimBlanks(line);
}
