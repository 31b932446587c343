// Starting a command line the way command.com would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dosbox/start_failure.h"
#include "winapi/dos_paths.h"

namespace platform {

struct StartResult {
  std::int64_t taskId = 0;  // 0: nothing was started
  StartFailure failure;     // why, when nothing started
};
// Starts a command line the way command.com would, in the current directory:
// a program the system finds is started with the other words as its
// arguments; any other line runs in DOSBox, in a DOS view made for it
// (dos_view.h). Never waits for the started program and never hands the
// line to a shell.
// The files the user chose that the line names are started only while each
// is still the very file chosen (dos_view.h's ChosenFile: the DOS path and
// the identity it had, and the path it was chosen by).
struct ChosenFile {
  std::string dosPath;
  std::string identity;
  HostPath hostPath;  // where it was chosen: the line's DOS path is never read back
};
StartResult StartProcess(const std::vector<std::string>& words, int showCommand,
                         const std::vector<ChosenFile>& chosen = {});
// The same for a line, cut at its blanks as command.com cuts it.
StartResult StartProcess(const std::string& commandLine, int showCommand,
                         const std::vector<ChosenFile>& chosen = {});

}  // namespace platform
