#include "launch/command_line.h"

#include "text/text.h"

std::string GameCommandLine;

std::string BuildCommandLine(const LaunchOptionsRecord& o, const std::string& stage,
                             const std::string& userFilePath) {
  const std::string extension = text::Right(text::ToLower(stage), 4);
  const bool userFile = extension == ".map" || extension == ".grp";

  std::string line = "command.com /c Duke3D";
  if (o.Record == 1) line += " /r";
  if (o.Monsters == 1) line += " /m";
  if (o.Sound == 1) line += " /nm";
  if (o.Sound == 2) line += " /ns";
  if (o.Sound == 3) line += " /nm /ns";
  line += " /s" + std::to_string(o.Skills + 1);
  // The game reads /t1 as monsters, /t2 items and /t3 inventory, the list's
  // own positions; anything else after /t is all three.
  if (o.Respawn == 4) {
    line += " /tx";
  } else if (o.Respawn != 0) {
    line += " /t" + std::to_string(o.Respawn);
  }
  if (o.Fakers != 0) line += " /q" + std::to_string(o.Fakers);
  if (o.ArtInt == 1) line += " /a";
  // Every built-in level, the first one too, is named: without /v and /l the
  // game opens its title screen and asks for the skill again.
  if (!userFile) {
    line += " /v" + text::Left(stage, 1) + " /l" + text::Mid(stage, 3, 2);
  }
  if (extension == ".map") line += " -map " + userFilePath;
  // The game takes a group file only with its name attached to the switch.
  if (extension == ".grp") line += " /g" + userFilePath;
  return text::TrimBlanks(line);
}
