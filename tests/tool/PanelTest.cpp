// The view window's panel without a window: built from the host's registry with the real
// plug-in loaded, which attributes it shows and how, within which limits, and what an edit sets.
#include <gtest/gtest.h> // before any header that pulls in X11's macros

#include "DeformScene.h"
#include "Panel.h"
#include "PluginHostTest.h"
#include "ValueParse.h"

#include <cfloat>
#include <cmath>
#include <functional>
#include <map>

using hx::PanelField;
using hx::PanelRow;
using hx::PanelSection;

namespace {

// A mesh with an hxNoise deformer on it, in a fresh host.
class Panel : public hxtest::PluginHostTest
{
protected:
    Panel() { mScene = hx::buildDeformScene(host(), "tri", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {3}, {0, 1, 2}); }
    std::vector<PanelSection> panel(const std::set<std::string>& keyed = {})
    {
        return hx::buildPanel(host(), {mScene.deformer, mScene.locatorTransform, mScene.locator}, keyed);
    }

    hx::DeformScene mScene;
};

const PanelRow* findRow(const std::vector<PanelRow>& rows, const std::string& attribute)
{
    for (const PanelRow& row : rows) {
        if (row.attribute == attribute) return &row;
        if (const PanelRow* inner = findRow(row.rows, attribute)) return inner;
    }
    return nullptr;
}

const PanelRow& row(const PanelSection& section, const std::string& attribute)
{
    const PanelRow* found = findRow(section.rows, attribute);
    if (!found) throw std::runtime_error("no row " + attribute + " on " + section.node);
    return *found;
}

} // namespace

TEST_F(Panel, ShowsEveryWritableAttributeOfTheThreeNodesOwnFirstFromTheRegistry)
{
    const std::vector<PanelSection> sections = panel();
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].node, "hxNoise1");
    EXPECT_EQ(sections[0].type, "hxNoise");
    EXPECT_EQ(sections[1].node, "transform1");
    EXPECT_EQ(sections[2].node, "noiseLocator1");
    for (const PanelSection& section : sections) {
        SCOPED_TRACE(section.node);
        const hx::NodeTypeInfo type = *host().nodeType(section.type);
        // The rows are exactly the writable, visible attributes that are not a compound's
        // children, the type's own before the inherited, each in the registry's order.
        std::vector<std::string> expected;
        for (const bool inherited : {false, true})
            for (const hx::AttributeInfo& a : type.attributes)
                if (a.inherited == inherited && a.writable && !a.hidden && a.parent.empty())
                    expected.push_back(a.longName);
        std::vector<std::string> shown;
        for (const PanelRow& r : section.rows) shown.push_back(r.attribute);
        EXPECT_EQ(shown, expected);

        // Every field is the registry's: its limits and its default.
        std::function<void(const std::vector<PanelRow>&)> check = [&](const std::vector<PanelRow>& rows) {
            for (const PanelRow& r : rows) {
                check(r.rows);
                for (const PanelField& f : r.fields) {
                    const std::string attribute = f.plug.substr(f.plug.find('.') + 1);
                    const auto info = std::find_if(type.attributes.begin(), type.attributes.end(),
                                                   [&](const hx::AttributeInfo& a) { return a.longName == attribute; });
                    ASSERT_NE(info, type.attributes.end()) << f.plug;
                    EXPECT_EQ(f.defaultValue, info->defaultValue.at(0)) << f.plug;
                    if (info->min) {
                        EXPECT_EQ(f.min, info->min) << f.plug;
                    }
                    if (info->max) {
                        EXPECT_EQ(f.max, info->max) << f.plug;
                    }
                }
            }
        };
        check(section.rows);
    }

    // What a user of the noise looks for, as the registry has it.
    const PanelField octaves = row(sections[0], "oxNoiseOctaves").fields.at(0);
    EXPECT_EQ(octaves.plug, "hxNoise1.oxNoiseOctaves");
    EXPECT_EQ(octaves.kind, PanelField::Kind::Integer);
    EXPECT_EQ(octaves.min, 1.0);
    EXPECT_EQ(octaves.max, 10.0);
    EXPECT_TRUE(octaves.isSlider());
    EXPECT_EQ(octaves.defaultValue, 4.0);
    const PanelField seed = row(sections[0], "oyNoiseSeed").fields.at(0);
    EXPECT_EQ(seed.min, 0.0);
    EXPECT_FALSE(seed.max);
    EXPECT_FALSE(seed.isSlider()); // a field: one limit only
    EXPECT_EQ(seed.defaultValue, 1.0);
    const PanelField amplitude = row(sections[0], "ozNoiseAmp").fields.at(0);
    EXPECT_EQ(amplitude.kind, PanelField::Kind::Float);
    EXPECT_FALSE(amplitude.min || amplitude.max);
    const PanelField envelope = row(sections[0], "envelope").fields.at(0);
    EXPECT_TRUE(row(sections[0], "envelope").inherited);
    EXPECT_TRUE(envelope.isSlider());
    const PanelField count = row(sections[2], "oyCrvPtsCountIn").fields.at(0);
    EXPECT_EQ(count.min, 5.0);
    EXPECT_EQ(count.max, 500.0);
    EXPECT_EQ(count.defaultValue, 30.0);
    EXPECT_EQ(row(sections[2], "oxCrvLenIn").fields.at(0).defaultValue, 1.0);
}

