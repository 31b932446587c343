// Granting a Flatpak app one host folder or file for a run, in the words
// Flatpak reads: its --filesystem= option takes "\" as an escape and the
// first plain ":" as the start of the mode, and a mode it does not know
// leaves the grant read-write. A path it would read as another, or one it
// keeps for itself, is not granted at all.
#pragma once

#include <string>

namespace platform::system {

struct FlatpakGrant {
  std::string option;  // "--filesystem=..." granting exactly that path
  std::string whyNot;  // set instead when it cannot be granted exactly
};
FlatpakGrant GrantToFlatpak(const std::string& hostPath, bool readOnly);

}  // namespace platform::system
