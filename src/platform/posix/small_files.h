// Reading and writing a few bytes of a file, close-on-exec as every
// descriptor of Kestrum's, so that nothing it has open reaches the programs
// it starts.
#pragma once

#include <string>

namespace platform::posix {

// Up to limit bytes of the file; empty when it cannot be read.
std::string ReadSmallFile(const std::string& path, std::size_t limit = 4096);
// Makes (or replaces the contents of) a file of this user's only.
bool WriteSmallFile(const std::string& path, const std::string& content);

}  // namespace platform::posix
