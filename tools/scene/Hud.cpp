#include "Hud.h"

#include "Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace hx {

std::string hudValueText(const std::vector<double>& values)
{
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%.6g", values[i] == 0.0 ? 0.0 : values[i]); // no "-0"
        text += (i ? ", " : "") + std::string(number);
    }
    return values.size() == 1 ? text : "(" + text + ")";
}

std::vector<HudLine> hudValueLines(const std::vector<HudValue>& values, double maxWidth, double scale)
{
    // Each plug once, at its last entry's value but its first entry's place.
    std::vector<HudValue> unique;
    std::map<std::string, std::size_t> seen;
    for (const HudValue& v : values) {
        const auto [at, inserted] = seen.emplace(v.plug, unique.size());
        if (inserted)
            unique.push_back(v);
        else
            unique[at->second] = v;
    }

    std::vector<HudLine> lines;
    for (const bool keyed : {false, true}) {
        std::vector<std::string> nodes;
        std::map<std::string, std::vector<std::string>> items;
        for (const HudValue& v : unique) {
            if (v.keyed != keyed) continue;
            const std::size_t dot = v.plug.find('.');
            const std::string node = v.plug.substr(0, dot);
            const std::string attribute = dot == std::string::npos ? v.plug : v.plug.substr(dot + 1);
            if (!items.count(node)) nodes.push_back(node);
            items[node].push_back(attribute + " " + hudValueText(v.values));
        }
        for (const std::string& node : nodes) {
            std::string line = node + (keyed ? " (keyed):" : ":");
            bool first = true;
            for (const std::string& item : items[node]) {
                const std::string longer = line + (first ? " " : ", ") + item;
                // With room for the comma that ends a line when the next value wraps.
                if (!first && textWidth(longer + ",", scale) > maxWidth) {
                    lines.push_back({line + ",", keyed});
                    line = "    " + item;
                } else {
                    line = longer;
                }
                first = false;
            }
            lines.push_back({line, keyed});
        }
    }
    return lines;
}

double hudScale(int width, int height)
{
    return std::clamp(std::min(width * 0.75, double(height)) / 300.0, 1.0, 4.0);
}

HudLayout hudLayout(int width, int height)
{
    const double scale = hudScale(width, height);
    return {scale, 4.0 * scale, kLineHeight * scale, 1.25 * scale, 1.25 * kLineHeight * scale};
}

std::vector<HudValue> hudValues(Host& host, const PictureStyle& style)
{
    std::vector<HudValue> values;
    for (const bool keyed : {false, true})
        for (const std::string& plug : keyed ? style.keyedPlugs : style.setPlugs) {
            HudValue value{plug, {}, keyed};
            if (host.getAttr(plug, value.values) && !value.values.empty() && value.values.size() <= 4)
                values.push_back(std::move(value));
        }
    return values;
}

Insets hudInsets(Host& host, const PictureStyle& style, int width, int height)
{
    if (!style.hud) return {};
    const HudLayout layout = hudLayout(width, height);
    const std::size_t lines = hudValueLines(hudValues(host, style), width - 2.0 * layout.margin, layout.scale).size();
    Insets insets;
    insets.top = layout.margin + (style.frame ? layout.frameLine : 0.0) + double(lines) * layout.line;
    insets.bottom = layout.margin + 7.0 * layout.scale;
    return insets;
}

void labelBeside(double endX, double endY, double beforeX, double beforeY, double textWidth, double textHeight,
                 double gap, double& x, double& y)
{
    double dx = endX - beforeX, dy = endY - beforeY;
    const double length = std::hypot(dx, dy);
    if (!(length > 1e-9))
        dx = 1.0, dy = 0.0;
    else
        dx /= length, dy /= length;
    // The label's centre sits past the end, far enough along the curve's direction that the
    // label's box clears the end point by `gap`.
    const double reach = gap + std::abs(dx) * textWidth / 2.0 + std::abs(dy) * textHeight / 2.0;
    x = endX + dx * reach - textWidth / 2.0;
    y = endY + dy * reach - textHeight / 2.0;
}

} // namespace hx
