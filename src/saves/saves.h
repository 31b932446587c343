// What a saved game holds, read from its bytes as each engine writes them:
// the DOS game's and JFDuke3D's GAMEn.SAV (blocks, some LZW-packed),
// EDuke32's .esv (a 328-byte header and an LZ4 screenshot) and Raze's
// .dsave (a zip with a stored picture and a deflated info.json). Pure: any
// bytes give an answer, a damaged file the answer that it is unreadable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace saves {

enum class Format { kDos, kJFDuke3D, kEDuke32, kRaze };

struct SaveInfo {
  bool readable = false;  // false: the file is damaged, or no save at all
  Format format = Format::kDos;
  std::string name;  // as typed in the game's menu
  int episode = 0;   // from 1; 0 where the save does not say
  int level = 0;     // from 1
  int skill = 0;     // 1 Piece of Cake ... 4 Damn I'm Good; 0 none
  int players = 1;
  std::string userMap;  // the user map it was saved in; empty for a level
  // What decides whether an engine can load it: the version it was written
  // with (the game's BYTEVERSION, EDuke32's bytever, Raze's Save Version).
  int version = 0;
  std::string script;     // EDuke32: the main CON; Raze: the main group it needs
  std::string engine;     // Raze: the game it belongs to ("Raze.Duke")
  int pointerSize = 0;    // EDuke32: 4 or 8, the build that wrote it
  bool autosave = false;  // EDuke32
  std::string label;      // Raze: the level's label ("E1L3")
  std::string created;    // Raze: when it was saved ("2025-12-08 11:42:00")
};

// A GAMEn.SAV of the DOS game or of JFDuke3D, told apart by the version.
SaveInfo ReadGameSave(std::string_view bytes);
SaveInfo ReadEDuke32Save(std::string_view bytes);
SaveInfo ReadRazeSave(std::string_view bytes);

// The versions each writes: the DOS game 1.5's and 1.3D/1.4's; JFDuke3D's
// with plain, Atomic or Plutonium, and shareware data.
inline constexpr int kDos15 = 117, kDos14 = 116, kDos15Shareware = 28, kDos13Shareware = 27;
inline constexpr int kJFDuke3D = 132;        // +1 Atomic or Plutonium data, +2 shareware
inline constexpr int kEDuke32Bytever = 348;  // the same
inline constexpr int kRazeSaveVersion = 21;

}  // namespace saves
