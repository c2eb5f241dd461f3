// Panel: the attribute panel of the view window, built from the host's registry of node types,
// never from a list of our own: every writable attribute of a node, as a slider (both limits),
// a field (one limit or none) or a checkbox, within its own limits; compounds (translate,
// localPosition) as one row of fields, compounds of compounds (boundingBox) as rows in rows.
//
// A row that cannot be edited says why: its value comes through a connection (hxNoise1's
// oxLength from noiseLocator1.oxCrvLenOut), from keys, or it is not a number (a matrix, a
// curve's points, an array). The node type's own attributes come first, those it inherits
// from the host's base types after them.
//
// This is the panel's logic, free of any window: which rows, which limits, and what an edit
// sets (editOf), so that it is tested as it is.
#pragma once

#include <engine/Host.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace hx {

// One number of a row.
struct PanelField
{
    enum class Kind { Float, Double, Integer, Boolean };
    std::string plug;  // what an edit sets: "hxNoise1.oxNoiseAmp", "transform1.translateX"
    std::string label; // "X", "Y", "Z" for a compound's children ("" alone)
    Kind kind = Kind::Float;
    // The attribute's own limits, and for small integer types (bool, byte, char, short) what
    // their bytes hold.
    std::optional<double> min;
    std::optional<double> max;
    double defaultValue = 0.0;
    bool angle = false; // rotations, in degrees as the host shows them

    // A slider has both limits; a field has at most one.
    bool isSlider() const { return min.has_value() && max.has_value() && kind != Kind::Boolean; }
};

struct PanelRow
{
    enum class State {
        Editable,
        Driven,     // its value comes through a connection: `note` names the source
        Keyed,      // its value comes from keys
        NotANumber, // a matrix, a vector array, a message, an array of elements: `note` says which
    };
    std::string attribute; // long name
    std::string plug;      // "node.attribute"
    State state = State::Editable;
    std::string note;
    bool inherited = false;
    std::vector<PanelField> fields; // one per number; empty for NotANumber and compounds of compounds
    std::vector<PanelRow> rows;     // a compound of compounds' own rows
};

struct PanelSection
{
    std::string node; // "hxNoise1"
    std::string type; // "hxNoise"
    std::vector<PanelRow> rows;
};

// The panel of `nodes`, in that order. `keyedPlugs` are the plugs of single numbers that keys
// move ("transform1.translateX"): their rows show them as keyed. Nodes the scene lacks are
// left out.
std::vector<PanelSection> buildPanel(const Host& host, const std::vector<std::string>& nodes,
                                     const std::set<std::string>& keyedPlugs = {});

// Every plug of a number the panel shows, in panel order: what the window reads back after
// each evaluation.
std::vector<std::string> panelPlugs(const std::vector<PanelSection>& panel);

// What an edit of `field` to `value` sets: the value within the field's limits, a whole
// number for integer and on/off fields, and its text as a --set of it would be written
// ("hxNoise1.oxNoiseAmp=0.5"), float fields in a float's shortest text.
struct PanelEdit
{
    std::string plug;
    double value = 0.0;
    std::string setting; // "plug=value"
};
PanelEdit editOf(const PanelField& field, double value);

// The field's limits as text: "1..10", "0..", "..5", or "" for none.
std::string limitsText(const PanelField& field);

// How far a drag of one pixel moves a field without both limits: a hundredth of its value's
// size (at least 0.01), a degree for angles, a step every five pixels for integers.
double dragSpeed(const PanelField& field, double value);

} // namespace hx
