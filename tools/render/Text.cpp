#include "Text.h"

// The font's functions are static: this is the one file that uses them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb/stb_easy_font.h>
#pragma GCC diagnostic pop

#include <cstring>

namespace hx {

std::string printableText(const std::string& text)
{
    std::string out = text;
    for (char& c : out) {
        if (c == '\n' || c == '\t')
            c = ' ';
        else if (c < 32 || c > 126)
            c = '?';
    }
    return out;
}

double textWidth(const std::string& text, double scale)
{
    std::string line = printableText(text);
    return stb_easy_font_width(line.data()) * scale;
}

std::vector<float> textQuads(const std::string& text, double x, double y, double scale)
{
    std::string line = printableText(text);
    // The font takes about 270 bytes a character; a byte more than it can fill says it had room.
    std::vector<char> buffer(line.size() * 400 + 64);
    const int quads = stb_easy_font_print(0.0f, 0.0f, line.data(), nullptr, buffer.data(), int(buffer.size()));
    std::vector<float> corners;
    corners.reserve(std::size_t(quads) * 8);
    for (int v = 0; v < quads * 4; ++v) {
        float p[2];
        std::memcpy(p, buffer.data() + v * 16, sizeof p);
        corners.push_back(float(x + p[0] * scale));
        corners.push_back(float(y + p[1] * scale));
    }
    return corners;
}

} // namespace hx
