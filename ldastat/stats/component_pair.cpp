#include "ldastat/stats/component_pair.h"

#include <cstring>

ComponentPair component_pair_of(const MeasurementInfo& info) {
  auto is = [&info](const char* first, const char* second) {
    return std::strcmp(info.component_1, first) == 0 && std::strcmp(info.component_2, second) == 0;
  };
  if (is("U", "V")) return ComponentPair::u_v;
  if (is("U", "W")) return ComponentPair::u_w;
  if (is("V", "W")) return ComponentPair::v_w;
  return ComponentPair::other;
}

int component_slot(const MeasurementInfo& info, const char* name) {
  if (std::strcmp(info.component_1, name) == 0) return 0;
  if (std::strcmp(info.component_2, name) == 0) return 1;
  return -1;
}
