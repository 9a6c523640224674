// The real FFT transcribed plainly, kept as the reference that real_fft
// must match bit for bit (tests) and as the baseline of its benchmark.
#pragma once

#include <cmath>
#include <utility>

// The transform exactly as the algorithm is written: stage by stage, within
// an L-shaped stage first every block at j = 1, then every block at j = 2,
// and so on, with the twiddles computed on the way. real_fft must agree with
// it bit for bit.
inline int plain_real_fft(double* x, double* y, int n) {
  if (n < 1) return -20003;
  if ((n & (n - 1)) != 0) return -20009;
  if (n == 1) {
    y[0] = 0.0;
    return 0;
  }
  int m = 0;
  while ((1 << m) < n) ++m;

  for (int i = 1; i < n; ++i) {
    int r = 0;
    for (int bit = 0; bit < m; ++bit)
      if ((i >> bit) & 1) r |= 1 << (m - 1 - bit);
    if (r > i) std::swap(x[i], x[r]);
  }

  int is = 0;
  int id = 4;
  do {
    for (int i0 = is; i0 < n; i0 += id) {
      double t1 = x[i0];
      x[i0] = t1 + x[i0 + 1];
      x[i0 + 1] = t1 - x[i0 + 1];
    }
    is = 2 * id - 2;
    id = 4 * id;
  } while (is < n);

  double e = 1.5707963267948966;
  for (int b = 4; b <= n; b *= 2) {
    int b4 = b / 4;
    int b8 = b / 8;
    is = 0;
    id = 2 * b;
    do {
      for (int i = is; i < n; i += id) {
        int i1 = i;
        int i2 = i1 + b4;
        int i3 = i2 + b4;
        int i4 = i3 + b4;
        double t1 = x[i4] + x[i3];
        x[i4] = x[i4] - x[i3];
        x[i3] = x[i1] - t1;
        x[i1] = x[i1] + t1;
        if (b4 > 1) {
          i1 += b8;
          i2 += b8;
          i3 += b8;
          i4 += b8;
          t1 = (x[i3] + x[i4]) * 0.7071067811865476;
          double t2 = (x[i3] - x[i4]) * 0.7071067811865476;
          x[i4] = x[i2] - t1;
          x[i3] = -x[i2] - t1;
          x[i2] = x[i1] - t2;
          x[i1] = x[i1] + t2;
        }
      }
      is = 2 * id - b;
      id = 4 * id;
    } while (is < n);

    double a = 0.0;
    for (int j = 2; j <= b8; ++j) {
      a += e;
      double cc1 = std::cos(a);
      double ss1 = std::sin(a);
      double cc3 = std::cos(3.0 * a);
      double ss3 = std::sin(3.0 * a);
      is = 0;
      id = 2 * b;
      do {
        for (int i = is; i < n; i += id) {
          int i1 = i + j - 1;
          int i2 = i1 + b4;
          int i3 = i2 + b4;
          int i4 = i3 + b4;
          int i5 = i + b4 - j + 1;
          int i6 = i5 + b4;
          int i7 = i6 + b4;
          int i8 = i7 + b4;
          double t1 = x[i3] * cc1 + x[i7] * ss1;
          double t2 = x[i7] * cc1 - x[i3] * ss1;
          double t3 = x[i4] * cc3 + x[i8] * ss3;
          double t4 = x[i8] * cc3 - x[i4] * ss3;
          double t5 = t1 + t3;
          double t6 = t2 + t4;
          t3 = t1 - t3;
          t4 = t2 - t4;
          double old2 = x[i2];
          double old5 = x[i5];
          double old6 = x[i6];
          double old1 = x[i1];
          x[i8] = old6 + t6;
          x[i3] = t6 - old6;
          x[i4] = old2 - t3;
          x[i7] = -old2 - t3;
          x[i6] = old1 - t5;
          x[i1] = old1 + t5;
          x[i2] = old5 + t4;
          x[i5] = old5 - t4;
        }
        is = 2 * id - b;
        id = 4 * id;
      } while (is < n);
    }
    e *= 0.5;
  }

  y[0] = 0.0;
  y[n / 2] = 0.0;
  for (int k = 1; k < n / 2; ++k) {
    y[k] = x[n - k];
    y[n - k] = -x[n - k];
    x[n - k] = x[k];
  }
  return 0;
}
