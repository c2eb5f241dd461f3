// Plug-ins written as a host user writes them, in the SDK's sample style: a twist deformer
// that reads the envelope and painted weights, an offset deformer whose accessory is a
// built-in locator, a node with a compound and a colour driven by time1.outTime, and a
// locator that draws with the view's colour and text. Each test works out the values on
// its own and compares them with what the plug-in produced.
#include "HostFixture.h"

#include <GlRecorder.h>
#include <maya/M3dView.h>  // after gtest: its X11 headers define None, Bool, ...
#include <maya/MFnDependencyNode.h>
#include <maya/MPlug.h>
#include <maya/MPxDeformerNode.h>

#include <cmath>
#include <map>

using hx::gl::Call;

namespace {

const double kPi = std::acos(-1.0);

// Points at several heights and off the axis, as x, y, z each.
const std::vector<double> kColumn = {1, 0, 0, 1, 1, 0, 0, 2, 1, -2, 3, 0.5, 0.25, -1, -1};

std::vector<double> expectNear(const std::vector<double>& actual, const std::vector<double>& expected) {
    EXPECT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size() && i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-12) << "coordinate " << i;
    return actual;
}

}  // namespace

// A mesh of loose points under the transform "column", ready for a deformer.
class DeformerPlugin : public HostTest {
protected:
    void makeColumn() {
        ASSERT_TRUE(host().createNode("transform", "column"));
        ASSERT_TRUE(host().createNode("mesh", "columnShape", "column"));
        ASSERT_TRUE(host().setMesh("columnShape", kColumn, {}, {}));
    }
    std::vector<double> points() {
        std::vector<double> points;
        hx::Result result = host().meshPoints("columnShape", points);
        EXPECT_TRUE(result) << result.error;
        EXPECT_TRUE(result.warnings.empty()) << result.warnings[0];
        return points;
    }
};

using TwistDeformer = DeformerPlugin;

// Each point turned about y by envelope * weight * angle * height.
std::vector<double> twisted(double envelope, double anglePerUnit, const std::map<int, double>& weights) {
    std::vector<double> moved = kColumn;
    for (size_t i = 0; i < moved.size(); i += 3) {
        const auto painted = weights.find(static_cast<int>(i / 3));
        const double weight = painted == weights.end() ? 1.0 : painted->second;
        const double turn = envelope * weight * anglePerUnit * kColumn[i + 1];
        moved[i] = kColumn[i] * std::cos(turn) - kColumn[i + 2] * std::sin(turn);
        moved[i + 2] = kColumn[i] * std::sin(turn) + kColumn[i + 2] * std::cos(turn);
    }
    return moved;
}

TEST_F(TwistDeformer, TurnsEachPointByItsHeightTheEnvelopeAndItsPaintedWeight) {
    load("TwistDeformer");
    makeColumn();
    ASSERT_TRUE(host().deformer("twistDeformer", "column")) << host().lastError();
    EXPECT_EQ(points(), kColumn) << "no twist yet";

    ASSERT_TRUE(host().setAttr("twistDeformer1.angle", 90));  // degrees per unit of height
    expectNear(points(), twisted(1.0, kPi / 2, {}));

    ASSERT_TRUE(host().setAttr("twistDeformer1.envelope", 0.5));
    ASSERT_TRUE(host().setAttr("twistDeformer1.weightList[0].weights[1]", 0.25));
    ASSERT_TRUE(host().setAttr("twistDeformer1.weightList[0].weights[3]", 0));
    expectNear(points(), twisted(0.5, kPi / 2, {{1, 0.25}, {3, 0.0}}));

    // Weights belong to one geometry: those of another leave this one as it is.
    ASSERT_TRUE(host().setAttr("twistDeformer1.weightList[1].weights[0]", 0));
    expectNear(points(), twisted(0.5, kPi / 2, {{1, 0.25}, {3, 0.0}}));

    ASSERT_TRUE(host().setAttr("twistDeformer1.envelope", 0));
    expectNear(points(), kColumn);
}