TEST_F(Panel, CompoundsAreRowsOfTheirChildren)
{
    const std::vector<PanelSection> sections = panel();
    const PanelRow& translate = row(sections[1], "translate");
    ASSERT_EQ(translate.fields.size(), 3u);
    EXPECT_EQ(translate.fields[0].plug, "transform1.translateX");
    EXPECT_EQ(translate.fields[2].label, "Z");
    EXPECT_EQ(translate.fields[1].kind, PanelField::Kind::Double);
    EXPECT_EQ(row(sections[1], "scale").fields[1].defaultValue, 1.0);
    EXPECT_TRUE(row(sections[1], "rotate").fields[0].angle);
    EXPECT_EQ(row(sections[1], "rotateOrder").fields.at(0).max, 5.0);

    // A compound of compounds: rows in a row.
    const PanelRow& box = row(sections[2], "boundingBox");
    EXPECT_TRUE(box.fields.empty());
    ASSERT_EQ(box.rows.size(), 3u);
    EXPECT_EQ(box.rows[0].attribute, "boundingBoxMin");
    EXPECT_EQ(box.rows[0].fields.at(1).plug, "noiseLocator1.boundingBoxMinY");

    // Every number the panel shows can be read from the scene.
    for (const std::string& plug : hx::panelPlugs(sections)) {
        std::vector<double> values;
        EXPECT_TRUE(host().getAttr(plug, values)) << plug;
        EXPECT_EQ(values.size(), 1u) << plug;
    }
}

TEST_F(Panel, RowsThatCannotBeEditedSayWhy)
{
    const std::vector<PanelSection> sections = panel({"transform1.translateY", "hxNoise1.oxNoiseAmp"});
    const PanelRow& length = row(sections[0], "oxLength");
    EXPECT_EQ(length.state, PanelRow::State::Driven);
    EXPECT_EQ(length.note, "from noiseLocator1.oxCrvLenOut");
    EXPECT_EQ(row(sections[0], "deformSpace").note, "from transform1.matrix");
    EXPECT_EQ(row(sections[2], "ozCurvePoints").note, "from hxNoise1.ozVisualisationPoints");

    EXPECT_EQ(row(sections[0], "oxVisualisationPoints").state, PanelRow::State::NotANumber);
    EXPECT_EQ(row(sections[0], "oxVisualisationPoints").note, "vectorArray");
    EXPECT_EQ(row(sections[0], "weightList").state, PanelRow::State::NotANumber);
    EXPECT_EQ(row(sections[0], "weightList").note.rfind("an array of elements", 0), 0u);

    // A keyed number makes its whole row keyed: the keys would take back any edit.
    EXPECT_EQ(row(sections[1], "translate").state, PanelRow::State::Keyed);
    EXPECT_EQ(row(sections[0], "oxNoiseAmp").state, PanelRow::State::Keyed);
    EXPECT_EQ(row(sections[0], "oyNoiseAmp").state, PanelRow::State::Editable);
    EXPECT_EQ(row(sections[1], "rotate").state, PanelRow::State::Editable);
}

