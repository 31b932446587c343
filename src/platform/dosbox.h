// How DOSBox is asked to run one DOS command line where no command.com is:
// the same on every host.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform::dosbox {

// The current directory's short path ("c:\DUKENU~1"); nothing when it has
// none that fits.
std::optional<std::string> ShortCurrentDirectory();

// DOSBox's arguments (without the program itself): drive C: mounted on
// mountTarget, the folder entered, the line run as it stands, then exit.
std::vector<std::string> Arguments(const std::string& mountTarget, const std::string& shortFolder,
                                   const std::string& commandLine, bool fullScreen);

// What the user is told when DOSBox is not there.
std::string NotInstalledMessage(const std::string& program, const std::string& howToInstall);

}  // namespace platform::dosbox
