#include "ldastat/input/series_buffers.h"

#include <cstdlib>
#include <cstring>
#include <new>

SeriesBuffers* allocate_series_buffers() {
  // calloc: zeroed, and the pages are only touched when used.
  void* memory = std::calloc(1, sizeof(SeriesBuffers));
  if (memory == nullptr) throw std::bad_alloc();
  return static_cast<SeriesBuffers*>(memory);
}

void clear_series_buffers(SeriesBuffers& buffers) {
  std::memset(buffers.raw, 0, sizeof buffers.raw);
  std::memset(buffers.scratch, 0, sizeof buffers.scratch);
  std::memset(buffers.resampled, 0, sizeof buffers.resampled);
}
