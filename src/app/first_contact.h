// A first start where no game is (from the menu, or by its name on PATH):
// Kestrum asks once where the game is, and from then on lives there.
#pragma once

#include <optional>
#include <string>

#include "base/message.h"

namespace firstcontact {

// The title of the folder dialog that asks.
inline constexpr const char* kQuestion = "Where is Duke Nukem 3D?";

// Whether to ask: the program directory holds no game, and Kestrum can make
// a game's folder its home on this system.
bool ShouldAsk();

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
