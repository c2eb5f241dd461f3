#include "RecipeOptions.h"

#include "NumberText.h"
#include "PictureOptions.h"
#include "Utf8.h"

#include <toml++/toml.h>
#include <CLI/CLI.hpp>

#include <cmath>
#include <cstring>
#include <sstream>

namespace hx {
namespace {

using Text = std::optional<std::string>;

void addText(CLI::App& command, const std::string& names, Text& into, const std::string& help)
{
    command.add_option_function<std::string>(
        names, [&into](const std::string& value) { into = value; }, help);
}

void addList(CLI::App& command, const std::string& names, std::vector<std::string>& into, const std::string& help)
{
    command
        .add_option_function<std::vector<std::string>>(
            names, [&into](const std::vector<std::string>& values) { into = values; }, help)
        ->allow_extra_args(false); // --set a.b=1 head.obj: the mesh is not a second setting
}

// toml++ 3.3 asks whether a character is whitespace with a function that runs into undefined
// behaviour (__builtin_unreachable) for most characters of U+00A1..U+049F, U+2C5E..U+3057 and
// U+FB26..U+FEFE: an e-acute outside quotes, or after a backslash, was enough. It answers every
// character past U+FEFF safely, so the reader hands toml++ the text with every character of
// U+0080..U+FFFF moved to plane 15 (U+F0080..U+FFFFF), and moves them back in what it read.
// Planes 15 and 16 are private use, which no recipe needs: they are refused, escapes of them
// (\U000F...., \U0010....) too.
constexpr unsigned long kMoved = 0xF0000;

// `text` with U+0080..U+FFFF moved to plane 15. Malformed UTF-8 passes as it is, for toml++ to
// refuse.
std::string movedOutOfReach(const std::string& text)
{
    std::string moved;
    int line = 1;
    const auto refuse = [&line]() {
        throw CLI::ConfigError("line " + std::to_string(line) +
                               ": a private-use character of planes 15 and 16, which recipes do not read");
    };
    for (std::size_t i = 0; i < text.size();) {
        unsigned long code = 0;
        const std::size_t length = decodeUtf8(text, i, code);
        if (length == 0) {
            moved += text[i++];
            continue;
        }
        if (code == '\n') ++line;
        if (code >= kMoved && code <= 0x10ffff) refuse();
        if (code == '\\' && (text.compare(i, 6, "\\U000F") == 0 || text.compare(i, 6, "\\U000f") == 0 ||
                             text.compare(i, 6, "\\U0010") == 0))
            refuse();
        if (code >= 0x80 && code <= 0xffff)
            appendUtf8(moved, code + kMoved);
        else
            moved.append(text, i, length);
        i += length;
    }
    return moved;
}

std::string movedBack(const std::string& text)
{
    std::string back;
    for (std::size_t i = 0; i < text.size();) {
        unsigned long code = 0;
        std::size_t length = decodeUtf8(text, i, code);
        if (length == 0) { // toml++ gives UTF-8 only; kept as it is all the same
            back += text[i++];
            continue;
        }
        if (code >= kMoved + 0x80 && code <= kMoved + 0xffff)
            appendUtf8(back, code - kMoved);
        else
            back.append(text, i, length);
        i += length;
    }
    return back;
}

// toml++ 3.3 reads a table header's first key without looking at it first: it assumes a bare-key
// character or a quote there, and a header such as "[!x]" or "[ é ]" breaks that assumption,
// which is an assertion failure in a debug build and undefined behaviour in a release one.
// So the headers are looked at here first, and a header whose name cannot start a key is
// refused with its line and column, as toml++ would refuse it. Headers are only where
// a statement starts: not in strings, comments, or values that go on over lines (arrays).
void checkTableHeaders(const std::string& text)
{
    enum class In { Statement, Value, BasicString, LiteralString, MultiBasic, MultiLiteral, Comment };
    In in = In::Statement, outer = In::Statement; // outer: where a string or comment returns to
    int brackets = 0;                             // arrays and inline tables open in a value
    int line = 1, column = 0;
    const auto isKeyStart = [](unsigned long c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
               c == '"' || c == '\'' || c == ']';
    };
    const auto at = [&](std::size_t i, const char* what) { return text.compare(i, std::strlen(what), what) == 0; };
    bool statementStart = true;
    for (std::size_t i = 0; i < text.size();) {
        unsigned long c = 0;
        std::size_t length = decodeUtf8(text, i, c);
        if (length == 0) {
            c = static_cast<unsigned char>(text[i]);
            length = 1;
        }
        ++column;
        if (c == '\n') {
            ++line;
            column = 0;
        }
        switch (in) {
        case In::Comment:
            if (c == '\n') in = outer;
            break;
        case In::BasicString:
            if (c == '\\')
                length += i + length < text.size() ? 1 : 0, ++column;
            else if (c == '"' || c == '\n')
                in = outer;
            break;
        case In::LiteralString:
            if (c == '\'' || c == '\n') in = outer;
            break;
        case In::MultiBasic:
            if (c == '\\')
                length += i + length < text.size() && text[i + length] != '\n' ? 1 : 0, ++column;
            else if (at(i, "\"\"\""))
                length = 3, column += 2, in = outer;
            break;
        case In::MultiLiteral:
            if (at(i, "'''")) length = 3, column += 2, in = outer;
            break;
        case In::Statement:
        case In::Value:
            if (c == '#') {
                outer = in;
                in = In::Comment;
            } else if (c == '"' || c == '\'') {
                outer = in;
                const bool multi = at(i, c == '"' ? "\"\"\"" : "'''");
                in = c == '"' ? (multi ? In::MultiBasic : In::BasicString)
                              : (multi ? In::MultiLiteral : In::LiteralString);
                if (multi) length = 3, column += 2;
            } else if (in == In::Statement && statementStart && c == '[') {
                // A header: "[name]" or "[[name]]", spaces and tabs allowed inside the brackets.
                std::size_t j = i + 1;
                int headerColumn = column + 1;
                if (j < text.size() && text[j] == '[') ++j, ++headerColumn;
                while (j < text.size() && (text[j] == ' ' || text[j] == '\t')) ++j, ++headerColumn;
                unsigned long first = 0;
                if (j < text.size() && decodeUtf8(text, j, first) == 0) first = static_cast<unsigned char>(text[j]);
                if (j < text.size() && !isKeyStart(first))
                    throw CLI::ConfigError("line " + std::to_string(line) + ", column " + std::to_string(headerColumn) +
                                           ": a table name starts with a letter, a digit, _, - or a quote");
            } else if (in == In::Statement && c == '=') {
                in = In::Value;
            } else if (in == In::Value && (c == '[' || c == '{')) {
                ++brackets;
            } else if (in == In::Value && (c == ']' || c == '}') && brackets > 0) {
                --brackets;
            }
            break;
        }
        // A line break outside strings and open brackets ends the statement.
        if (c == '\n' && (in == In::Statement || in == In::Value) && brackets == 0) in = In::Statement;
        if (c == '\n' && in == In::Statement)
            statementStart = true;
        else if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            statementStart = false;
        i += length;
    }
}

// A TOML value as the option texts CLI11 takes: strings as they are, numbers in their exact
// text, an array's elements in order.
void appendInputs(const toml::node& value, const std::string& key, std::vector<std::string>& inputs)
{
    if (const auto* text = value.as_string()) {
        inputs.push_back(movedBack(text->get()));
    } else if (const auto* integer = value.as_integer()) {
        inputs.push_back(std::to_string(integer->get()));
    } else if (const auto* number = value.as_floating_point()) {
        const double v = number->get();
        inputs.push_back(std::isfinite(v) ? formatNumber(v) : std::isnan(v) ? "nan" : v > 0 ? "inf" : "-inf");
    } else if (const auto* flag = value.as_boolean()) {
        inputs.push_back(flag->get() ? "true" : "false");
    } else if (const auto* array = value.as_array()) {
        for (const toml::node& element : *array) {
            if (element.is_array() || element.is_table())
                throw CLI::ConfigError(key + " holds a list or table in a list; an option takes values");
            appendInputs(element, key, inputs);
        }
    } else {
        throw CLI::ConfigError(key + " holds a date or time; an option takes text or numbers");
    }
}

void appendItems(const toml::table& table, std::vector<std::string>& parents, std::vector<CLI::ConfigItem>& items)
{
    for (const auto& [key, value] : table) {
        const std::string name = movedBack(std::string(key.str()));
        if (const auto* subtable = value.as_table()) {
            parents.push_back(name);
            appendItems(*subtable, parents, items);
            parents.pop_back();
            continue;
        }
        CLI::ConfigItem item;
        item.parents = parents;
        item.name = name;
        appendInputs(value, item.fullname(), item.inputs);
        items.push_back(std::move(item));
    }
}

// CLI11's config reading, with TOML read by toml++: CLI11 2.1's own reader cuts a value at a
// # even inside quotes (every output name with a frame number), reads no escapes, splits
// "['a' , 'b']" into three values and keeps only the first of a key given twice.
class RecipeFormat : public CLI::ConfigBase
{
public:
    std::vector<CLI::ConfigItem> from_config(std::istream& input) const override
    {
        std::ostringstream text;
        text << input.rdbuf();
        toml::table root;
        const std::string moved = movedOutOfReach(text.str());
        checkTableHeaders(moved);
        try {
            root = toml::parse(moved);
        } catch (const toml::parse_error& error) {
            // The description may quote the text it saw, which must read as the file has it.
            const toml::source_position where = error.source().begin;
            throw CLI::ConfigError("line " + std::to_string(where.line) + ", column " + std::to_string(where.column) +
                                   ": " + movedBack(std::string(error.description())));
        }
        std::vector<CLI::ConfigItem> items;
        std::vector<std::string> parents;
        appendItems(root, parents, items);
        return items;
    }
};

} // namespace

void addRecipeOptions(CLI::App& command, RecipeArguments& into)
{
    addText(command, "input", into.input,
            "The mesh to deform: OBJ, PLY, STL, glTF (.gltf, .glb), FBX or Collada (.dae) by its extension, or - "
            "for OBJ on standard input, e.g. head.obj; default: the bundled example mesh.");
    addText(command, "-o,--output", into.output,
            "Write the deformed mesh here, in the format its extension names (.obj, .ply, .stl, .gltf, .glb; - "
            "for OBJ on standard output), e.g. -o out.obj; replaced whole or not at all. With --frames, a run "
            "of # is the frame number (-o shot.####.obj writes shot.1001.obj ..); a name without # gets _0001 .. "
            "before its extension. With --cache, a name without # is written once, undeformed: the cache's rest "
            "shape.");
    addList(command, "--set", into.settings,
            "Set an attribute before evaluating, in the order given; long or short names; a compound takes a "
            "comma list. e.g. --set hxNoise1.oyNoiseAmp=0.5 --set transform1.translate=1,2,3 --set transform1.tx=1");
    addText(command, "--render", into.render,
            "Render the viewport to this PNG file, e.g. --render view.png; with --frames, numbered as -o is.");
    addText(command, "--cache", into.cache,
            "Write every frame's points into one point cache, PC2 or MDD by the extension, e.g. --cache "
            "shot.pc2; it records the run's first frame and step, and appears with the last frame.");
    addText(command, "--view", into.view,
            "Camera for --render: persp (frames the mesh and the locator), top, front or side, e.g. --view top");
    addText(command, "--size", into.size,
            "Image size WIDTHxHEIGHT for --render, e.g. --size 800x600 (default 640x480)");
    addPictureOptions(command, into.hud, into.shading);
    addText(command, "--frames", into.frames,
            "Evaluate a sequence: N for frames 1..N, or FIRST-LAST for a shot's frames, e.g. --frames 1001-1100; "
            "each frame writes its own files.");
    addText(command, "--step", into.step, "With --frames: every S-th frame from the first, e.g. --step 2");
    addList(command, "--key", into.keys,
            "With --frames: an attribute's value at a frame, compounds too, e.g. --key "
            "transform1.translate@1001=0,0,0 --key transform1.translate@1100=0,0,5; held before the first key "
            "and after the last, rounded for integers. NODE.ATTR=FROM:TO goes from FROM on the first frame to TO "
            "on the last.");
    addText(command, "--tangents", into.tangents,
            "Between keys: linear (the default), or smooth, a curve that eases through the keys and never "
            "overshoots them, e.g. --tangents smooth");
    addText(command, "--plugin", into.plugin,
            "The plug-in to load, e.g. --plugin build/src/hxNoise.so (default: the installed "
            "lib/hxnoise/plug-ins/hxNoise.so, else MAYA_PLUG_IN_PATH; a bare name such as hxNoise is searched in "
            "MAYA_PLUG_IN_PATH, then there)");
}

void addConfigOption(CLI::App& command, std::optional<std::string>& into)
{
    addText(command, "--config", into,
            "Read options from a recipe file (TOML, as --save-config writes it); the command line's options are "
            "laid on top: single options replace the file's, --set and --key come after its own. e.g. --config "
            "shot.toml --frames 1026-1050");
}

std::shared_ptr<CLI::Config> recipeFormat()
{
    return std::make_shared<RecipeFormat>();
}

} // namespace hx
