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

// Which file the path leads to (links followed): its device and inode, and
// the time the inode was made where the file system keeps one, since a
// file system gives a deleted file's inode to the next file made. Empty
// when nothing is there.
std::string FileIdentity(const std::string& path);
// The same for a file already open.
std::string FileIdentity(int fd);

}  // namespace platform::posix
