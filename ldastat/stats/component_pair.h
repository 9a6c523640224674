// The component pairs that the LDASTAT result writers distinguish.
#pragma once

#include "ldastat/run/measurement_info.h"

// (component_1, component_2), compared exactly; any other pair (such as
// ("W", "U") or ("U", "U")) is `other`, for which the writers leave out
// their pair-dependent lines.
enum class ComponentPair { u_v, u_w, v_w, other };

ComponentPair component_pair_of(const MeasurementInfo& info);

// Where the component named `name` ("U", "V" or "W") sits in the series:
// 0 for component_1 (raw channel 2, index 0 of MomentStatistics), 1 for
// component_2, -1 when the pair does not measure it.
int component_slot(const MeasurementInfo& info, const char* name);
