// The deform space the benchmarks move points through: a turn about two axes and a move.
#pragma once

#include <cmath>

// A deform space turned about two axes and moved, and its inverse.
struct Space
{
    double mat[4][4];
    double inv[4][4];
    Space()
    {
        const double c = std::cos(0.5), s = std::sin(0.5);
        const double m[4][4] = {{c, s, 0, 0}, {-s * c, c * c, s, 0}, {s * s, -c * s, c, 0}, {1.5, -2.0, 0.25, 1}};
        // The turn's rows are orthonormal: its inverse is its transpose, and the inverse
        // takes the moved origin back through it.
        for (int r = 0; r < 4; ++r)
            for (int k = 0; k < 4; ++k) {
                mat[r][k] = m[r][k];
                inv[r][k] = r < 3 && k < 3 ? m[k][r] : (r == k ? 1.0 : 0.0);
            }
        for (int k = 0; k < 3; ++k) inv[3][k] = -(m[3][0] * inv[0][k] + m[3][1] * inv[1][k] + m[3][2] * inv[2][k]);
    }
};
