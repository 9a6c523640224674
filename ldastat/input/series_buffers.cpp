#include "ldastat/input/series_buffers.h"

#include <cstdlib>
#include <cstring>

#include "ldastat/run/console.h"

SeriesBuffers* allocate_series_buffers() {
  // calloc: zeroed, and the pages are only touched when used.
  return static_cast<SeriesBuffers*>(allocate_run_memory(1, sizeof(SeriesBuffers), "the series buffers"));
}

void clear_series_buffers(SeriesBuffers& buffers) {
  std::memset(buffers.raw, 0, sizeof buffers.raw);
  std::memset(buffers.scratch, 0, sizeof buffers.scratch);
  std::memset(buffers.resampled, 0, sizeof buffers.resampled);
}
