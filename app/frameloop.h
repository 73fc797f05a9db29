// Application entry: engine start-up in its fixed order, the boot screen,
// then one frame per refresh slot until the user quits.
#pragma once

#include "app/appstate.h"

// Runs start-up, the boot screen and the frame loop, then closes the
// video. The arguments are not used. Returns 0.
int coremain(int argc, char **argv);
