// Paths as Windows and DOS name them. Kestrum was made for 32-bit Windows
// and keeps its Windows view of the world everywhere else: its paths are DOS
// paths ("c:\games\duke3d"). On Windows these call the real API; on POSIX
// systems they imitate it over the host, drive C: being the host's root.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The directory of Kestrum's own executable as a DOS path, without a
// trailing backslash. On POSIX systems that is the folder of the path Kestrum
// was started by, so that a link in the game's folder to an installed
// Kestrum makes the game's folder the program directory.
std::string ProgramDirectory();
// The same folder as the host names it ("/home/ann/back\\slash"): what every
// file of the game is looked for in. A DOS path is made of it only for the
// game's own line.
std::string ProgramFolder();
// A name in a host folder, joined with the host's separator.
std::string InFolder(const std::string& hostFolder, const std::string& name);
// Where the last component of a path begins (a host path on POSIX is cut at
// "/" alone: a backslash is part of a name there); npos when there is none.
std::size_t LastSeparator(const std::string& path);
// Called first thing in main() with argv[0], while the current directory is
// still the one Kestrum was started in. Windows asks the system instead.
void RecordStartupPath(const char* startedAs);

// A path as the host names it ("/home/ann/My Maps/x.map"; on Windows its own
// path): a type of its own, so that a file the user chose travels to the
// launch as the host named it and is never read back from a DOS path.
struct HostPath {
  std::string text;
  bool empty() const { return text.empty(); }
  // Its last component, whatever it holds (a backslash on POSIX systems).
  std::string Name() const { return text.substr(LastSeparator(text) + 1); }
  bool operator==(const HostPath&) const = default;
};

// The program directory is one value, kept from the start: RecordStartupPath
// ends here with the folder of the file it names, and a caller that runs the
// window's sequences for a folder of its own (a test's game folder) records
// that folder the same way. Empty: the folder of the running program file.
void RecordProgramFolder(const HostPath& folder);

// A path as DOS and Windows name it ("c:\\games\\My Maps\\x.map"), long
// names and all; on POSIX systems drive C: is the host's root.
struct DosPath {
  std::string text;
  bool empty() const { return text.empty(); }
  bool operator==(const DosPath&) const = default;
};
// The same path in 8.3 names alone ("c:\\games\\mymaps~1\\x.map"): what
// the DOS game can be given.
struct DosShortPath {
  std::string text;
  bool empty() const { return text.empty(); }
  bool operator==(const DosShortPath&) const = default;
};

// The kinds meet only at these conversions.
// A path the user gave (the Open dialog, a drop, the command line): the
// host's own as it stands; on POSIX systems a DOS path ("c:\\...") is
// found on the host.
HostPath FromUser(const std::string& path);
// A DOS name (an 8.3 alias, say) in a folder the host names: the folder is
// kept as the host names it, the name found as DOS would find it.
DosPath DosNameIn(const HostPath& folder, const std::string& dosName);
DosPath HostToDos(const HostPath& hostPath);
// Each component is matched without regard to case, and a component may be
// given by its 8.3 alias. A component that does not exist is kept as given.
HostPath DosToHost(const DosPath& dosPath);
// Whether HostToDos gives a path that leads back to that very file or
// folder: a host name holding a backslash, or one that differs from a
// neighbour's only in case, has none.
bool NamedByDosPath(const HostPath& hostPath);

// As GetShortPathNameA: the number of characters written (without the NUL),
// 0 when there is no short form (missing file), or the size needed (with the
// NUL) when the buffer is too small; then nothing is written.
std::uint32_t GetShortPathNameA(const std::string& longPath, char* buffer,
                                std::uint32_t bufferLength);

// The 8.3 name of the file or folder a path leads to, within its own
// folder (what GetShortPathNameA gives as its last component); empty when
// there is none.
std::string ShortNameOf(const std::string& path);

// A directory search for one name that finds normal files only (no
// directories, no hidden or system files), matching without regard to case.
// Gives the name as found, or the empty text.
std::string FindNormalFile(const std::string& dosPath);

// The file a DOS path names, links followed, as a DOS program would reach it.
// kDenied: something may be there, but this user may not look.
enum class FileKind { kMissing, kFile, kOther, kDenied };
struct DosFile {
  FileKind kind = FileKind::kMissing;
  std::string hostPath;  // where the host keeps it
  std::string name;      // its own (long) name, as the user knows it
  std::string identity;  // the same for every path to one file; empty when missing
  std::uint64_t size = 0;
  bool readable = false;  // a file this user may open to read
};
DosFile LocateDosFile(const DosPath& dosPath);
// The same for a file the host names: looked up as named, never read as a
// DOS path.
DosFile LocateFile(const HostPath& hostPath);

bool SetCurrentDirectory(const std::string& dosPath);
std::string CurrentDirectory();

}  // namespace platform
