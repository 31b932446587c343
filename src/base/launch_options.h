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

// The game program the user chose where a folder holds both kinds (the DOS
// game and a source port of the EDuke32 family); saved as "Engine".
enum class GameEngine { kDos, kEDuke32 };
extern GameEngine ChosenEngine;
// Whether the folder offers the choice (it holds both): only then is it saved.
extern bool EngineChoiceOffered;
