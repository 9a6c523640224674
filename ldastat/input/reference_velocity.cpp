#include "ldastat/input/reference_velocity.h"

// Stub: filled by the series-input work.
float read_reference_velocity(const RunSettings&, int) { return 0.0f; }
