// An outside program: it includes perlin.h alone and links the noise core.
#include <cstdio>
#include "perlin.h"

int main()
{
    Perlin a(1, 1.0f, 1.0f, 1);
    Perlin b(4, 0.5f, 1.0f, 7);
    // Lattice points in every octave: both are zero.
    std::printf("%g %g\n", a.Get(1.0f, 2.0f), b.Get(10.0f, 10.0f));
    return 0;
}
