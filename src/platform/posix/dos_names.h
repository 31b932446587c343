// How DOSBox shows host file names to DOS programs: each long name gets an
// 8.3 alias, numbered per name prefix in the order the host lists the folder.
#pragma once

#include <string>
#include <vector>

namespace platform::posix {

// The alias of every name, in the same order as the names (the host's
// listing order, which decides the ~N numbers).
std::vector<std::string> DosAliases(const std::vector<std::string>& namesInListingOrder);

// The entries of a host folder in the host's listing order, without "." and
// "..". Empty when the folder cannot be read.
std::vector<std::string> ListFolder(const std::string& hostFolder);

// The host entry of a folder that a DOS name stands for: the exact name, else
// the same name in another case, else the entry whose alias it is. Empty when
// none.
std::string MatchEntry(const std::string& hostFolder, const std::string& dosName);

}  // namespace platform::posix
