#include "KeyCurve.h"

#include "Suggest.h"
#include "ValueParse.h"

#include <algorithm>
#include <cmath>

namespace hx {
namespace {

// `value` kept between the keys `a` and `b`: it can stray by a rounding, or overflow for values
// near the limit of a double, where NaN gives way to `fallback` (which is between them).
double within(double value, double a, double b, double fallback)
{
    if (std::isnan(value)) value = fallback;
    return std::clamp(value, std::min(a, b), std::max(a, b));
}

} // namespace

Tangents parseTangents(const std::string& text)
{
    if (text == "linear") return Tangents::Linear;
    if (text == "smooth") return Tangents::Smooth;
    throw UsageError("--tangents '" + text + "' is not linear or smooth" +
                     didYouMean(closestNames(text, {"linear", "smooth"})));
}

const char* tangentsName(Tangents tangents)
{
    return tangents == Tangents::Smooth ? "smooth" : "linear";
}

bool KeyCurve::addKey(int frame, double value)
{
    const auto at =
        std::lower_bound(mKeys.begin(), mKeys.end(), frame, [](const Point& p, int f) { return p.frame < f; });
    if (at != mKeys.end() && at->frame == frame) return false;
    const std::size_t index = static_cast<std::size_t>(at - mKeys.begin());
    mKeys.insert(at, Point{frame, value, 0.0});
    // A key's slope depends on its neighbours only.
    for (std::size_t i = index > 0 ? index - 1 : 0; i <= index + 1 && i < mKeys.size(); ++i) updateSlope(i);
    return true;
}

void KeyCurve::updateSlope(std::size_t i)
{
    Point& p = mKeys[i];
    p.slope = 0.0; // the ends, and every turn or plateau, are flat
    if (i == 0 || i + 1 == mKeys.size()) return;
    const Point& before = mKeys[i - 1];
    const Point& after = mKeys[i + 1];
    const double h0 = double(p.frame) - double(before.frame);
    const double h1 = double(after.frame) - double(p.frame);
    const double d0 = (p.value - before.value) / h0;
    const double d1 = (after.value - p.value) / h1;
    if (!((d0 > 0 && d1 > 0) || (d0 < 0 && d1 < 0))) return;
    // Weighted harmonic mean: within 3 times the smaller secant, which keeps each cubic monotone.
    const double w0 = 2.0 * h1 + h0;
    const double w1 = h1 + 2.0 * h0;
    p.slope = (w0 + w1) / (w0 / d0 + w1 / d1);
}

double KeyCurve::valueAt(double time) const
{
    if (mKeys.empty()) return 0.0;
    if (!(time > mKeys.front().frame)) return mKeys.front().value; // NaN too
    if (time >= mKeys.back().frame) return mKeys.back().value;
    const auto next =
        std::upper_bound(mKeys.begin(), mKeys.end(), time, [](double t, const Point& p) { return t < p.frame; });
    const Point& b = *next;
    const Point& a = *(next - 1);
    if (time == a.frame) return a.value;

    const double h = double(b.frame) - double(a.frame);
    const double t = (time - a.frame) / h;
    // (1 - t) a + t b stays finite for any finite a and b, where a + t (b - a) may not.
    const double linear = within((1.0 - t) * a.value + t * b.value, a.value, b.value, a.value);
    if (mTangents == Tangents::Linear) return linear;

    const double s = 1.0 - t;
    const double h00 = (1.0 + 2.0 * t) * s * s;
    const double h10 = t * s * s;
    const double h01 = t * t * (3.0 - 2.0 * t);
    const double h11 = -t * t * s;
    const double cubic = h00 * a.value + h10 * h * a.slope + h01 * b.value + h11 * h * b.slope;
    return within(cubic, a.value, b.value, linear);
}

} // namespace hx
