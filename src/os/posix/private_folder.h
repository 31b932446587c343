// A folder only this user may enter, for what Kestrum keeps while it runs.
#pragma once

#include <string>

namespace platform::posix {

// "<XDG_RUNTIME_DIR>/kestrum", or where the runtime folder cannot serve,
// "<TMPDIR, or else /tmp>/kestrum-<uid>". Made with mode 0700 when missing, and
// used only when it is a real folder (never a link) of this user's that no
// one else may enter. Only plain characters (letters, digits, "/._+-") are
// taken in its path, so that DOSBox's shell can be given it as it stands.
// Empty when no place serves.
std::string PrivateFolder();

// The folder PrivateFolder falls back on: TMPDIR's, or /tmp; and whether
// TMPDIR named it.
std::string TemporaryBase();
bool TemporaryBaseFromTmpdir();

}  // namespace platform::posix
