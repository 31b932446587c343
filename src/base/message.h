// A message the system has for the user, shown by a form as a modal box
// with an OK button: the prompt, the title and the box's style, numbered as
// Windows numbers them.
#pragma once

#include <string>

struct Message {
  static constexpr int kStop = 16;         // the stop icon
  static constexpr int kInformation = 64;  // the information icon

  std::string text;
  std::string title;
  int style = kStop;
};
