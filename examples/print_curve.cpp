// Prints the X axis's visualisation curve of a noise field, one point a line: the noise
// core on its own, without the host. Usage: print_curve [length] [count] [seed]
#include "axisNoiseField.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const float length = argc > 1 ? float(std::atof(argv[1])) : 10.0f;
    const int count = argc > 2 ? std::atoi(argv[2]) : 30;
    const int seed = argc > 3 ? std::atoi(argv[3]) : 1;

    Perlin noiseY = makeAxisNoise(4, 0.35f, 1.0f, seed);
    Perlin noiseZ = makeAxisNoise(4, 0.35f, 1.0f, seed + 1);
    static FieldPoint curve[MAX_PTS];
    const int n = sampleCurve(kNoiseAxisX, length, count, noiseY, noiseZ, curve);
    for (int i = 0; i < n; ++i) std::printf("%.9g %.9g %.9g\n", curve[i].x, curve[i].y, curve[i].z);
    return 0;
}
