// A first start where no game is (from the menu, or by its name on PATH):
// Kestrum asks once where the game is, and from then on lives there.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/message.h"
#include "launch/engine.h"

namespace firstcontact {

// The title of the folder dialog that asks.
inline constexpr const char* kQuestion = "Where is Duke Nukem 3D?";
// Where the stores and ports put the game, when Kestrum found it there.
inline constexpr const char* kFoundPrompt = "Kestrum found the game in these folders:";
inline constexpr const char* kOtherFolder = "Other folder...";

// The folders (host paths) where the stores put the game and that hold it
// (either kind), in the order they are offered. Looks only at the listed
// places and the levels they name, never deeper, each real folder once, and
// for at most kMostLookMs.
inline constexpr int kMostLookMs = 1000;
struct Found {
  std::string store;   // which store, launcher or port put it there ("Steam")
  std::string folder;  // a host path
  bool operator==(const Found&) const = default;
};
std::vector<Found> FoundGameFolders();

// Whether to ask: the program directory holds no game, and Kestrum can make
// a game's folder its home on this system.
bool ShouldAsk(const launch::GameFolder& programDirectory);

// Makes the folder Kestrum's home (its link, its menu entry): whether the
// link is there, and what the user is told of what went wrong.
struct Home {
  bool linked = false;
  std::string error;
};
Home MakeHome(const std::string& hostFolder);

struct Answer {
  bool restarted = false;          // Kestrum runs from the game's folder now: end this one
  std::optional<Message> message;  // to show, when something went wrong
};
// The folder the user chose, as the dialog gives it (a host path; empty
// when the dialog was cancelled). A folder without the game, or one that
// the game could not be started in, changes nothing, and the message says
// why.
Answer TakeGameFolder(const std::string& hostFolder);

}  // namespace firstcontact
