// The attributes of both node types, row by row as the host registered them, and the values
// a new node holds.
#include "PluginFixture.h"

#include <algorithm>
#include <optional>

namespace {

struct Flags {
    bool keyable, storable, readable, writable, connectable;
};

// Keyable, saved, readable, writable: what a user sets and animates.
const Flags kInput{true, true, true, true, true};
// Read-only and not saved: computed from inputs.
const Flags kOutput{false, false, true, false, true};
// The host's flags for a new attribute, except that it is not saved with the scene.
const Flags kNotSaved{false, false, true, true, true};

const std::optional<double> none;

struct Row {
    const char* longName;
    const char* shortName;
    const char* valueType;             // "matrix", "vectorArray", "float" or "int"
    std::vector<double> defaultValue;  // numeric attributes only
    std::optional<double> min, max;
    Flags flags;
    std::vector<std::string> affects;
};

const std::vector<std::string> kOyOzGeometry{"oyVisualisationPoints", "ozVisualisationPoints", "outputGeometry"};
const std::vector<std::string> kOxOzGeometry{"oxVisualisationPoints", "ozVisualisationPoints", "outputGeometry"};
const std::vector<std::string> kOxOyGeometry{"oxVisualisationPoints", "oyVisualisationPoints", "outputGeometry"};

// hxNoise, in the order the attributes are created.
const std::vector<Row> kDeformerRows = {
    // long name                short   type           default min   max   flags      affects
    {"deformSpace", "dSp", "matrix", {}, none, none, kNotSaved, {"outputGeometry"}},
    {"oxVisualisationPoints", "oxP", "vectorArray", {}, none, none, kNotSaved, {}},
    {"oyVisualisationPoints", "oyP", "vectorArray", {}, none, none, kNotSaved, {}},
    {"ozVisualisationPoints", "ozP", "vectorArray", {}, none, none, kNotSaved, {}},
    {"oxLength", "oxL", "float", {0.0}, none, none, kInput, {"oxVisualisationPoints"}},
    {"oxPointsCount", "xpc", "int", {0}, 5.0, 500., kInput, {"oxVisualisationPoints"}},
    {"oxNoiseOctaves", "xno", "int", {4}, 1.0, 10.0, kInput, kOyOzGeometry},
    {"oxNoiseSeed", "xns", "int", {0}, 0.0, none, kInput, kOyOzGeometry},
    {"oxNoiseFreq", "xnf", "float", {1.0}, none, none, kInput, kOyOzGeometry},
    {"oxNoiseAmp", "xna", "float", {0.0}, none, none, kInput, kOyOzGeometry},
    {"oyLength", "oyL", "float", {0.0}, none, none, kInput, {"oyVisualisationPoints"}},
    {"oyPointsCount", "ypc", "int", {0}, 5.0, 500., kInput, {"oyVisualisationPoints"}},
    {"oyNoiseOctaves", "yno", "int", {4}, 1.0, 10.0, kInput, kOxOzGeometry},
    {"oyNoiseSeed", "yns", "int", {1}, 0.0, none, kInput, kOxOzGeometry},
    {"oyNoiseFreq", "ynf", "float", {1.0}, none, none, kInput, kOxOzGeometry},
    {"oyNoiseAmp", "yna", "float", {0.0}, none, none, kInput, kOxOzGeometry},
    {"ozLength", "ozL", "float", {0.0}, none, none, kInput, {"ozVisualisationPoints"}},
    {"ozPointsCount", "zpc", "int", {0}, 5.0, 500., kInput, {"ozVisualisationPoints"}},
    {"ozNoiseOctaves", "zno", "int", {4}, 1.0, 10.0, kInput, kOxOyGeometry},
    {"ozNoiseSeed", "zns", "int", {2}, 0.0, none, kInput, kOxOyGeometry},
    {"ozNoiseFreq", "znf", "float", {1.0}, none, none, kInput, kOxOyGeometry},
    {"ozNoiseAmp", "zna", "float", {0.0}, none, none, kInput, kOxOyGeometry},
};

// noiseLocator, in the order the attributes are created.
const std::vector<Row> kLocatorRows = {
    // long name           short  type           default min   max   flags    affects
    {"oxCurvePoints", "oxP", "vectorArray", {}, none, none, kInput, {}},
    {"oxCrvLenIn", "xli", "float", {1.0}, none, none, kInput, {"oxCrvLenOut"}},
    {"oxCrvLenOut", "xlo", "float", {0.0}, none, none, kOutput, {}},
    {"oxCrvPtsCountIn", "xci", "int", {30}, 5.0, 500., kInput, {"oxCrvPtsCountOut"}},
    {"oxCrvPtsCountOut", "xco", "int", {0}, none, none, kOutput, {}},
    {"oyCurvePoints", "oyP", "vectorArray", {}, none, none, kInput, {}},
    {"oyCrvLenIn", "yli", "float", {1.0}, none, none, kInput, {"oyCrvLenOut"}},
    {"oyCrvLenOut", "ylo", "float", {0.0}, none, none, kOutput, {}},
    {"oyCrvPtsCountIn", "yci", "int", {30}, 5.0, 500., kInput, {"oyCrvPtsCountOut"}},
    {"oyCrvPtsCountOut", "yco", "int", {0}, none, none, kOutput, {}},
    {"ozCurvePoints", "ozP", "vectorArray", {}, none, none, kInput, {}},
    {"ozCrvLenIn", "zli", "float", {1.0}, none, none, kInput, {"ozCrvLenOut"}},
    {"ozCrvLenOut", "zlo", "float", {0.0}, none, none, kOutput, {}},
    {"ozCrvPtsCountIn", "zci", "int", {30}, 5.0, 500., kInput, {"ozCrvPtsCountOut"}},
    {"ozCrvPtsCountOut", "zco", "int", {0}, none, none, kOutput, {}},
};

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// The plug-in's own attributes of a type, in the order they were added.
std::vector<hx::AttributeInfo> ownAttributes(const std::string& type) {
    std::vector<hx::AttributeInfo> own;
    if (const auto info = hx::Host::instance().nodeType(type))
        for (const hx::AttributeInfo& attribute : info->attributes)
            if (!attribute.inherited) own.push_back(attribute);
    return own;
}

void expectTable(const std::string& type, const std::vector<Row>& rows) {
    const std::vector<hx::AttributeInfo> actual = ownAttributes(type);
    ASSERT_EQ(actual.size(), rows.size()) << type;
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const hx::AttributeInfo& a = actual[i];
        SCOPED_TRACE(type + " attribute " + std::to_string(i + 1) + " \"" + row.longName + "\"");
        EXPECT_EQ(a.longName, row.longName);
        EXPECT_EQ(a.shortName, row.shortName);
        EXPECT_EQ(a.valueType, row.valueType);
        if (a.valueType == "float" || a.valueType == "int") {
            EXPECT_EQ(a.kind, "numeric");
        }
        if (a.valueType == "vectorArray") {
            EXPECT_EQ(a.kind, "typed");
        }
        EXPECT_EQ(a.defaultValue, row.defaultValue);
        EXPECT_EQ(a.min, row.min);
        EXPECT_EQ(a.max, row.max);
        EXPECT_EQ(a.keyable, row.flags.keyable);
        EXPECT_EQ(a.storable, row.flags.storable);
        EXPECT_EQ(a.readable, row.flags.readable);
        EXPECT_EQ(a.writable, row.flags.writable);
        EXPECT_EQ(a.connectable, row.flags.connectable);
        EXPECT_FALSE(a.hidden);
        EXPECT_FALSE(a.array);
        EXPECT_EQ(a.parent, "");
        EXPECT_EQ(sorted(a.affects), sorted(row.affects));
    }
}

}  // namespace

