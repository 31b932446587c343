// How DOSBox shows a host folder to DOS programs: its entries in the host's
// listing order, each with its 8.3 alias. A folder is read once and kept
// while it has not changed, so that a folder of 20,000 maps costs one read.
#pragma once

#include <string>
#include <vector>

namespace platform::posix {

// The entries of a host folder in the host's listing order, without "." and
// "..". Empty when the folder cannot be read.
std::vector<std::string> ListFolder(const std::string& hostFolder);

// The host entry of a folder that a DOS name stands for: the exact name, else
// the same name in another case, else the entry whose alias it is. Empty when
// none.
std::string MatchEntry(const std::string& hostFolder, const std::string& dosName);

// The alias DOSBox shows for an entry of the folder; empty when the folder
// holds no such entry.
std::string AliasOf(const std::string& hostFolder, const std::string& entry);

// The first entry, in listing order, that a DOS name gives without regard to
// case (by its name, or else by its alias) and that the test accepts.
std::string FindEntry(const std::string& hostFolder, const std::string& dosName,
                      bool (*accept)(const std::string& hostFolder, const std::string& entry));

}  // namespace platform::posix