TEST_F(TwistDeformer, PaintedWeightsArePlugsOfTheirOwn) {
    load("TwistDeformer");
    makeColumn();
    ASSERT_TRUE(host().deformer("twistDeformer", "column"));
    ASSERT_TRUE(host().setAttr("twistDeformer1.wl[0].w[4]", 0.75)) << "short names";
    EXPECT_EQ(get1("twistDeformer1.weightList[0].weights[4]"), 0.75);
    EXPECT_EQ(get1("twistDeformer1.weightList[0].weights[2]"), 1.0) << "a weight never painted is full";

    hx::Result result = host().setAttr("twistDeformer1.weightList.weights[4]", 0.5);
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("needs an element index, as in weightList[0]"), std::string::npos) << result.error;
    result = host().setAttr("twistDeformer1.weightList[0].weights[4]", 1.5);
    EXPECT_TRUE(result) << "weights have no limits of their own";

    MFnDependencyNode fn(host().object("twistDeformer1"));
    MPlug weight = fn.findPlug("weightList").elementByLogicalIndex(0).child(MPxDeformerNode::weights);
    weight = weight.elementByLogicalIndex(4);
    EXPECT_EQ(std::string(weight.name().asChar()), "twistDeformer1.weightList[0].weights[4]");
    EXPECT_EQ(weight.asFloat(), 1.5f);
}

using OffsetDeformer = DeformerPlugin;

TEST_F(OffsetDeformer, ItsAccessoryIsABuiltInLocatorWhoseMatrixSteersTheOffset) {
    load("OffsetDeformer");
    makeColumn();
    std::string deformer;
    ASSERT_TRUE(host().deformer("offsetDeformer", "column", &deformer)) << host().lastError();
    EXPECT_EQ(deformer, "offsetDeformer1");
    EXPECT_EQ(host().typeOf("locator1"), "locator");
    EXPECT_EQ(host().parentOf("locator1"), "transform1");
    EXPECT_EQ(host().sourceOf("offsetDeformer1.offsetMatrix"), "transform1.matrix");

    // By default one unit along y.
    std::vector<double> expected = kColumn;
    for (size_t i = 1; i < expected.size(); i += 3) expected[i] += 1.0;
    expectNear(points(), expected);

    // Turning the locator a quarter about z points its y axis along -x; moving it changes
    // nothing, the offset is a direction; scaling it lengthens the offset.
    ASSERT_TRUE(host().setAttr("transform1.rotate", {0, 0, 90}));
    ASSERT_TRUE(host().setAttr("transform1.translate", {5, -3, 2}));
    ASSERT_TRUE(host().setAttr("transform1.scaleY", 2));
    ASSERT_TRUE(host().setAttr("offsetDeformer1.distance", 1.5));
    expected = kColumn;
    for (size_t i = 0; i < expected.size(); i += 3) expected[i] -= 2 * 1.5;
    expectNear(points(), expected);
}

TEST_F(OffsetDeformer, TheEnvelopeAndPaintedWeightsScaleTheOffset) {
    load("OffsetDeformer");
    makeColumn();
    ASSERT_TRUE(host().deformer("offsetDeformer", "column"));
    ASSERT_TRUE(host().setAttr("offsetDeformer1.envelope", 0.5));
    ASSERT_TRUE(host().setAttr("offsetDeformer1.weightList[0].weights[0]", 0));
    ASSERT_TRUE(host().setAttr("offsetDeformer1.weightList[0].weights[2]", 0.5));
    std::vector<double> expected = kColumn;
    const double weights[5] = {0, 1, 0.5, 1, 1};
    for (size_t p = 0; p < 5; ++p) expected[3 * p + 1] += 0.5 * weights[p];
    expectNear(points(), expected);
}

