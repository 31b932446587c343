#include "base/launch_options.h"

LaunchOptionsRecord LaunchOptions;
