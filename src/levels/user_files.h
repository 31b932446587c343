// The user's own map or group file: the user entry at the top of the stage
// list, its short path for the game, and its companion text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/launch_options.h"
#include "base/message.h"
#include "base/stage_list.h"
#include "winapi/dos_paths.h"

class MainWindowPort;

// The lower-case short path of the last file chosen; empty at start.
extern std::string UserFilePath;
// The same file by the path it was chosen by, and which file that was, are
// the stage list's (its ChosenFile()): no DOS path is ever read back to
// find it.

// 1 when the name ends in ".map" or ".grp" in any case, else 0.
std::int16_t CheckValidFile(const std::string& fileName);

// Makes the file the user entry (inserted at position 0, or replacing the
// one there), selects it, and offers its companion text on cmdText: beside
// the file as it was chosen, when given.
void SetupFile(const platform::DosShortPath& path, MainWindowPort& window,
               const platform::HostPath& chosen = {});

// A file name as the Open dialog returns it (a host path; a DOS path is
// taken too). Taken as a drop
// is: a map or group file in any case; any other file changes nothing. A
// file the game could not be given changes nothing either, and the message
// says why.
// The engine is the one a launch would start (the user's file reaches a
// port in its own way, and needs no DOS name there).
std::optional<Message> TakeChosenFile(const std::string& fileName, MainWindowPort& window,
                                      GameEngine engine = GameEngine::kDos);
// File names dropped on the start button, in their order (host paths).
std::optional<Message> TakeDroppedFiles(const std::vector<std::string>& fileNames,
                                        MainWindowPort& window,
                                        GameEngine engine = GameEngine::kDos);
// A character typed in the stage list: Backspace takes the user entry away.
void StagesKeyPress(StageList& stages, int keyAscii);

// The companion text of the current user file, as cmdText opens it.
std::string CompanionTextPath(const StageList& stages);
