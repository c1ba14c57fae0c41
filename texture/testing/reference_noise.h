#pragma once

// An independent, deliberately plain rendition of the pattern generator, the lattice tables
// and the noise functions, for the tests to compute expected values with.

#include <cmath>
#include <cstdint>
#include <vector>

namespace lumetra::texture::reference {

struct Generator {
  std::uint32_t state = 1;
  int Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  }
};

struct Tables {
  std::vector<int> p = std::vector<int>(4098, 0);
  std::vector<double> g = std::vector<double>(4098 * 3, 0.0);

  Tables() {
    Generator random;
    random.state = 1;
    int filled = 0;
    while (filled < 2048) {
      double v[3];
      for (double& c : v) c = ((random.Next() & 0xFFF) - 2048) / 2048.0;
      double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
      if (length == 0.0) {
        v[0] = 1.0;
        v[1] = v[2] = 0.0;
      } else {
        for (double& c : v) c /= length;
      }
      if (length > 1.0) continue;
      for (int c = 0; c < 3; ++c) g[filled * 3 + c] = v[c];
      ++filled;
    }
    for (int i = 0; i < 2048; ++i) p[i] = i;
    for (int i = 2048; i >= 2; i -= 2) {
      int j = random.Next() % 2048;
      int swap = p[i];
      p[i] = p[j];
      p[j] = swap;
    }
    for (int i = 0; i < 2050; ++i) {
      p[2048 + i] = p[i];
      for (int c = 0; c < 3; ++c) g[(2048 + i) * 3 + c] = g[i * 3 + c];
    }
  }
};

inline const Tables& GetTables() {
  static const Tables tables;
  return tables;
}

inline double SCurve(double t) { return t * t * (3.0 - 2.0 * t); }
inline double Mix(double t, double a, double b) { return a + t * (b - a); }

// The blended result of corner(corner gradient index, offsets) over the eight corners;
// `Dot` true gives scalar noise, else component `component` of vector noise.
inline double LatticeBlend(double x, double y, double z, bool dot, int component) {
  const Tables& t = GetTables();
  double r0[3], r1[3], s[3];
  int b0[3], b1[3];
  const double in[3] = {x, y, z};
  for (int a = 0; a < 3; ++a) {
    double f = std::floor(in[a]);
    b0[a] = static_cast<int>(f) & 2047;
    b1[a] = (b0[a] + 1) & 2047;
    r0[a] = in[a] - f;
    r1[a] = r0[a] - 1.0;
    s[a] = SCurve(r0[a]);
  }
  const int i = t.p[b0[0]], j = t.p[b1[0]];
  const int b00 = t.p[i + b0[1]], b10 = t.p[j + b0[1]], b01 = t.p[i + b1[1]], b11 = t.p[j + b1[1]];
  auto corner = [&](int b, int bz, double rx, double ry, double rz) {
    const double* gr = &t.g[(b + bz) * 3];
    return dot ? gr[0] * rx + gr[1] * ry + gr[2] * rz : gr[component];
  };
  double zValues[2];
  for (int zi = 0; zi < 2; ++zi) {
    const int bz = zi ? b1[2] : b0[2];
    const double rz = zi ? r1[2] : r0[2];
    double a = Mix(s[0], corner(b00, bz, r0[0], r0[1], rz), corner(b10, bz, r1[0], r0[1], rz));
    double b = Mix(s[0], corner(b01, bz, r0[0], r1[1], rz), corner(b11, bz, r1[0], r1[1], rz));
    zValues[zi] = Mix(s[1], a, b);
  }
  return Mix(s[2], zValues[0], zValues[1]);
}

inline double Noise(double x, double y, double z) { return LatticeBlend(x, y, z, true, 0); }

inline double Clamped(double x, double y, double z) {
  double n = (Noise(x, y, z) + 0.3) * 1.5;
  return n < 0.0 ? 0.0 : n > 1.0 ? 1.0 : n;
}

inline double Turbulence(double x, double y, double z, double lambda, double omega, int octaves) {
  double sum = 0.0, weight = 1.0;
  for (int o = 0; o < octaves; ++o) {
    sum += Clamped(x, y, z) * weight;
    x *= lambda;
    y *= lambda;
    z *= lambda;
    weight *= omega;
  }
  return sum;
}

inline void VectorNoise(double x, double y, double z, double out[3]) {
  for (int c = 0; c < 3; ++c) out[c] = LatticeBlend(x, y, z, false, c);
}

inline void VectorTurbulence(double x, double y, double z, double lambda, double omega, int octaves,
                             double out[3]) {
  VectorNoise(x, y, z, out);
  double weight = 1.0;
  for (int o = 1; o < octaves; ++o) {
    x *= lambda;
    y *= lambda;
    z *= lambda;
    weight *= omega;
    double v[3];
    VectorNoise(x, y, z, v);
    for (int c = 0; c < 3; ++c) out[c] += weight * v[c];
  }
}

}  // namespace lumetra::texture::reference