using AttributeTables = PluginTest;

TEST_F(AttributeTables, TheDeformerHasItsTwentyTwoAttributesRowByRow) { expectTable("hxNoise", kDeformerRows); }

TEST_F(AttributeTables, TheLocatorHasItsFifteenAttributesRowByRow) { expectTable("noiseLocator", kLocatorRows); }

TEST_F(AttributeTables, TheDeformerKeepsTheBaseAttributesUnderTheHostsNames) {
    // The accessory set-up and the host's deformer command rely on them.
    std::vector<std::string> inherited;
    const auto type = host().nodeType("hxNoise");
    ASSERT_TRUE(type);
    for (const hx::AttributeInfo& a : type->attributes)
        if (a.inherited) inherited.push_back(a.longName);
    for (const char* name : {"input", "inputGeometry", "outputGeometry", "envelope"})
        EXPECT_NE(std::find(inherited.begin(), inherited.end(), name), inherited.end()) << name;
}

TEST_F(AttributeTables, ANewDeformerHoldsTheDefaultsOfItsInputs) {
    const std::string node = create("hxNoise");
    for (const Row& row : kDeformerRows) {
        if (!row.defaultValue.empty()) {
            EXPECT_EQ(get(node + "." + row.longName), row.defaultValue) << row.longName;
        }
    }
}

TEST_F(AttributeTables, ANewLocatorPassesItsInputDefaultsThroughAndHoldsEmptyCurves) {
    const std::string locator = create("noiseLocator");
    for (const char* axis : {"ox", "oy", "oz"}) {
        const std::string p = locator + "." + axis;
        EXPECT_EQ(get1(p + "CrvLenIn"), 1.0);
        EXPECT_EQ(get1(p + "CrvPtsCountIn"), 30.0);
        // The outputs are created with 0 but evaluate to the inputs.
        EXPECT_EQ(get1(p + "CrvLenOut"), 1.0);
        EXPECT_EQ(get1(p + "CrvPtsCountOut"), 30.0);
        EXPECT_EQ(get(p + "CurvePoints"), std::vector<double>()) << axis;
    }
}