TEST_F(Panel, AnEditSetsAValueWithinTheFieldsLimitsAsASettingWouldWriteIt)
{
    const std::vector<PanelSection> sections = panel();
    const PanelField& octaves = row(sections[0], "oxNoiseOctaves").fields.at(0);
    hx::PanelEdit edit = hx::editOf(octaves, 12.6);
    EXPECT_EQ(edit.plug, "hxNoise1.oxNoiseOctaves");
    EXPECT_EQ(edit.value, 10.0); // the maximum
    EXPECT_EQ(edit.setting, "hxNoise1.oxNoiseOctaves=10");
    EXPECT_EQ(hx::editOf(octaves, 3.5).value, 4.0); // whole numbers, halves away from zero
    EXPECT_EQ(hx::editOf(octaves, -2).value, 1.0);
    EXPECT_EQ(hx::editOf(octaves, std::nan("")).value, 4.0); // nothing sensible typed: the default

    // A float attribute: the float it will hold, written as that float's shortest text.
    const PanelField& amplitude = row(sections[0], "oyNoiseAmp").fields.at(0);
    edit = hx::editOf(amplitude, 0.1);
    EXPECT_EQ(edit.value, double(0.1f));
    EXPECT_EQ(edit.setting, "hxNoise1.oyNoiseAmp=0.1");
    EXPECT_EQ(hx::editOf(amplitude, 1e39).value, double(FLT_MAX));

    // A double attribute keeps every digit; a compound's child is set by itself.
    const PanelField& tx = row(sections[1], "translate").fields.at(0);
    edit = hx::editOf(tx, 0.30000000000000004);
    EXPECT_EQ(edit.setting, "transform1.translateX=0.30000000000000004");

    const PanelField& caching = row(sections[0], "caching").fields.at(0);
    EXPECT_EQ(caching.kind, PanelField::Kind::Boolean);
    EXPECT_EQ(hx::editOf(caching, 0.7).setting, "hxNoise1.caching=1");
    const PanelField& historic = row(sections[0], "isHistoricallyInteresting").fields.at(0);
    EXPECT_EQ(hx::editOf(historic, 300).value, 255.0); // a byte holds no more

    // What an edit says is what the scene then holds, and reads back as a --set of it.
    for (const hx::PanelEdit& e : {hx::editOf(octaves, 7), hx::editOf(amplitude, 0.1), hx::editOf(tx, -2.5)}) {
        ASSERT_TRUE(host().setAttr(e.plug, e.value)) << e.plug;
        std::vector<double> held;
        ASSERT_TRUE(host().getAttr(e.plug, held));
        EXPECT_EQ(held.at(0), e.value) << e.plug;
        // The setting, as a recipe replays it, makes the attribute hold the same value.
        const hx::AttributeSetting setting = hx::parseSetting(e.setting);
        EXPECT_EQ(setting.node + "." + setting.attribute, e.plug);
        ASSERT_TRUE(host().setAttr(e.plug, setting.numbers));
        ASSERT_TRUE(host().getAttr(e.plug, held));
        EXPECT_EQ(held.at(0), e.value) << e.setting;
    }
}

TEST_F(Panel, LimitsAndDragsForFieldsWithoutBothLimits)
{
    const std::vector<PanelSection> sections = panel();
    EXPECT_EQ(hx::limitsText(row(sections[0], "oxNoiseOctaves").fields.at(0)), "1..10");
    EXPECT_EQ(hx::limitsText(row(sections[0], "oxNoiseSeed").fields.at(0)), "0..");
    EXPECT_EQ(hx::limitsText(row(sections[0], "oxNoiseFreq").fields.at(0)), "");
    const PanelField& frequency = row(sections[0], "oxNoiseFreq").fields.at(0);
    EXPECT_DOUBLE_EQ(hx::dragSpeed(frequency, 50.0), 0.5);
    EXPECT_DOUBLE_EQ(hx::dragSpeed(frequency, 0.0), 0.01);
    EXPECT_DOUBLE_EQ(hx::dragSpeed(row(sections[1], "rotate").fields.at(0), 400.0), 1.0);
    EXPECT_DOUBLE_EQ(hx::dragSpeed(row(sections[0], "oxNoiseSeed").fields.at(0), 1e6), 0.2);
}

TEST_F(Panel, NodesTheSceneLacksAreLeftOut)
{
    EXPECT_EQ(hx::buildPanel(host(), {"hxNoise2", "transform1"}).size(), 1u);
    EXPECT_TRUE(hx::buildPanel(host(), {}).empty());
}
