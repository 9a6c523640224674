#include "ldastat/spectral/real_fft.h"

#include <cassert>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "ldastat/run/console.h"
#include "ldastat/spectral/double_lanes.h"

// Twiddle entries of all stages of the longest length: stage b holds b/8 - 1
// of them, and the sum over b = 16 ... N stays below N/4.
constexpr int twiddle_capacity = max_real_fft_length / 4;
// Nodes of the depth-first schedule: fewer than N/8 from 32 samples on.
constexpr int node_capacity = max_real_fft_length / 8 + 4;
// Nodes of up to 2^max_leaf_log2 samples are transformed whole, as
// straight-line code.
constexpr int max_leaf_log2 = 6;

constexpr double quarter_turn = 1.5707963267948966;  // pi/2, the base angle of b = 4
constexpr double sqrt_half = 0.7071067811865476;

template <typename T>
static T* allocate_zeroed(std::size_t count) {
  return static_cast<T*>(allocate_run_memory(count, sizeof(T), "the FFT tables"));
}

RealFftTables* allocate_real_fft_tables() {
  auto* tables = allocate_zeroed<RealFftTables>(1);
  tables->node_start = allocate_zeroed<int>(node_capacity);
  tables->tile_destination = allocate_zeroed<int>(max_real_fft_length / 64);
  tables->node_log2 = allocate_zeroed<int>(node_capacity);
  // The four twiddle arrays are read side by side: starting them at
  // different cache sets keeps them from evicting each other.
  constexpr int set_stagger = 5 * 8;  // five cache lines of doubles
  tables->cc1 = allocate_zeroed<double>(twiddle_capacity);
  tables->ss1 = allocate_zeroed<double>(twiddle_capacity + set_stagger) + set_stagger;
  tables->cc3 = allocate_zeroed<double>(twiddle_capacity + 2 * set_stagger) + 2 * set_stagger;
  tables->ss3 = allocate_zeroed<double>(twiddle_capacity + 3 * set_stagger) + 3 * set_stagger;
  tables->uses_four_lanes = has_four_lanes();
  tables->uses_eight_lanes = tables->uses_four_lanes && has_eight_lanes();
  return tables;
}

static constexpr int log2_of(int n) {
  int m = 0;
  while ((1 << m) < n) ++m;
  return m;
}

static constexpr int reverse_bits(int value, int bit_count) {
  int reversed = 0;
  for (int bit = 0; bit < bit_count; ++bit)
    reversed |= ((value >> bit) & 1) << (bit_count - 1 - bit);
  return reversed;
}

// The split-radix recursion: the transform of the block of 2^log2 samples at
// `start` consists of the transforms of its first half and of its two last
// quarters, followed by the L-shaped butterflies of the block. Listing the
// nodes children first gives an order that respects every dependency.
static void schedule_node(RealFftTables& tables, int start, int log2) {
  if (log2 > max_leaf_log2) {
    schedule_node(tables, start, log2 - 1);
    schedule_node(tables, start + (1 << (log2 - 1)), log2 - 2);
    schedule_node(tables, start + 3 * (1 << (log2 - 2)), log2 - 2);
  }
  assert(tables.node_count < node_capacity);
  tables.node_start[tables.node_count] = start;
  tables.node_log2[tables.node_count] = log2;
  ++tables.node_count;
}

void prepare_real_fft_tables(RealFftTables& tables, int n) {
  assert(n >= 2 && n <= max_real_fft_length && (n & (n - 1)) == 0);
  if (tables.length == n) return;
  int m = log2_of(n);

  if (n >= min_tiled_length) {
    for (int b = 0; b < n / 64; ++b) tables.tile_destination[b] = 8 * reverse_bits(b, m - 6);
  }
  tables.node_count = 0;
  schedule_node(tables, 0, m);

  // Twiddles: the base angle starts at pi/2 for b = 4 and halves per stage;
  // within a stage the angle grows by repeated addition, as in the original
  // algorithm (a product (j - 1) * e may differ in the last bits).
  int offset = 0;
  double e = quarter_turn;
  for (int log2 = 2; log2 <= m; ++log2) {
    tables.twiddle_offset[log2] = offset;
    double a = 0.0;
    for (int j = 2; j <= (1 << log2) / 8; ++j) {
      a = a + e;
      tables.cc1[offset] = std::cos(a);
      tables.ss1[offset] = std::sin(a);
      tables.cc3[offset] = std::cos(3.0 * a);
      tables.ss3[offset] = std::sin(3.0 * a);
      ++offset;
    }
    e = e * 0.5;
  }
  assert(offset <= twiddle_capacity);
  tables.length = n;
}

