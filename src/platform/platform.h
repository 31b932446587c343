// The services Kestrum takes from the operating system. Kestrum was made for
// 32-bit Windows and keeps its Windows view of the world everywhere else:
// paths are DOS paths ("c:\games\duke3d"), settings live in a registry and the
// game runs through command.com. On Windows these functions call the real API;
// on POSIX systems they imitate it over the host (see posix/).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// ---------------------------------------------------------------- paths
// The directory of Kestrum's own executable as a DOS path, without a
// trailing backslash. On POSIX systems that is the folder of the path Kestrum
// was started by, so that a link in the game's folder to an installed
// Kestrum makes the game's folder the program directory.
std::string ProgramDirectory();
// Called first thing in main() with argv[0], while the current directory is
// still the one Kestrum was started in. Windows asks the system instead.
void RecordStartupPath(const char* startedAs);
// Tests point the program directory at a host folder of their own; an empty
// text restores the real one.
void SetProgramDirectoryForTesting(const std::string& hostDirectory);

// Host path <-> DOS path. On POSIX drive C: is the host root.
std::string HostToDos(const std::string& hostPath);
// Each component is matched without regard to case, and a component may be
// given by its 8.3 alias. A component that does not exist is kept as given.
std::string DosToHost(const std::string& dosPath);
// Whether HostToDos gives a path that leads back to that very file or
// folder: a host name holding a backslash, or one that differs from a
// neighbour's only in case, has none.
bool NamedByDosPath(const std::string& hostPath);

// As GetShortPathNameA: the number of characters written (without the NUL),
// 0 when there is no short form (missing file), or the size needed (with the
// NUL) when the buffer is too small; then nothing is written.
std::uint32_t GetShortPathNameA(const std::string& longPath, char* buffer,
                                std::uint32_t bufferLength);

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
};
DosFile LocateDosFile(const std::string& dosPath);

bool SetCurrentDirectory(const std::string& dosPath);
std::string CurrentDirectory();

// ---------------------------------------------------------------- processes
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowMaximized = 3;

struct StartResult {
  std::int64_t taskId = 0;  // 0: nothing was started
  std::string error;        // what the user can do about it, when nothing started
};
// Starts a command line the way command.com would, in the current directory:
// a program the system finds is started with the other words as its
// arguments; any other line runs in DOSBox, in a DOS view made for it
// (dos_view.h). Never waits for the started program and never hands the
// line to a shell.
// The files the user chose that the line names are started only while each
// is still the very file chosen (dos_view.h's ChosenFile: the DOS path and
// the identity it had).
struct ChosenFile {
  std::string dosPath;
  std::string identity;
};
StartResult StartProcess(const std::string& commandLine, int showCommand,
                         const std::vector<ChosenFile>& chosen = {});

// Brings the top-level window of a started task (or of a program it started
// in turn) to the front. False when it has none, has ended, or the platform
// gives no way to (Wayland).
bool ActivateTaskWindow(std::int64_t taskId);

// Makes a game's folder Kestrum's home for good: a link there to this very
// program, and a menu entry that starts Kestrum by it. Supported where a program lives apart from
// the game (an installed Kestrum on Linux); Windows users copy kestrum.exe into the game's folder.
bool CanMakeGameFolderHome();
struct GameFolderHome {
  bool linked = false;  // Kestrum can be started from the game's folder
  std::string error;    // what went wrong, when it did
};
// The folder is a host path, as the user chose it.
GameFolderHome MakeGameFolderHome(const std::string& hostFolder);
// Starts Kestrum by its link in the game's folder; false when it cannot.
bool StartFromGameFolder(const std::string& hostFolder);

// Hands a URL or a document to the program registered to open it; started in
// the given DOS directory. Failures are not reported.
void ShellOpen(const std::string& target, const std::string& directory);

// ---------------------------------------------------------------- profile files
std::uint32_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                       const std::string& defaultValue, char* buffer,
                                       std::uint32_t bufferSize, const std::string& fileName);

// ---------------------------------------------------------------- registry
using HKey = std::uint64_t;
inline constexpr HKey kHkeyCurrentUser = 0x80000001u;

inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorAccessDenied = 5;
inline constexpr std::int32_t kErrorInvalidHandle = 6;
inline constexpr std::int32_t kErrorInvalidParameter = 87;
inline constexpr std::int32_t kErrorMoreData = 234;

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

inline constexpr std::uint32_t kRegCreatedNewKey = 1;
inline constexpr std::uint32_t kRegOpenedExistingKey = 2;

std::int32_t RegCreateKeyExA(HKey root, const std::string& subKey, std::uint32_t options,
                             std::uint32_t samDesired, HKey* result, std::uint32_t* disposition);
std::int32_t RegOpenKeyExA(HKey root, const std::string& subKey, std::uint32_t options,
                           std::uint32_t samDesired, HKey* result);
// data may be null: then only the type and the size are reported.
std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* dataSize);
std::int32_t RegSetValueExA(HKey key, const std::string& valueName, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t dataSize);
std::int32_t RegCloseKey(HKey key);
// Where the registry keeps the user's values, as a message names it.
std::string SettingsStoreName();

// ---------------------------------------------------------------- single instance
// True when another copy runs for this user. Otherwise this process now holds
// the instance lock until it ends (or ReleaseInstance is called).
bool AnotherInstanceRunning();
void ReleaseInstance();

}  // namespace platform
