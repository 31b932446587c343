// A message the system has for the user, shown by a form as a modal box
// with an OK button: the prompt, the title and the box's style, numbered as
// Windows numbers them.
#pragma once

#include <string>
#include <utility>

struct Message {
  static constexpr int kStop = 16;         // the stop icon
  static constexpr int kInformation = 64;  // the information icon

  std::string text;
  std::string title;
  int style = kStop;
};

// The titles the system's messages go by, in one place.
inline constexpr const char* kNoDice = "No Dice...";  // what could not be done, and why
inline constexpr const char* kSorry = "Sorry...";
inline constexpr const char* kCommandLine = "Command Line";

inline Message NoDice(std::string text) {
  return Message{std::move(text), kNoDice, Message::kStop};
}
