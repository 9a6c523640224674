// SeriesBuffers: the current series of the run and its work arrays.
//
// One record for the whole run, allocated once (it is far too large for
// the stack) and cleared before every series. Each channel holds its count
// of valid values; past the count, zeros (the resampling walk may leave one
// computed value at index resampled_count, see resample_series).
#pragma once

constexpr int max_series_samples = 1500000;  // samples per channel
constexpr int series_channels = 5;           // arrival time, transit time, two components, spare
constexpr int read_channels = 4;             // channel blocks read from a series file
// The resampling walk writes up to index n + 1, so its arrays have two
// slots more than a raw channel.
constexpr int resampled_capacity = max_series_samples + 2;
constexpr int series_file_capacity = 99;

struct SeriesBuffers {
  char series_file[series_file_capacity + 1];  // name of the current series file (select_series_file)
  char series_nbr[3];                          // "01" ... "45", used in result-file names
  // A header text without its zero byte fills its whole field (16 and 128
  // bytes), hence one byte more than the field.
  char pos_x[17];                              // location X, mm, model scale, as text (read_series_file)
  char pos_y[17];                              // location Y
  char pos_z[17];                              // location Z (height)
  char meas_date[129];                         // date of measurement, unchanged text
  int channel_count;                           // channels processed: always 4
  double raw[series_channels][max_series_samples];  // s, s, m/s, m/s, unused (read_series_file)
  int raw_count[read_channels];  // samples per channel as read; raw_count[0] is n after remove_outliers
  double scratch[series_channels][max_series_samples];  // compaction target of remove_outliers
  int outlier_flag[max_series_samples];                 // 1: removed by remove_outliers
  double resampled[series_channels][resampled_capacity];  // grid time s, then held values (resample_series)
  int resampled_count;                                    // R, filled grid slots
};

// Allocates the zeroed buffers of a run. Never freed before the run ends.
SeriesBuffers* allocate_series_buffers();

// Sets every value of raw, scratch and resampled to zero; counts, texts and
// outlier_flag are left as they are.
void clear_series_buffers(SeriesBuffers& buffers);
