#!/usr/bin/env python3
"""Pattern values worked out from the definitions alone, for pattern_values_test.cpp.

Lattice noise, crackle and the ripples of the ten wave sources, written from their
definitions in plain Python (no code of the texture engine consulted), so that a misreading
shared by the engine and its C++ test helpers cannot pass. Run it to print the values the
test pins: python3 texture/testdata/pattern_values.py
"""
import math

MASK32 = 0xFFFFFFFF


class Generator:
    """The runtime's generator: s = s * 214013 + 2531011 (mod 2^32), value (s >> 16) & 0x7FFF."""

    def __init__(self, seed):
        self.s = seed & MASK32

    def next(self):
        self.s = (self.s * 214013 + 2531011) & MASK32
        return (self.s >> 16) & 0x7FFF


def noise_tables():
    rand = Generator(1)
    gradients = []
    while len(gradients) < 2048:
        v = [((rand.next() & 0xFFF) - 2048) / 2048 for _ in range(3)]
        length = math.sqrt(v[0] ** 2 + v[1] ** 2 + v[2] ** 2)
        if length * length == 0:
            v, length = [1.0, 0.0, 0.0], 0.0
        else:
            v = [c / length for c in v]
        if length <= 1:
            gradients.append(v)
    perm = list(range(2048)) + [0] * 2050
    gradients += [[0.0, 0.0, 0.0]] * 2050
    for i in range(2048, 0, -2):
        j = rand.next() % 2048
        perm[i], perm[j] = perm[j], perm[i]
    for i in range(2050):
        perm[2048 + i] = perm[i]
        gradients[2048 + i] = gradients[i]
    return perm, gradients


P, G = noise_tables()


def s_curve(t):
    return t * t * (3 - 2 * t)


def lerp(t, a, b):
    return a + t * (b - a)


def noise(p):
    b0, b1, r0, r1 = [], [], [], []
    for t in p:
        f = math.floor(t)
        b0.append(f & 0x7FF)
        b1.append((f + 1) & 0x7FF)
        r0.append(t - f)
        r1.append(t - f - 1)
    i, j = P[b0[0]], P[b1[0]]
    b00, b10, b01, b11 = P[i + b0[1]], P[j + b0[1]], P[i + b1[1]], P[j + b1[1]]
    sx, sy, sz = (s_curve(r) for r in r0)

    def corner(b, x, y, z):
        g = G[b]
        return g[0] * x + g[1] * y + g[2] * z

    def plane(bz, rz):
        a = lerp(sx, corner(b00 + bz, r0[0], r0[1], rz), corner(b10 + bz, r1[0], r0[1], rz))
        b = lerp(sx, corner(b01 + bz, r0[0], r1[1], rz), corner(b11 + bz, r1[0], r1[1], rz))
        return lerp(sy, a, b)

    return lerp(sz, plane(b0[2], r0[2]), plane(b1[2], r1[2]))


def crackle(p):
    def cell_point(q):
        i, j, k = (math.floor(c - 1e-05) for c in q)
        key = ((k * 55237) & MASK32) ^ ((j * 113713) & MASK32) ^ ((i * 99137) & MASK32)
        rand = Generator(key)
        return (i + rand.next() / 32767, j + rand.next() / 32767, k + rand.next() / 32767)

    squares = []
    for dx in range(-2, 3):
        for dy in range(-2, 3):
            for dz in range(-2, 3):
                if sum(abs(d) == 2 for d in (dx, dy, dz)) >= 2:
                    continue
                c = cell_point((p[0] + dx, p[1] + dy, p[2] + dz))
                squares.append(sum((c[a] - p[a]) ** 2 for a in range(3)))
    squares.sort()
    return min(math.sqrt(squares[1]) - math.sqrt(squares[0]), 1)


def wave_sources():
    rand = Generator(42)
    sources = []
    for _ in range(10):
        r1, r2, r3 = rand.next(), rand.next(), rand.next()
        d = [r3 * 3.051850947599719e-05, r2 * 3.051850947599719e-05, r1 * 3.051850947599719e-05]
        length = math.sqrt(sum(c * c for c in d))
        d = [c / length for c in d] if length > 0 else [1.0, 0.0, 0.0]
        sources.append((d, rand.next() * 3.051850947599719e-05 + 0.01))
    return sources


def ripples(p, frequency, phase):
    v = 0.0
    for d, _size in wave_sources():
        distance = math.sqrt(sum((p[a] - d[a]) ** 2 for a in range(3)))
        v += math.sin((distance * frequency + phase) * 6.283185207179587)
    v = (v / 10 + 1) * 0.5
    v = math.fmod(v * frequency + phase, 1.0000001)  # the shaping, ramp wave
    return v - math.floor(v) if v < 0 else v


POINTS = [(0.5, 0.25, 0.125), (1.7, -2.3, 3.9), (-4.2, 7.7, 0.01)]

if __name__ == "__main__":
    for p in POINTS:
        print(f"noise{p} = {noise(p)!r}")
    for p in POINTS:
        print(f"crackle{p} = {crackle(p)!r}")
    print(f"first wave source = {wave_sources()[0]!r}")
    for p in POINTS:
        print(f"ripples{p}, frequency 1.5, phase 0.2 = {ripples(p, 1.5, 0.2)!r}")
