#include "ldastat/run/dialog.h"

// Filled by the dialog work.
void run_dialog(RunSettings&) {}