class ColourPulse : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        load("ColourPulse");
        pulse = create("colourPulse");
        ASSERT_TRUE(host().connect("time1.outTime", pulse + ".time")) << host().lastError();
    }

    // What the pulse gives at `frame`, worked out in floats as the colour is kept.
    static std::vector<double> expectedColour(double frame, double period, double phaseDegrees, bool square) {
        const double phase = phaseDegrees * kPi / 180;
        double mix = 0.5 - 0.5 * std::cos(2 * kPi * frame / period + phase);
        if (square) {
            const double cycle = frame / period + phase / (2 * kPi);
            mix = cycle - std::floor(cycle) < 0.5 ? 0 : 1;
        }
        const float a[3] = {1, 0, 0}, b[3] = {0, 0, 1};
        std::vector<double> colour;
        for (int i = 0; i < 3; ++i) colour.push_back(a[i] + (b[i] - a[i]) * float(mix));
        return colour;
    }

    std::string pulse;
};

TEST_F(ColourPulse, FollowsTheScenesTimeThroughItsTimeInput) {
    EXPECT_EQ(get(pulse + ".outColor"), expectedColour(1, 24, 0, false)) << "time1 starts at frame 1";
    for (double frame : {6.0, 12.0, 30.5, -7.0}) {
        ASSERT_TRUE(host().setAttr("time1.outTime", frame));
        EXPECT_EQ(get1(pulse + ".time"), frame);
        EXPECT_EQ(get(pulse + ".outColor"), expectedColour(frame, 24, 0, false)) << "frame " << frame;
    }
}

TEST_F(ColourPulse, ItsWaveCompoundAndShapeSetThePulse) {
    ASSERT_TRUE(host().setAttr("time1.outTime", 10));
    ASSERT_TRUE(host().setAttr(pulse + ".wave", {48, 90}));  // frames, degrees
    EXPECT_EQ(get(pulse + ".wave"), (std::vector<double>{48, 90}));
    EXPECT_EQ(get(pulse + ".outColor"), expectedColour(10, 48, 90, false));
    ASSERT_TRUE(host().setAttr(pulse + ".shape", 1));
    EXPECT_EQ(get(pulse + ".outColor"), expectedColour(10, 48, 90, true));
    ASSERT_TRUE(host().setAttr(pulse + ".phase", 0));
    EXPECT_EQ(get(pulse + ".outColor"), expectedColour(10, 48, 0, true));

    // An enum keeps to its fields: 7 is clamped to the last one, with a warning.
    hx::Result result = host().setAttr(pulse + ".shape", 7);
    EXPECT_EQ(get1(pulse + ".shape"), 1.0);
    EXPECT_EQ(result.warnings.size(), 1u);
}

TEST_F(ColourPulse, APeriodThatIsNotPositiveHoldsColourAAndSaysSo) {
    ASSERT_TRUE(host().setAttr(pulse + ".period", 0));
    testing::internal::CaptureStderr();
    const std::vector<double> colour = get(pulse + ".outColor");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: colourPulse1: the period must be positive; holding colourA\n");
    EXPECT_EQ(colour, (std::vector<double>{1, 0, 0}));
}

TEST_F(ColourPulse, IntrospectionShowsTheColourCompoundEnumAndUnits) {
    const std::optional<hx::NodeTypeInfo> type = host().nodeType("colourPulse");
    ASSERT_TRUE(type);
    std::map<std::string, hx::AttributeInfo> byName;
    for (const hx::AttributeInfo& a : type->attributes) byName[a.longName] = a;

    const hx::AttributeInfo& out = byName["outColor"];
    EXPECT_EQ(out.valueType, "float3");
    EXPECT_TRUE(out.usedAsColor);
    EXPECT_FALSE(out.writable);
    EXPECT_EQ(out.children, (std::vector<std::string>{"outColorR", "outColorG", "outColorB"}));
    EXPECT_EQ(byName["colourB"].defaultValue, std::vector<double>{}) << "a compound's defaults are its children's";
    EXPECT_EQ(byName["colourBB"].defaultValue, std::vector<double>{1});

    EXPECT_EQ(byName["wave"].children, (std::vector<std::string>{"period", "phase"}));
    EXPECT_EQ(byName["period"].valueType, "time");
    EXPECT_EQ(byName["period"].defaultValue, std::vector<double>{24});
    EXPECT_EQ(byName["phase"].valueType, "angle");
    EXPECT_EQ(byName["time"].affects, (std::vector<std::string>{"outColor", "outColorR", "outColorG", "outColorB"}));

    const hx::AttributeInfo& shape = byName["shape"];
    EXPECT_EQ(shape.valueType, "enum");
    const std::vector<std::pair<short, std::string>> fields = {{0, "sine"}, {1, "square"}};
    EXPECT_EQ(shape.enumFields, fields);
    EXPECT_EQ(shape.min, 0.0);
    EXPECT_EQ(shape.max, 1.0);
}

