// Looking into folders the user did not choose (where the stores put the
// game): bounded, links followed, each real folder told by its identity.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace platform::system {

struct SubFolder {
  std::string path;      // the host path it was reached by
  std::string identity;  // the same for every path to one folder
};
// The folders in a host folder (links to folders too) whose names start so,
// in the order the system lists them, reading at most `most` entries. None
// when it cannot be read.
std::vector<SubFolder> SubFolders(const std::string& hostFolder, const std::string& prefix,
                                  std::size_t most);
// The files in a host folder whose names end so, in the order the system
// lists them, reading at most `most` entries.
std::vector<std::string> FilesEndingIn(const std::string& hostFolder, const std::string& suffix,
                                       std::size_t most);
// The first `limit` bytes of a regular file (links followed); empty when it
// cannot be read.
std::string ReadListFile(const std::string& hostPath, std::size_t limit);

// When a file was last written, in seconds since 1970; 0 when it is no
// regular file (links followed).
long long ModifiedTime(const std::string& hostPath);

// Whether a folder holds an entry of one of those names, compared without
// regard to ASCII case, reading at most `most` entries.
bool HoldsAnyOf(const std::string& hostFolder, const std::vector<std::string>& names,
                std::size_t most);
// Whether this user may list the folder's entries.
bool CanList(const std::string& hostFolder);
// The identity of a folder; empty when it is none.
std::string FolderIdentity(const std::string& hostFolder);
// Kestrum's own folder for what it keeps beside its settings (presets'
// folders): the settings store's folder, or on Windows
// %APPDATA%\Kestrum. Empty where there is none.
std::string KestrumDataFolder();
// Makes a folder and those above it where missing, and an empty file of
// that name in it where one is given and missing; false when the folder
// is not there afterwards, or the file could not be made.
bool MakeFolderWith(const std::string& hostFolder, const std::string& emptyFile);

// The text a value of the machine's registry holds (HKEY_LOCAL_MACHINE, the
// key given without WOW6432Node), once for each registry view that has it:
// a 32-bit installer writes to the one, a 64-bit one to the other. None
// where there is no such registry.
std::vector<std::string> MachineValues(const std::string& key, const std::string& name);
// The same for the user's own (HKEY_CURRENT_USER): at most one.
std::vector<std::string> UserValues(const std::string& key, const std::string& name);

}  // namespace platform::system
