#include "RecipeToml.h"

#include "RecipeOptions.h"
#include "ToolError.h"
#include "Utf8.h"
#include "ValueParse.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace hx {
namespace {

// `text` as a TOML string: in literal quotes ('...', read as written) when it can be, else in
// basic quotes with escapes, so that no character is lost and no line break gets through.
std::string tomlString(const std::string& text, const std::string& what)
{
    if (!isUtf8(text)) throw UsageError("cannot record " + what + " in a recipe: it is not UTF-8 text");
    const auto isControl = [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f; };
    if (text.find('\'') == std::string::npos && std::none_of(text.begin(), text.end(), isControl))
        return "'" + text + "'";
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\b': quoted += "\\b"; break;
        case '\t': quoted += "\\t"; break;
        case '\n': quoted += "\\n"; break;
        case '\f': quoted += "\\f"; break;
        case '\r': quoted += "\\r"; break;
        default:
            if (isControl(c)) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(static_cast<unsigned char>(c)));
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
}

void writeString(std::ostream& out, const char* name, const std::optional<std::string>& value)
{
    if (value) out << name << " = " << tomlString(*value, name) << "\n";
}

void writeList(std::ostream& out, const char* name, const std::vector<std::string>& values)
{
    // One value a line, lined up under the first.
    for (std::size_t i = 0; i < values.size(); ++i)
        out << (i ? std::string(std::string(name).size() + 4, ' ') : std::string(name) + " = [")
            << tomlString(values[i], name) << (i + 1 < values.size() ? ",\n" : "]\n");
}

std::string deformTable(const Recipe& recipe)
{
    const RecipeArguments a = recipeArguments(recipe);
    std::ostringstream out;
    out << "[deform]\n";
    writeString(out, "input", a.input);
    writeString(out, "output", a.output);
    writeString(out, "render", a.render);
    writeString(out, "cache", a.cache);
    writeString(out, "view", a.view);
    writeString(out, "size", a.size);
    writeString(out, "hud", a.hud);
    writeString(out, "shading", a.shading);
    writeString(out, "frames", a.frames);
    if (a.step) out << "step = " << *a.step << "\n";
    writeString(out, "tangents", a.tangents);
    writeList(out, "set", a.settings);
    writeList(out, "key", a.keys);
    writeString(out, "plugin", a.plugin);
    return out.str();
}

} // namespace

std::string toolVersion()
{
    return std::string("hxNoise ") + HX_VERSION;
}

std::string recipeToml(const Recipe& recipe)
{
    return "# " + toolVersion() + " recipe: hxnoise deform --config FILE runs it again\n" + deformTable(recipe);
}

RecipeArguments readRecipeArguments(std::istream& text, const std::string& source)
{
    RecipeArguments arguments;
    CLI::App app("hxnoise recipe", "hxnoise");
    app.config_formatter(recipeFormat());
    app.allow_config_extras(CLI::config_extras_mode::error);
    addRecipeOptions(*app.add_subcommand("deform"), arguments);
    try {
        app.parse_from_stream(text);
    } catch (const CLI::Error& error) {
        throw UsageError("recipe " + source + ": " + error.what());
    }
    return arguments;
}

RecipeArguments readRecipeFile(const std::string& path)
{
    std::ifstream file(path);
    if (!file) throw ToolError("cannot read the recipe " + path + ": " + std::strerror(errno));
    std::stringstream text;
    text << file.rdbuf();
    if (file.bad()) throw ToolError("cannot read the recipe " + path + ": " + std::strerror(errno));
    return readRecipeArguments(text, path);
}

std::vector<std::string> recipeComment(const Recipe& recipe, std::optional<int> frame)
{
    std::vector<std::string> lines = {toolVersion()};
    std::istringstream table(deformTable(frame ? recipeForFrame(recipe, *frame) : recipe));
    for (std::string line; std::getline(table, line);) lines.push_back(line);
    return lines;
}

} // namespace hx