// The butterflies j = jm1 + 1 ... jm1 + lanes of the block at x side by
// side, lane k for j + k (double_lanes.h), with the twiddles of j at
// cc1[0] ... Positions i1 ... i4 grow with j and i5 ... i8 shrink: those are
// loaded and stored with the lanes in reverse order.
template <typename Lanes>
[[gnu::always_inline]] inline void general_butterflies(double* x, int jm1, int b4,
                                                       const double* cc1, const double* ss1,
                                                       const double* cc3, const double* ss3) {
  constexpr int lane_count = sizeof(Lanes) / sizeof(double);
  double* p1 = x + jm1;
  double* p2 = p1 + b4;
  double* p3 = p2 + b4;
  double* p4 = p3 + b4;
  double* p5 = x + (b4 - jm1 - (lane_count - 1));  // i5 of the last lane
  double* p6 = p5 + b4;
  double* p7 = p6 + b4;
  double* p8 = p7 + b4;
  Lanes c1, s1, c3, s3, x1, x2, x3, x4, x5, x6, x7, x8;
  load_lanes(cc1, c1);
  load_lanes(ss1, s1);
  load_lanes(cc3, c3);
  load_lanes(ss3, s3);
  load_lanes(p1, x1);
  load_lanes(p2, x2);
  load_lanes(p3, x3);
  load_lanes(p4, x4);
  load_reversed(p5, x5);
  load_reversed(p6, x6);
  load_reversed(p7, x7);
  load_reversed(p8, x8);
  Lanes t1 = x3 * c1 + x7 * s1;
  Lanes t2 = x7 * c1 - x3 * s1;
  Lanes t3 = x4 * c3 + x8 * s3;
  Lanes t4 = x8 * c3 - x4 * s3;
  Lanes t5 = t1 + t3;
  Lanes t6 = t2 + t4;
  t3 = t1 - t3;
  t4 = t2 - t4;
  store_reversed(p8, Lanes(x6 + t6));
  store_lanes(p3, Lanes(t6 - x6));
  store_lanes(p4, Lanes(x2 - t3));
  store_reversed(p7, Lanes(-x2 - t3));
  store_reversed(p6, Lanes(x1 - t5));
  store_lanes(p1, Lanes(x1 + t5));
  store_lanes(p2, Lanes(x5 + t4));
  store_reversed(p5, Lanes(x5 - t4));
}

