#!/usr/bin/env python3
"""An independent, slow reference of the deformer's noise, written apart from the C++ code.

Every single-precision operation is emulated by rounding the exact double result to float
(for +, -, *, / and sqrt of float operands this gives the correctly rounded float result),
and the tables are drawn from the C library's own srand()/rand() through ctypes.

It writes perlin_get.txt: one line per evaluation,
    octaves freq amp seed x y -> result
with every float as its 32-bit pattern in hex, which NoiseGoldenTest.cpp checks the
C++ generator against bit for bit.  Run:  python3 reference_noise.py > perlin_get.txt
"""
import ctypes
import math
import random
import struct
import sys

libc = ctypes.CDLL("libc.so.6")

def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]

def bits(x):
    return struct.unpack("I", struct.pack("f", x))[0]

def from_bits(b):
    return struct.unpack("f", struct.pack("I", b))[0]

B, BM, N = 1024, 1023, 4096

class Reference:
    def __init__(self, octaves, freq, amp, seed):
        self.octaves, self.freq, self.amp = octaves, f32(freq), f32(amp)
        libc.srand(ctypes.c_uint(seed & 0xFFFFFFFF))
        rand = libc.rand
        draw = lambda: f32(float((rand() % (B + B)) - B) / B)
        p, g1, g2, g3 = list(range(B)), [], [], []
        for i in range(B):
            g1.append(draw())
            v = [draw(), draw()]
            s = f32(math.sqrt(f32(f32(v[0] * v[0]) + f32(v[1] * v[1]))))
            if s != 0.0:
                r = f32(1.0 / s)
                v = [f32(v[0] * r), f32(v[1] * r)]
            g2.append(v)
            w = [draw(), draw(), draw()]
            s = f32(math.sqrt(f32(f32(f32(w[0] * w[0]) + f32(w[1] * w[1])) + f32(w[2] * w[2]))))
            if s != 0.0:
                r = f32(1.0 / s)
                w = [f32(c * r) for c in w]
            g3.append(w)
        for i in range(B - 1, 0, -1):
            k = p[i]
            j = rand() % B
            p[i] = p[j]
            p[j] = k
        self.p = p + p[:B + 2]
        self.g2 = g2 + g2[:B + 2]

    @staticmethod
    def setup(c):
        t = f32(c + N)
        if math.isnan(t) or abs(t) >= 2.0 ** 31:
            return None
        cell = math.floor(t)
        r0 = f32(t - cell)
        return cell & BM, (cell + 1) & BM, r0, f32(r0 - 1.0)

    def noise2(self, x, y):
        sx_ = self.setup(x)
        sy_ = self.setup(y)
        if sx_ is None or sy_ is None:
            return 0.0
        bx0, bx1, rx0, rx1 = sx_
        by0, by1, ry0, ry1 = sy_
        p, g2 = self.p, self.g2
        i, j = p[bx0], p[bx1]
        b00, b10, b01, b11 = p[i + by0], p[j + by0], p[i + by1], p[j + by1]
        fade = lambda t: f32(f32(t * t) * f32(3.0 - f32(2.0 * t)))
        dot = lambda rx, ry, q: f32(f32(rx * q[0]) + f32(ry * q[1]))
        lerp = lambda t, a, b: f32(a + f32(t * f32(b - a)))
        sx, sy = fade(rx0), fade(ry0)
        a = lerp(sx, dot(rx0, ry0, g2[b00]), dot(rx1, ry0, g2[b10]))
        b = lerp(sx, dot(rx0, ry1, g2[b01]), dot(rx1, ry1, g2[b11]))
        return lerp(sy, a, b)

    def get(self, x, y):
        x, y = f32(f32(x) * self.freq), f32(f32(y) * self.freq)
        amp, result = self.amp, 0.0
        for _ in range(self.octaves):
            result = f32(result + f32(self.noise2(x, y) * amp))
            x, y = f32(x + x), f32(y + y)
            amp = f32(0.5 * amp)
        return result

def main():
    rng = random.Random(20261207)
    cases = [(1, 1.0, 1.0, 1), (4, 1.0, 1.0, 0), (4, 0.37, 2.5, 7), (10, 1.0, 1.0, 2),
             (10, 0.0625, 3.0, 12345), (3, -0.8, -1.5, 99), (6, 13.7, 0.25, 2**31 - 1),
             (2, 1.0, 1.0, 1047)]
    out = sys.stdout
    for octaves, freq, amp, seed in cases:
        ref = Reference(octaves, freq, amp, seed)
        points = [(0.0, 0.0), (1.0, 2.0), (-1.0, -2.0), (-4097.5, 3.25), (-9.0, -8.5)]
        points += [(rng.uniform(-20, 20), rng.uniform(-20, 20)) for _ in range(60)]
        points += [(rng.uniform(-6000, 6000), rng.uniform(-6000, 6000)) for _ in range(20)]
        points += [(-x, y) for (x, y) in points[5:25]]
        for x, y in points:
            x, y = f32(x), f32(y)
            r = ref.get(x, y)
            out.write("%d %08x %08x %d %08x %08x -> %08x\n" % (
                octaves, bits(f32(freq)), bits(f32(amp)), seed, bits(x), bits(y), bits(r)))

if __name__ == "__main__":
    main()
