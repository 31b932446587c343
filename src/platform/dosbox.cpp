#include "platform/dosbox.h"

#include "platform/platform.h"

namespace platform::dosbox {

namespace {
const std::string kDrive = "c:";
const std::string kExit = "exit";
}  // namespace

std::optional<std::string> ShortCurrentDirectory() {
  char buffer[165] = {};
  const auto n = GetShortPathNameA(CurrentDirectory(), buffer, 164);
  if (n == 0 || n > 164) return std::nullopt;
  return std::string(buffer, n);
}

std::vector<std::string> Arguments(const std::string& mountTarget, const std::string& shortFolder,
                                   const std::string& commandLine, bool fullScreen) {
  // A user's own autoexec must not mount C: first.
  std::vector<std::string> args{"-noautoexec"};
  if (fullScreen) args.push_back("-fullscreen");
  std::string folder = shortFolder;
  if (folder.size() >= 2 && folder[1] == ':') folder.erase(0, 2);
  if (folder.empty()) folder.push_back('\\');
  std::string mount = "mount c ";
  mount.append(mountTarget);
  std::string enter = "cd ";
  enter.append(folder);
  for (const std::string* command :
       std::initializer_list<const std::string*>{&mount, &kDrive, &enter, &commandLine, &kExit}) {
    args.push_back("-c");
    args.push_back(*command);
  }
  return args;
}

std::string NotInstalledMessage(const std::string& program, const std::string& howToInstall) {
  return "Kestrum runs " + program + " through DOSBox, which is not installed.\n\nInstall DOSBox" +
         howToInstall + " and try again.";
}

}  // namespace platform::dosbox
