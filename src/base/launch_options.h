// The user's choices for the next start of the game, kept in step with the
// option controls of the main window.
#pragma once

#include <cstdint>

struct LaunchOptionsRecord {
  std::int16_t Record = 0;
  std::int16_t Monsters = 0;
  std::int16_t Sound = 0;
  std::int16_t Skills = 0;
  std::int16_t Respawn = 0;
  std::int16_t Fakers = 0;
  std::int16_t ArtInt = 0;
};

extern LaunchOptionsRecord LaunchOptions;

namespace mainwindow {
// Which option a control holds, when it holds one: one for each field above.
// An option is these two lines and its rows in main_window.cpp (its controls,
// its saved name and its switch); each engine takes its switch unless its
// dialect says otherwise.
enum class Option { kNone, kRecord, kMonsters, kArtInt, kSound, kSkills, kRespawn, kFakers };
}  // namespace mainwindow

// The programs the game is played with (launch/engine.h has a row for each).
enum class GameEngine { kDos, kEDuke32, kRaze, kJFDuke3D };
