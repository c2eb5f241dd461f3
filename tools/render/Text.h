// Text: short lines of ASCII as filled quads (stb_easy_font's stroke font), laid out in
// pixels, for the heads-up display. No texture, no font file: the quads draw in any GL.
#pragma once

#include <string>
#include <vector>

namespace hx {

// At `scale`, the font's strokes are `scale` pixels thick, its capitals 7 * `scale` pixels
// tall, and a line takes kLineHeight * `scale`.
constexpr double kLineHeight = 12.0;

// `text` with every character the font lacks (control characters, anything past '~')
// replaced by '?', and newlines by spaces: one line, safe to lay out.
std::string printableText(const std::string& text);

// The width of `text` in pixels, at `scale`.
double textWidth(const std::string& text, double scale);

// The quads of `text` with its top-left corner at (x, y), x right and y down, in pixels:
// x, y of the four corners of each quad in turn.
std::vector<float> textQuads(const std::string& text, double x, double y, double scale);

} // namespace hx
