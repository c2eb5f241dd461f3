#include "PictureOptions.h"

#include "Suggest.h"
#include "ValueParse.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <vector>

namespace hx {
namespace {

std::string oneOf(const std::string& option, const std::string& text, const std::vector<std::string>& values)
{
    if (std::find(values.begin(), values.end(), text) != values.end()) return text;
    std::string list;
    for (std::size_t i = 0; i < values.size(); ++i)
        list += (i == 0 ? "" : i + 1 == values.size() ? " or " : ", ") + values[i];
    throw UsageError(option + " '" + text + "' is not " + list + didYouMean(closestNames(text, values)));
}

} // namespace

void addPictureOptions(CLI::App& command, std::optional<std::string>& hud, std::optional<std::string>& shading)
{
    command.add_option_function<std::string>(
        "--hud", [&hud](const std::string& value) { hud = value; },
        "The heads-up display over the picture: the frame, the values set and keyed, which curve shows which "
        "axis, the grid's spacing; on (the default) or off, e.g. --hud off");
    command.add_option_function<std::string>(
        "--shading", [&shading](const std::string& value) { shading = value; },
        "How the mesh is drawn: smooth (lit surfaces), wire (edges), both (edges over surfaces), or auto (the "
        "default: both, unless the edges would be under 4 pixels apart), e.g. --shading smooth");
}

bool checkHud(const std::string& text)
{
    return oneOf("--hud", text, {"on", "off"}) == "on";
}

std::string checkShading(const std::string& text)
{
    return oneOf("--shading", text, {"auto", "smooth", "wire", "both"});
}

} // namespace hx
