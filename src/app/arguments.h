// Kestrum's command line: "--help" and "--version" are answered on the
// terminal, "--preset NAME" starts a preset's game without the window, and
// every other argument is left alone.
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

// The preset's name "--preset NAME" (or "--preset=NAME") asks for; none
// where it is not given. A "--preset" without a name is answered by
// AnswerArguments.
std::optional<std::string> PresetArgument(int argc, const char* const* argv);

// The one line said when there is no display to show the window on.
std::string NoDisplayMessage();
