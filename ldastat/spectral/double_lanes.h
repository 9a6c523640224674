// Vectors of two, four and eight doubles for the numeric kernels of the
// spectrum.
//
// Every lane operation is the scalar operation of its lane: a kernel that
// runs its loop iterations side by side, one per lane, gives the same bits
// as the scalar loop. The helpers pass vectors by reference, because a
// four-lane vector passed by value would change the calling convention of
// code built without AVX; they are always inlined, and the four-lane and
// eight-lane kernels run only inside functions built for AVX2 and AVX-512F
// (has_four_lanes, has_eight_lanes).
#pragma once

#include <cstring>

typedef double DoublePair __attribute__((vector_size(2 * sizeof(double))));
typedef double DoubleQuad __attribute__((vector_size(4 * sizeof(double))));
typedef double DoubleOct __attribute__((vector_size(8 * sizeof(double))));

// True when the processor runs four-lane kernels (x86 with AVX2).
inline bool has_four_lanes() {
#if defined(__x86_64__) || defined(__i386__)
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

// True when the processor runs eight-lane kernels (x86 with AVX-512F).
inline bool has_eight_lanes() {
#if defined(__x86_64__) || defined(__i386__)
  return __builtin_cpu_supports("avx512f");
#else
  return false;
#endif
}

template <typename Lanes>
[[gnu::always_inline]] inline void load_lanes(const double* p, Lanes& v) {
  std::memcpy(&v, p, sizeof v);
}

template <typename Lanes>
[[gnu::always_inline]] inline void store_lanes(double* p, const Lanes& v) {
  std::memcpy(p, &v, sizeof v);
}

// Loads or stores the lanes in reverse memory order.
[[gnu::always_inline]] inline void load_reversed(const double* p, double& v) { v = *p; }
[[gnu::always_inline]] inline void load_reversed(const double* p, DoublePair& v) {
  load_lanes(p, v);
  v = __builtin_shufflevector(v, v, 1, 0);
}
[[gnu::always_inline]] inline void load_reversed(const double* p, DoubleQuad& v) {
  load_lanes(p, v);
  v = __builtin_shufflevector(v, v, 3, 2, 1, 0);
}
[[gnu::always_inline]] inline void load_reversed(const double* p, DoubleOct& v) {
  load_lanes(p, v);
  v = __builtin_shufflevector(v, v, 7, 6, 5, 4, 3, 2, 1, 0);
}
template <typename Lanes>
[[gnu::always_inline]] inline void store_reversed(double* p, const Lanes& v) {
  Lanes r;
  load_reversed(reinterpret_cast<const double*>(&v), r);
  store_lanes(p, r);
}

// A vector with every lane `value`.
template <typename Lanes>
[[gnu::always_inline]] inline void broadcast(double value, Lanes& v) {
  for (unsigned lane = 0; lane < sizeof(Lanes) / sizeof(double); ++lane) v[lane] = value;
}
[[gnu::always_inline]] inline void broadcast(double value, double& v) { v = value; }
