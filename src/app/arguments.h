// Kestrum has no command line of its own: "--help" and "--version" are
// answered on the terminal, and every other argument is left alone.
#pragma once

#include <optional>
#include <string>

struct ArgumentsAnswer {
  std::string text;  // for the terminal
  int exitCode = 0;
};

// What to print before ending, when the arguments ask for it; nothing when
// Kestrum is to start.
std::optional<ArgumentsAnswer> AnswerArguments(int argc, const char* const* argv,
                                               const std::string& version);

// The one line said when there is no display to show the window on.
std::string NoDisplayMessage();
