#include "base/launch_options.h"

LaunchOptionsRecord LaunchOptions;
GameEngine ChosenEngine = GameEngine::kDos;
bool EngineChoiceOffered = false;
