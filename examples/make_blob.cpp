// make_blob: writes the project's own test mesh, a softly lumpy sphere ("blob").
//
//   make_blob OUT.obj [RINGS SEGMENTS]
//
// Defaults give the bundled example (48 x 84: 3,950 vertices); 708 x 1414 gives 999,700
// vertices for measurements. Latitude-longitude layout: quads, triangle fans at the poles,
// texture coordinates with a seam column so the map does not wrap backwards. Coordinates
// are rounded to six decimals to keep the bundled file small.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

double rounded(double v)
{
    return std::round(v * 1e6) / 1e6 + 0.0;
} // + 0.0: no "-0"

void number(std::FILE* out, double v)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, rounded(v));
    std::fputc(' ', out);
    std::fwrite(text, 1, static_cast<std::size_t>(result.ptr - text), out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: make_blob OUT.obj [RINGS SEGMENTS]\n");
        return 2;
    }
    const int rings = argc == 4 ? std::atoi(argv[2]) : 48;
    const int segments = argc == 4 ? std::atoi(argv[3]) : 84;
    if (rings < 3 || segments < 3) {
        std::fprintf(stderr, "make_blob: RINGS and SEGMENTS must be at least 3\n");
        return 2;
    }
    const std::string path = argv[1];
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        std::perror(path.c_str());
        return 1;
    }

    std::fprintf(out, "# hxNoise example mesh: a lumpy sphere, %d rings x %d segments\n", rings, segments);
    std::fprintf(out, "o blob\n");
    // Vertices: north pole, rings - 1 latitude circles, south pole.
    const auto radius = [](double theta, double phi) {
        return 1.0 + 0.12 * std::sin(3.0 * theta) * std::cos(2.0 * phi) +
               0.05 * std::sin(5.0 * phi + 1.0) * std::sin(theta);
    };
    const auto vertex = [&](double theta, double phi) {
        const double r = radius(theta, phi);
        std::fputs("v", out);
        number(out, r * std::sin(theta) * std::cos(phi));
        number(out, r * std::cos(theta));
        number(out, -r * std::sin(theta) * std::sin(phi));
        std::fputc('\n', out);
    };
    vertex(0.0, 0.0);
    for (int ring = 1; ring < rings; ++ring)
        for (int segment = 0; segment < segments; ++segment)
            vertex(M_PI * ring / rings, 2.0 * M_PI * segment / segments);
    vertex(M_PI, 0.0);

    // Texture coordinates: a (segments + 1) x (rings + 1) grid, u along the equator.
    for (int ring = 0; ring <= rings; ++ring)
        for (int segment = 0; segment <= segments; ++segment) {
            std::fputs("vt", out);
            number(out, double(segment) / segments);
            number(out, 1.0 - double(ring) / rings);
            std::fputc('\n', out);
        }

    const long north = 1, south = 2 + long(rings - 1) * segments;
    const auto ringVertex = [&](int ring, int segment) { // ring in 1..rings-1
        return 2 + long(ring - 1) * segments + (segment % segments);
    };
    const auto uv = [&](int ring, int segment) { return 1 + long(ring) * (segments + 1) + segment; };
    std::fprintf(out, "g blob\n");
    for (int s = 0; s < segments; ++s)
        std::fprintf(out, "f %ld/%ld %ld/%ld %ld/%ld\n", north, uv(0, s), ringVertex(1, s), uv(1, s),
                     ringVertex(1, s + 1), uv(1, s + 1));
    for (int ring = 1; ring + 1 < rings; ++ring)
        for (int s = 0; s < segments; ++s)
            std::fprintf(out, "f %ld/%ld %ld/%ld %ld/%ld %ld/%ld\n", ringVertex(ring, s), uv(ring, s),
                         ringVertex(ring + 1, s), uv(ring + 1, s), ringVertex(ring + 1, s + 1), uv(ring + 1, s + 1),
                         ringVertex(ring, s + 1), uv(ring, s + 1));
    for (int s = 0; s < segments; ++s)
        std::fprintf(out, "f %ld/%ld %ld/%ld %ld/%ld\n", ringVertex(rings - 1, s), uv(rings - 1, s), south,
                     uv(rings, s), ringVertex(rings - 1, s + 1), uv(rings - 1, s + 1));

    if (std::fclose(out) != 0) {
        std::perror(path.c_str());
        return 1;
    }
    return 0;
}
