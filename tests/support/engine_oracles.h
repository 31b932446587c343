// The engines' own command-line readers and file lookup, built from their
// released source (../shared/engine-oracles): what EDuke32, Raze or
// JFDuke3D would start for an argument vector. A launch is judged by these,
// not by a reader written from what the engines are said to do.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/game_reader.h"

namespace testsupport {

// A value of their answers (JSON).
struct Json {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = Kind::kNull;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;

  const Json& operator[](const std::string& key) const;  // null where there is none
  bool IsNull() const { return kind == Kind::kNull; }
  int Int() const { return static_cast<int>(number); }
};
Json ParseJson(const std::string& text);

// The oracle command, or empty where the engines' readers are not beside
// this checkout (a clone on its own): the tests that need them skip.
std::string EngineOracles();
inline constexpr const char* kNoEngineReaders = "skipped: no engine readers";

struct EngineAnswer {
  Json json;          // the whole answer; null when the oracle gave none
  std::string error;  // then why
  std::string raw;
};
// What engine ("eduke32", "raze", "jfduke3d") starts for argv, run in cwd
// with that HOME (and PATH, for a program named without a folder).
EngineAnswer AskEngine(const std::string& engine, const std::vector<std::string>& argv,
                       const std::string& cwd, const std::string& home,
                       const std::string& path = {});
// The same in the terms of the DOS game's reader; map and group are the
// files the engine opened for the user's file, as host paths.
GameStart AsGameStart(const std::string& engine, const Json& answer);
// Every host file the engine opened (its groups, the user's map).
std::vector<std::string> FilesOpened(const std::string& engine, const Json& answer);

}  // namespace testsupport
