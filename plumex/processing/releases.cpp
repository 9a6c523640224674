#include "plumex/processing/releases.h"

#include <cstdio>

#include "plumex/processing/truncation.h"
#include "plumex/run/console.h"

// The accepted triggers in sample order: a sample whose trigger is on while
// the hold counter is 0; the counter then starts at `hold` and shrinks by
// one on every sample, the accepted one included, so that the hold-th sample
// after it is the first that can be accepted again. Returns their number
// and, when `positions` is not null, stores their sample indices there.
static int find_accepted_triggers(const double* trigger, int count, int hold, int* positions) {
  int accepted = 0;
  int h = 0;
  for (int i = 0; i < count; ++i) {
    if (trigger[i] >= trigger_level && h == 0) {
      if (positions != nullptr) positions[accepted] = i;
      ++accepted;
      h = hold;
    }
    if (h > 0) --h;
  }
  return accepted;
}

void extract_releases(const CcSettings& settings, const CcSeries& series, ReleaseSet& releases) {
  int n = series.count;
  releases.time_step = settings.D_SAMP / settings.SAMPLE;
  releases.hold_count = truncate_to_int(settings.T_OPEN * settings.SAMPLE / settings.D_SAMP);

  // Counted first, so that the positions are allocated once with their size.
  int accepted = find_accepted_triggers(series.trigger.get(), n, releases.hold_count, nullptr);
  auto positions = std::make_unique_for_overwrite<int[]>(static_cast<std::size_t>(accepted) + 1);
  find_accepted_triggers(series.trigger.get(), n, releases.hold_count, positions.get());
  positions[accepted] = n;  // the end of the trailing segment

  releases.segment_0_length = accepted > 0 ? positions[0] : n;
  releases.release_count = accepted - 1;
  int stored = accepted > 1 ? accepted - 1 : 0;
  releases.first = std::make_unique_for_overwrite<int[]>(static_cast<std::size_t>(stored));
  releases.length = std::make_unique_for_overwrite<int[]>(static_cast<std::size_t>(stored));
  for (int r = 0; r < stored; ++r) {
    releases.first[r] = positions[r];
    releases.length[r] = positions[r + 1] - positions[r];
  }

  if (releases.release_count == 1)
    std::printf(" %i release extracted!\n\n", releases.release_count);
  else
    std::printf(" %i releases extracted!\n\n", releases.release_count);
}

void check_releases(const CcSettings& settings, const ReleaseSet& releases) {
  if (releases.release_count < 1)
    fail_run(cc_exit_failure,
             "\n No complete release: the trigger column (column 5) holds %i accepted trigger(s), at least 2"
             " are needed!\n",
             releases.release_count + 1);
  for (int r = 0; r < releases.release_count; ++r) {
    if (releases.length[r] < settings.BLCKSZ)
      fail_run(cc_exit_failure, "\n Release %i holds %i samples, fewer than one block (BLCKSZ %i)!\n", r,
               releases.length[r], settings.BLCKSZ);
  }
}

void measure_release_durations(const CcSeries& series, ReleaseSet& releases) {
  int count = releases.release_count;
  releases.on_count = std::make_unique_for_overwrite<int[]>(static_cast<std::size_t>(count));
  releases.duration = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(count));
  releases.duration_min = 1.0e8;
  releases.duration_max = 0.0;
  double duration_sum = 0.0;
  for (int r = 0; r < count; ++r) {
    int on = 0;
    int end = releases.first[r] + releases.length[r];
    for (int i = releases.first[r]; i < end; ++i)
      if (series.trigger[i] >= trigger_level) ++on;
    releases.on_count[r] = on;
    releases.duration[r] = on * releases.time_step;
    if (releases.duration[r] < releases.duration_min) releases.duration_min = releases.duration[r];
    if (releases.duration[r] > releases.duration_max) releases.duration_max = releases.duration[r];
    duration_sum += releases.duration[r];
  }
  releases.duration_mean = duration_sum / count;
  std::printf(" duration of release:\n min:   %5.2lf s\n max:   %5.2lf s\n mean:  %5.2lf s\n\n",
              releases.duration_min, releases.duration_max, releases.duration_mean);
}
