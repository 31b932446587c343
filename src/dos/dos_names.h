// DOS file names as DOSBox shows host files to DOS programs, and the names
// DOS cannot open. Pure text rules, the same on every host.
#pragma once

#include <string>
#include <vector>

namespace platform::dos {

// The 8.3 alias of every name, in the same order as the names (the host's
// listing order, which decides the ~N numbers). Each long name gets an alias
// numbered per name prefix, as DOSBox numbers them.
std::vector<std::string> DosAliases(const std::vector<std::string>& namesInListingOrder);

// Whether a file name (an 8.3 name or alias, any case, any extension) names
// one of DOS's devices, so that opening it never reaches the file.
bool IsDeviceName(const std::string& dosName);

// The first character of an 8.3 name that DOS programs under DOSBox cannot
// open a file by, or that would pick another file (wildcards); '\0' when
// there is none. A control character or a byte beyond ASCII counts.
char UnopenableCharacter(const std::string& dosName);

// The first character of a command line that DOSBox's own shell reads
// (redirection, pipes, variables, quoting, line ends); '\0' when there is none.
char ShellCharacter(const std::string& line);

}  // namespace platform::dos