// One L-shaped block of length b = 4 * b4 at x: the butterflies at j = 1
// (plain, and moved on by b8 with the sqrt(1/2) rotation), then j = 2 ... b8
// with the stage's twiddles (entry j - 2). b8 - 1 is odd: j = 2 goes alone,
// j = 3, 4 as a pair, and from j = 5 on the count is a multiple of four.
template <typename Widest>
[[gnu::always_inline]] inline void l_shaped_block(double* x, int b4, int b8, const double* cc1,
                                                  const double* ss1, const double* cc3,
                                                  const double* ss3) {
  {
    double x1 = x[0];
    double x3 = x[2 * b4];
    double x4 = x[3 * b4];
    double t1 = x4 + x3;
    x[3 * b4] = x4 - x3;
    x[2 * b4] = x1 - t1;
    x[0] = x1 + t1;
  }
  if (b4 == 1) return;
  {
    double* y = x + b8;
    double x1 = y[0];
    double x2 = y[b4];
    double x3 = y[2 * b4];
    double x4 = y[3 * b4];
    double t1 = (x3 + x4) * sqrt_half;
    double t2 = (x3 - x4) * sqrt_half;
    y[3 * b4] = x2 - t1;
    y[2 * b4] = -x2 - t1;
    y[b4] = x1 - t2;
    y[0] = x1 + t2;
  }
  if (b8 < 2) return;
  general_butterflies<double>(x, 1, b4, cc1, ss1, cc3, ss3);
  if (b8 < 4) return;
  general_butterflies<DoublePair>(x, 2, b4, cc1 + 1, ss1 + 1, cc3 + 1, ss3 + 1);
  constexpr int width = sizeof(Widest) / sizeof(double);
  if constexpr (width == 8) {
    // j = 5 ... 8 as four lanes, then the count is a multiple of eight.
    if (b8 < 8) return;
    general_butterflies<DoubleQuad>(x, 4, b4, cc1 + 3, ss1 + 3, cc3 + 3, ss3 + 3);
    for (int k = 7; k < b8 - 1; k += width)
      general_butterflies<Widest>(x, k + 1, b4, cc1 + k, ss1 + k, cc3 + k, ss3 + k);
  } else {
    for (int k = 3; k < b8 - 1; k += width)
      general_butterflies<Widest>(x, k + 1, b4, cc1 + k, ss1 + k, cc3 + k, ss3 + k);
  }
}

// The whole transform of a leaf of S bit-reversed samples: the length-2
// butterfly and the L-shaped blocks of length 4 ... S by the recursion,
// straight-line code without loops.
template <int S, typename Widest>
[[gnu::always_inline]] inline void leaf_transform(double* y, const RealFftTables& tables) {
  if constexpr (S == 2) {
    double y0 = y[0];
    double y1 = y[1];
    y[0] = y0 + y1;
    y[1] = y0 - y1;
  } else if constexpr (S >= 4) {
    leaf_transform<S / 2, Widest>(y, tables);
    leaf_transform<S / 4, Widest>(y + S / 2, tables);
    leaf_transform<S / 4, Widest>(y + 3 * S / 4, tables);
    int offset = tables.twiddle_offset[log2_of(S)];
    l_shaped_block<Widest>(y, S / 4, S / 8, tables.cc1 + offset, tables.ss1 + offset,
                           tables.cc3 + offset, tables.ss3 + offset);
  }
}