class MarkerLocator : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        load("MarkerLocator");
        marker = create("markerLocator");
        hx::gl::clearRecordedCalls();
    }

    // The square of side 2 * size in the xz plane, in the colour given, then the label.
    static std::vector<Call> drawing(double size, std::vector<double> colour, const std::string& label) {
        const float s = float(size);
        std::vector<Call> calls = {Call("glColor4f", std::move(colour)), Call("glBegin", {GL_LINES})};
        const float corners[5][2] = {{-s, -s}, {s, -s}, {s, s}, {-s, s}, {-s, -s}};
        for (int i = 0; i < 4; ++i) {
            calls.emplace_back("glVertex3f", std::vector<double>{corners[i][0], 0, corners[i][1]});
            calls.emplace_back("glVertex3f", std::vector<double>{corners[i + 1][0], 0, corners[i + 1][1]});
        }
        calls.emplace_back("glEnd");
        calls.emplace_back("glColor4f", std::vector<double>{1, 1, 1, 1});
        calls.emplace_back("glRasterPos3d", std::vector<double>{0, s, 0});
        calls.emplace_back("glCallLists", std::vector<double>{}, label);
        return calls;
    }

    std::string marker;
};

TEST_F(MarkerLocator, DrawsItsSquareInATableColourAndItsLabel) {
    // Colour index 8 is orange, (1, 0.5, 0); dormant colours are 0.6 of it.
    ASSERT_TRUE(host().drawLocator(marker, M3dView::kWireFrame, M3dView::kDormant));
    std::vector<Call> calls = hx::gl::recordedCalls();
    EXPECT_TRUE(calls == drawing(1, {0.6f, 0.3f, 0, 1}, "marker")) << hx::gl::describe(calls);

    hx::gl::clearRecordedCalls();
    ASSERT_TRUE(host().setAttr(marker + ".colourIndex", 2));  // red
    ASSERT_TRUE(host().drawLocator(marker, M3dView::kWireFrame, M3dView::kActive));
    calls = hx::gl::recordedCalls();
    EXPECT_TRUE(calls == drawing(1, {1, 0, 0, 1}, "marker")) << hx::gl::describe(calls);
}

TEST_F(MarkerLocator, ItsSizeAndLabelReachTheDrawingAndTheBounds) {
    ASSERT_TRUE(host().setAttr(marker + ".size", 2.5));
    MFnDependencyNode fn(host().object(marker));
    ASSERT_TRUE(fn.findPlug("label").setValue(MString("tree")));
    EXPECT_EQ(std::string(fn.findPlug("label").asString().asChar()), "tree");
    ASSERT_TRUE(host().drawLocator(marker));
    const std::vector<Call> calls = hx::gl::recordedCalls();
    EXPECT_TRUE(calls == drawing(2.5, {0.6f, 0.3f, 0, 1}, "tree")) << hx::gl::describe(calls);

    bool bounded = false;
    MBoundingBox box;
    ASSERT_TRUE(host().locatorBounds(marker, bounded, box));
    EXPECT_TRUE(bounded);
    EXPECT_EQ(box.min(), MPoint(-2.5, 0, -2.5));
    EXPECT_EQ(box.max(), MPoint(2.5, 2.5, 2.5));
}
