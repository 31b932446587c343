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

// The programs the game is played with (launch/engine.h has a row for each).
enum class GameEngine { kDos, kEDuke32, kRaze, kJFDuke3D };