// x[reverse(i)] = samples[i]. From 64 samples on it runs tile by tile: with
// an index a * n/8 + b * 8 + c (a and c of three bits), the tile of the
// middle part b, eight rows of eight neighbours, lands transposed in the tile
// of reverse(b), so that whole cache lines move instead of single values
// scattered across the array.
static void bit_reverse_copy(const RealFftTables& tables, const double* samples, double* x,
                             int n) {
  if (n < min_tiled_length) {
    int m = log2_of(n);
    for (int i = 0; i < n; ++i) x[reverse_bits(i, m)] = samples[i];
    return;
  }
  static constexpr int reverse_3[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  const int stride = n / 8;
  double tile[8][8];
  for (int b = 0; b < n / 64; ++b) {
    const double* from = samples + 8 * b;
    double* to = x + tables.tile_destination[b];
    for (int a = 0; a < 8; ++a) std::memcpy(tile[a], from + a * stride, sizeof tile[a]);
    // Element (a, c) goes to row reverse(c), column reverse(a).
    for (int r = 0; r < 8; ++r) {
      for (int c = 0; c < 8; ++c) to[r * stride + c] = tile[reverse_3[c]][reverse_3[r]];
    }
  }
}

// Runs the schedule on the bit-reversed samples in x: leaves whole, larger
// nodes as one L-shaped block.
template <typename Widest>
[[gnu::always_inline]] inline void run_schedule(const RealFftTables& tables, double* x) {
  for (int p = 0; p < tables.node_count; ++p) {
    int start = tables.node_start[p];
    int log2 = tables.node_log2[p];
    switch (log2) {
      case 1:
        leaf_transform<2, Widest>(x + start, tables);
        break;
      case 2:
        leaf_transform<4, Widest>(x + start, tables);
        break;
      case 3:
        leaf_transform<8, Widest>(x + start, tables);
        break;
      case 4:
        leaf_transform<16, Widest>(x + start, tables);
        break;
      case 5:
        leaf_transform<32, Widest>(x + start, tables);
        break;
      case 6:
        leaf_transform<64, Widest>(x + start, tables);
        break;
      default: {
        int offset = tables.twiddle_offset[log2];
        int b = 1 << log2;
        l_shaped_block<Widest>(x + start, b / 4, b / 8, tables.cc1 + offset,
                               tables.ss1 + offset, tables.cc3 + offset, tables.ss3 + offset);
      }
    }
  }
}

static void run_schedule_2_lanes(const RealFftTables& tables, double* x) {
  run_schedule<DoublePair>(tables, x);
}

#if defined(__x86_64__) || defined(__i386__)
// Columns 0-3 of the rows at r0 ... r3 go, transposed, to c0 ... c3.
[[gnu::always_inline]] inline void transpose_4x4(const double* r0, const double* r1,
                                                 const double* r2, const double* r3, double* c0,
                                                 double* c1, double* c2, double* c3) {
  DoubleQuad a, b, c, d;
  load_lanes(r0, a);
  load_lanes(r1, b);
  load_lanes(r2, c);
  load_lanes(r3, d);
  DoubleQuad ab_even = __builtin_shufflevector(a, b, 0, 4, 2, 6);
  DoubleQuad ab_odd = __builtin_shufflevector(a, b, 1, 5, 3, 7);
  DoubleQuad cd_even = __builtin_shufflevector(c, d, 0, 4, 2, 6);
  DoubleQuad cd_odd = __builtin_shufflevector(c, d, 1, 5, 3, 7);
  store_lanes(c0, DoubleQuad(__builtin_shufflevector(ab_even, cd_even, 0, 1, 4, 5)));
  store_lanes(c1, DoubleQuad(__builtin_shufflevector(ab_odd, cd_odd, 0, 1, 4, 5)));
  store_lanes(c2, DoubleQuad(__builtin_shufflevector(ab_even, cd_even, 2, 3, 6, 7)));
  store_lanes(c3, DoubleQuad(__builtin_shufflevector(ab_odd, cd_odd, 2, 3, 6, 7)));
}

// The tiled bit reversal with whole rows in registers. Element (a, c) of a
// tile goes to row reverse(c), column reverse(a): with the source rows taken
// in the order reverse(s), that is a plain transpose whose row c is stored
// to row reverse(c). The tiles are visited in destination order, so that the
// writes run through x and the reads jump (reverse is its own inverse).
__attribute__((target("avx2"))) static void bit_reverse_copy_4_lanes(const RealFftTables& tables,
                                                                      const double* samples,
                                                                      double* x, int n) {
  const int stride = n / 8;
  for (int b = 0; b < n / 64; ++b) {
    const double* from = samples + tables.tile_destination[b];
    double* to = x + 8 * b;
    // Source rows in the order reverse(s) = 0, 4, 2, 6, 1, 5, 3, 7; the
    // destination rows likewise.
    const double* s0 = from;
    const double* s1 = from + 4 * stride;
    const double* s2 = from + 2 * stride;
    const double* s3 = from + 6 * stride;
    const double* s4 = from + 1 * stride;
    const double* s5 = from + 5 * stride;
    const double* s6 = from + 3 * stride;
    const double* s7 = from + 7 * stride;
    double* d0 = to;
    double* d1 = to + 4 * stride;
    double* d2 = to + 2 * stride;
    double* d3 = to + 6 * stride;
    double* d4 = to + 1 * stride;
    double* d5 = to + 5 * stride;
    double* d6 = to + 3 * stride;
    double* d7 = to + 7 * stride;
    transpose_4x4(s0, s1, s2, s3, d0, d1, d2, d3);
    transpose_4x4(s4, s5, s6, s7, d0 + 4, d1 + 4, d2 + 4, d3 + 4);
    transpose_4x4(s0 + 4, s1 + 4, s2 + 4, s3 + 4, d4, d5, d6, d7);
    transpose_4x4(s4 + 4, s5 + 4, s6 + 4, s7 + 4, d4 + 4, d5 + 4, d6 + 4, d7 + 4);
  }
}

// The same operations, four lanes at a time where the processor has them.
__attribute__((target("avx2"))) static void transform_4_lanes(const RealFftTables& tables,
                                                               const double* samples, double* x,
                                                               int n) {
  if (n >= min_tiled_length)
    bit_reverse_copy_4_lanes(tables, samples, x, n);
  else
    bit_reverse_copy(tables, samples, x, n);
  run_schedule<DoubleQuad>(tables, x);
}

__attribute__((target("avx512f"))) static void transform_8_lanes(const RealFftTables& tables,
                                                                  const double* samples, double* x,
                                                                  int n) {
  if (n >= min_tiled_length)
    bit_reverse_copy_4_lanes(tables, samples, x, n);
  else
    bit_reverse_copy(tables, samples, x, n);
  run_schedule<DoubleOct>(tables, x);
}
#endif

void real_fft_half_complex(const RealFftTables& tables, const double* samples, double* x,
                           int n) {
  assert(tables.length == n);
#if defined(__x86_64__) || defined(__i386__)
  if (tables.uses_eight_lanes) {
    transform_8_lanes(tables, samples, x, n);
    return;
  }
  if (tables.uses_four_lanes) {
    transform_4_lanes(tables, samples, x, n);
    return;
  }
#endif
  bit_reverse_copy(tables, samples, x, n);
  run_schedule_2_lanes(tables, x);
}

// The half-complex order in im becomes the full spectrum in re and im:
// Re X_k = h[k] for k <= n/2, Im X_k = h[n - k] for 0 < k < n/2, and the
// upper half mirrored, X_n-k = conj(X_k). Lines k and n - k read and
// write only their own two places, so the unpacking runs in place.
template <typename Lanes>
[[gnu::always_inline]] inline void unpack_half_complex(double* re, double* im, int n) {
  constexpr int width = sizeof(Lanes) / sizeof(double);
  const double* h = im;
  re[0] = h[0];
  re[n / 2] = h[n / 2];
  im[0] = 0.0;
  im[n / 2] = 0.0;
  int k = 1;
  // Lines k ... k + width - 1 side by side: their mirrored places run
  // downwards.
  for (; k + width - 1 < n / 2; k += width) {
    Lanes real_part, imaginary_part;
    load_lanes(h + k, real_part);
    load_reversed(h + (n - k - width + 1), imaginary_part);
    store_lanes(re + k, real_part);
    store_reversed(re + (n - k - width + 1), real_part);
    store_lanes(im + k, imaginary_part);
    store_reversed(im + (n - k - width + 1), Lanes(-imaginary_part));
  }
  for (; k < n / 2; ++k) {
    double real_part = h[k];
    double imaginary_part = h[n - k];
    re[k] = real_part;
    re[n - k] = real_part;
    im[k] = imaginary_part;
    im[n - k] = -imaginary_part;
  }
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"))) static void unpack_4_lanes(double* re, double* im, int n) {
  unpack_half_complex<DoubleQuad>(re, im, n);
}
#endif

int real_fft(RealFftTables& tables, double* re, double* im, int n) {
  if (n < 1) return real_fft_length_below_one;
  if ((n & (n - 1)) != 0) return real_fft_length_not_power_of_two;
  if (n == 1) {
    im[0] = 0.0;
    return real_fft_ok;
  }
  prepare_real_fft_tables(tables, n);
  // The transform runs in im; the unpacking then fills both arrays.
  real_fft_half_complex(tables, re, im, n);

#if defined(__x86_64__) || defined(__i386__)
  if (tables.uses_four_lanes) {
    unpack_4_lanes(re, im, n);
    return real_fft_ok;
  }
#endif
  unpack_half_complex<DoublePair>(re, im, n);
  return real_fft_ok;
}
