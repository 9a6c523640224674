// The start-up of LDASTAT: from the command line to the farewell.
#pragma once

// Runs LDASTAT with the words of the command line and returns its exit
// status (fatal conditions end the process from inside).
int run_ldastat(int argc, const char* const* argv);
