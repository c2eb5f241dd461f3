#include <maya/MColor.h>

#include <algorithm>
#include <cmath>

namespace {

// HSV (hue in degrees) to RGB, each 0-1.
void hsvToRgb(float h, float s, float v, float& r, float& g, float& b) {
    h = std::fmod(h, 360.0f);
    if (h < 0.0f) h += 360.0f;
    if (!(h >= 0.0f && h < 360.0f)) h = 0.0f;  // not a number
    const float c = v * s;
    const float x = c * (1.0f - std::fabs(std::fmod(h / 60.0f, 2.0f) - 1.0f));
    const float m = v - c;
    const int sector = std::min(5, static_cast<int>(h / 60.0f));
    const float table[6][3] = {{c, x, 0}, {x, c, 0}, {0, c, x}, {0, x, c}, {x, 0, c}, {c, 0, x}};
    r = table[sector][0] + m;
    g = table[sector][1] + m;
    b = table[sector][2] + m;
}

void rgbToHsv(float r, float g, float b, float& h, float& s, float& v) {
    const float hi = std::max(r, std::max(g, b)), lo = std::min(r, std::min(g, b));
    const float d = hi - lo;
    v = hi;
    s = hi > 0.0f ? d / hi : 0.0f;
    if (d == 0.0f)
        h = 0.0f;
    else if (hi == r)
        h = 60.0f * std::fmod((g - b) / d, 6.0f);
    else if (hi == g)
        h = 60.0f * ((b - r) / d + 2.0f);
    else
        h = 60.0f * ((r - g) / d + 4.0f);
    if (h < 0.0f) h += 360.0f;
}

}  // namespace

MColor::MColor(float rr, float gg, float bb, float aa) : r(rr), g(gg), b(bb), a(aa) {}
MColor::MColor() : MColor(0.0f, 0.0f, 0.0f) {}
MColor::MColor(const MColor&) = default;
MColor::MColor(const float d[3]) : MColor(d[0], d[1], d[2]) {}
MColor::MColor(MColorType model, unsigned char c1, unsigned char c2, unsigned char c3, unsigned char alpha) : MColor() {
    set(model, c1 / 255.0f, c2 / 255.0f, c3 / 255.0f, alpha / 255.0f);
}
MColor::MColor(MColorType model, unsigned short c1, unsigned short c2, unsigned short c3, unsigned short alpha)
    : MColor() {
    set(model, c1 / 65535.0f, c2 / 65535.0f, c3 / 65535.0f, alpha / 65535.0f);
}
MColor::MColor(MColorType model, float c1, float c2, float c3, float alpha) : MColor() {
    set(model, c1, c2, c3, alpha);
}
MColor::MColor(MColorType model, double c1, double c2, double c3, double alpha) : MColor() {
    set(model, float(c1), float(c2), float(c3), float(alpha));
}
MColor::~MColor() {}

MColor& MColor::operator=(const MColor&) = default;
float MColor::operator()(unsigned int i) const { return (*this)[i]; }
float MColor::operator[](unsigned int i) const { return i == 0 ? r : i == 1 ? g : i == 2 ? b : a; }
float& MColor::operator[](unsigned int i) { return i == 0 ? r : i == 1 ? g : i == 2 ? b : a; }

MColor MColor::operator+(const MColor& o) const { return MColor(r + o.r, g + o.g, b + o.b, a + o.a); }
MColor& MColor::operator+=(const MColor& o) { return *this = *this + o; }
MColor MColor::operator-(const MColor& o) const { return MColor(r - o.r, g - o.g, b - o.b, a - o.a); }
MColor MColor::operator-() const { return MColor(-r, -g, -b, -a); }
MColor MColor::operator*(float s) const { return MColor(r * s, g * s, b * s, a * s); }
MColor& MColor::operator*=(float s) { return *this = *this * s; }
MColor MColor::operator*(const MColor& o) const { return MColor(r * o.r, g * o.g, b * o.b, a * o.a); }
MColor& MColor::operator*=(const MColor& o) { return *this = *this * o; }
MColor MColor::operator/(float s) const { return MColor(r / s, g / s, b / s, a / s); }
MColor& MColor::operator/=(float s) { return *this = *this / s; }
bool MColor::operator==(const MColor& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
bool MColor::operator!=(const MColor& o) const { return !(*this == o); }
MColor operator*(float scale, const MColor& color) { return color * scale; }

bool MColor::get(float dest[4]) const {
    for (unsigned int i = 0; i < 4; ++i) dest[i] = (*this)[i];
    return true;
}

namespace {

using Conversion = void (*)(float, float, float, float&, float&, float&);

void same(float a, float b, float c, float& x, float& y, float& z) { x = a, y = b, z = c; }
// CMY and RGB are each other's complements.
void complement(float a, float b, float c, float& x, float& y, float& z) { x = 1.0f - a, y = 1.0f - b, z = 1.0f - c; }

Conversion toRgb(MColor::MColorType model) {
    switch (model) {
    case MColor::kRGB: return same;
    case MColor::kHSV: return hsvToRgb;
    case MColor::kCMY:
    case MColor::kCMYK: return complement;
    }
    return nullptr;
}

Conversion fromRgb(MColor::MColorType model) {
    switch (model) {
    case MColor::kRGB: return same;
    case MColor::kHSV: return rgbToHsv;
    case MColor::kCMY: return complement;
    case MColor::kCMYK: break;
    }
    return nullptr;
}

}  // namespace

bool MColor::get(MColorType model, float& c1, float& c2, float& c3) const {
    const Conversion convert = fromRgb(model);
    if (convert) convert(r, g, b, c1, c2, c3);
    return convert != nullptr;
}

bool MColor::set(MColorType model, float c1, float c2, float c3, float alpha) {
    a = alpha;
    const Conversion convert = toRgb(model);
    if (convert) convert(c1, c2, c3, r, g, b);
    return convert != nullptr;
}
