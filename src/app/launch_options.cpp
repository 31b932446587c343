#include "app/launch_options.h"

LaunchOptionsRecord LaunchOptions;
