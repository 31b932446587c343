#include "launch/launcher.h"

#include <cstring>

#include "dosbox/drives.h"
#include "dosbox/runner.h"
#include "launch/messages.h"
#include "os/processes.h"
#include "text/text.h"
#include "winapi/dos_paths.h"

namespace launch {

namespace {

std::string ProgramName(const std::vector<std::string>& words) {
  return words.front().substr(words.front().find_last_of("/\\") + 1);
}

// Whether a name reads as a level's label ("E1L1.MAP"), which Raze starts
// as that built-in level whatever file it names.
bool ReadsAsALevel(const std::string& name) {
  std::size_t at = 0;
  const auto digits = [&] {
    const std::size_t from = at;
    while (at < name.size() && name[at] >= '0' && name[at] <= '9') ++at;
    return at > from;
  };
  const auto letter = [&](char c) {
    return at < name.size() && (name[at] == c || name[at] == c + ('a' - 'A')) && ++at;
  };
  return letter('E') && digits() && letter('L') && digits() &&
         (at == name.size() || name[at] == '.');
}

// The name a staged file goes by: its own where every program reads it
// alike, else one that is, with its extension.
std::string PlainName(const std::string& name) {
  bool plain = !name.empty() && name[0] != '.' && name[0] != '-' && name.size() <= 64 &&
               !ReadsAsALevel(name);
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7f || std::strchr("\\/:*?\"<>|%", c) != nullptr) plain = false;
  }
  if (plain) return name;
  const auto dot = name.find_last_of('.');
  return "usermap" + (dot == std::string::npos ? std::string() : text::ToLower(name.substr(dot)));
}

}  // namespace

bool ProgramIsInstalled(const std::string& fileName) {
  return !platform::FindNormalFile(platform::InFolder(platform::ProgramFolder(), fileName)).empty();
}

void EnterProgramDirectory() {
  platform::SetCurrentDirectory(platform::ProgramFolder());
}

Started StartMaximised(const std::string& commandLine,
                       const std::vector<platform::ChosenFile>& chosen) {
  const platform::StartResult started =
      platform::StartProcess(commandLine, platform::kSwShowMaximized, chosen);
  return Started{started.taskId, Describe(started.failure)};
}

Started StartMaximised(const std::vector<std::string>& words,
                       const std::vector<platform::ChosenFile>& chosen) {
  const platform::StartResult started =
      platform::StartProcess(words, platform::kSwShowMaximized, chosen);
  return Started{started.taskId, Describe(started.failure)};
}

Started StartGameProgram(const std::vector<std::string>& words, std::function<void()> ended) {
  EnterProgramDirectory();
  const std::int64_t task =
      platform::system::Start(words.front(), words, platform::kSwShowMaximized, ended);
  if (task == 0) {
    if (ended) ended();
    return Started{0, ProgramName(words) + " could not be started."};
  }
  return Started{task, {}};
}

std::string EndedAtOnce(const std::vector<std::string>& words) {
  // A game that cannot find its data, or its own settings, ends at once.
  const std::string name = ProgramName(words);
  return name + " ended as soon as it started. Make sure the game's DUKE3D.GRP in " +
         platform::ProgramFolder() + " is whole, and that " + name +
         " runs when started by itself.";
}

StagedFile StageUserFile(const platform::HostPath& file, const std::string& identity,
                         const std::vector<std::string>& looksFirstIn) {
  platform::dosview::Drive drive;
  drive.hostFile = file.text;
  drive.identity = identity;
  drive.dosName = PlainName(file.Name());
  const auto held = [&looksFirstIn](const std::string& name) {
    for (const auto& folder : looksFirstIn) {
      if (!platform::FindNormalFile(platform::InFolder(folder, name)).empty()) return true;
    }
    return false;
  };
  const auto dot = drive.dosName.find_last_of('.');
  const std::string extension =
      dot == std::string::npos ? std::string() : text::ToLower(drive.dosName.substr(dot));
  for (int n = 1; held(drive.dosName) && n < 1000; ++n) {
    drive.dosName = "usermap" + (n == 1 ? std::string() : std::to_string(n)) + extension;
  }
  platform::system::Mounted staged = platform::system::StageFile(drive);
  StagedFile result;
  if (staged.failure) {
    staged.failure.forAPort = true;
    result.error = Describe(staged.failure);
    return result;
  }
  result.file = platform::InFolder(staged.paths.front(), drive.dosName);
  result.started = std::move(staged.started);
  result.release = std::move(staged.release);
  return result;
}

}  // namespace launch
