#include "app/arguments.h"

#include <string_view>

std::optional<ArgumentsAnswer> AnswerArguments(int argc, const char* const* argv,
                                               const std::string& version) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--version") return ArgumentsAnswer{"kestrum " + version + "\n", 0};
    if (arg == "--help" || arg == "-h") {
      return ArgumentsAnswer{
          "Usage: kestrum\n"
          "\n"
          "A front end for Duke Nukem 3D: pick a level or a map of your own, the skill\n"
          "and the other options, and start the game, its editors, setup and help.\n"
          "\n"
          "Kestrum plays the game in the folder it is started from by a link\n"
          "(ln -s /usr/bin/kestrum ~/Games/Duke3D/), or asks where the game is.\n"
          "See kestrum(6).\n"
          "\n"
          "  --preset NAME  start that preset's game, without the window\n"
          "  --help         show this and end\n"
          "  --version      show the version and end\n",
          0};
    }
    if (arg == "--preset" && i + 1 >= argc) {
      return ArgumentsAnswer{"kestrum: --preset needs the name of a preset\n", 2};
    }
  }
  return std::nullopt;
}

std::optional<std::string> PresetArgument(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--preset" && i + 1 < argc) return std::string(argv[i + 1]);
    if (arg.starts_with("--preset=")) return std::string(arg.substr(9));
  }
  return std::nullopt;
}

std::string NoDisplayMessage() {
  return "kestrum: there is no display to show its window on (DISPLAY or WAYLAND_DISPLAY)\n";
}
