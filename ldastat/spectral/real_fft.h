// Real-input FFT: the split-radix transform of Sorensen, Jones, Heideman
// and Burrus.
//
// X_k = sum_j x_j e^(-2 pi i jk/N), no scaling. After the bit reversal the
// algorithm runs length-2 butterflies and then one stage of L-shaped
// butterflies per block length b = 4, 8, ..., N, and leaves the
// half-complex order Re X_0 ... Re X_N/2, Im X_N/2-1 ... Im X_1, which
// real_fft unpacks into the full conjugate-symmetric spectrum.
//
// The results are bit for bit those of that stage-by-stage loop order; only
// the order of independent operations differs. The twiddle factors of a
// length are computed once, with the angle accumulated by repeated addition
// of the stage's base angle as the loop computes it; the butterflies run
// depth first through the split-radix recursion (a block needs only the
// blocks inside it), neighbouring butterflies of a block side by side in
// vector lanes; the bit reversal moves tiles of cache lines.
#pragma once

constexpr int real_fft_ok = 0;
constexpr int real_fft_length_below_one = -20003;
constexpr int real_fft_length_not_power_of_two = -20009;

// Largest power of two within the 1,500,000-entry work arrays.
constexpr int max_real_fft_length = 1 << 20;

// From this length on the bit reversal moves 8 x 8 tiles.
constexpr int min_tiled_length = 64;

struct RealFftTables {
  int length;          // N the tables below hold; 0 before the first transform
  // The transform as a depth-first schedule of split-radix nodes, children
  // before parents: a node of at most 64 samples (a leaf) is transformed
  // whole, a larger one is the L-shaped block of its length.
  int node_count;
  int* node_start;     // first position of the node
  int* node_log2;      // log2 of its length
  int* tile_destination;  // bit reversal from min_tiled_length on: 8 reverse(b) per tile b
  int twiddle_offset[21];  // per log2 b: first entry of stage b below
  double* cc1;         // cos a, per L-shaped stage with b/8 >= 2, entries j = 2 ... b/8
  double* ss1;         // sin a
  double* cc3;         // cos 3a
  double* ss3;         // sin 3a
  bool uses_four_lanes;   // the processor runs four-lane kernels (double_lanes.h)
  bool uses_eight_lanes;  // and eight-lane ones
};

// Allocates zeroed tables with room for every length up to
// max_real_fft_length. Never freed before the run ends.
RealFftTables* allocate_real_fft_tables();

// Builds the tables of `n` (a power of two, 2 <= n <= max_real_fft_length)
// unless they already hold it.
void prepare_real_fft_tables(RealFftTables& tables, int n);

// Transforms the n samples at `samples` into the half-complex order in `x`
// (everything but the unpacking; the bit reversal is the copy into x).
// The two arrays must not overlap; n is a power of two >= 2 and the tables
// hold it.
void real_fft_half_complex(const RealFftTables& tables, const double* samples, double* x,
                           int n);

// Forward FFT of the n real samples in `re`. Afterwards re and im hold the
// real and imaginary parts of X_0 ... X_n-1. Returns real_fft_ok, or
// real_fft_length_below_one / real_fft_length_not_power_of_two with both
// arrays unchanged. n = 1 sets im[0] = 0 and leaves re[0]. n is at most
// max_real_fft_length.
int real_fft(RealFftTables& tables, double* re, double* im, int n);
