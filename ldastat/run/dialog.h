// The interactive parameter dialog of a run started without any word.
#pragma once

#include "ldastat/run/run_settings.h"

// Asks for the measurement name and the twenty settings on the console,
// reading answers line by line from standard input. The end of the input
// ends the run with status 7.
void run_dialog(RunSettings& settings);
