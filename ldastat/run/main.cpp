#include "ldastat/run/startup.h"

int main(int argc, char** argv) { return run_ldastat(argc, argv); }
