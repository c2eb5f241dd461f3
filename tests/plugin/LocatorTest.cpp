// The noiseLocator: its pass-through of lengths and counts, what its draw sends to GL (as
// the recording GL library saw it), also when it cannot read a curve, and its bounds.
#include "PluginFixture.h"

#include <engine/HostTesting.h>

#include <algorithm>
#include <sstream>

#include <GlRecorder.h>
#include <maya/M3dView.h>  // after gtest: its X11 headers define None, Bool, ...
#include <maya/MBoundingBox.h>

using hx::gl::Call;

namespace {

Call call(const char* name, std::vector<double> args = {}) { return Call{name, std::move(args)}; }

// The whole of one draw: the red axis cross, then one blue line strip per non-empty curve
// with its points as GL receives them (single precision).
std::vector<Call> drawing(const std::vector<std::vector<double>>& curves) {
    std::vector<Call> calls = {call("glPushAttrib", {GL_CURRENT_BIT}),
                               call("glBegin", {GL_LINES}),
                               call("glColor3f", {1, 0, 0}),
                               call("glVertex3f", {-1, 0, 0}),
                               call("glVertex3f", {1, 0, 0}),
                               call("glVertex3f", {0, 0, -1}),
                               call("glVertex3f", {0, 0, 1}),
                               call("glVertex3f", {0, -1, 0}),
                               call("glVertex3f", {0, 1, 0}),
                               call("glEnd"),
                               call("glColor3f", {0, 0, 1})};
    for (const std::vector<double>& curve : curves) {
        calls.push_back(call("glBegin", {GL_LINE_STRIP}));
        for (size_t i = 0; i < curve.size(); i += 3)
            calls.push_back(call("glVertex3f", {float(curve[i]), float(curve[i + 1]), float(curve[i + 2])}));
        calls.push_back(call("glEnd"));
    }
    calls.push_back(call("glPopAttrib"));
    return calls;
}

// The recorded calls equal the expected ones, or a message naming the first difference.
::testing::AssertionResult sameDrawing(const std::vector<Call>& drawn, const std::vector<Call>& expected) {
    if (drawn == expected) return ::testing::AssertionSuccess();
    size_t i = 0;
    while (i < drawn.size() && i < expected.size() && drawn[i] == expected[i]) ++i;
    auto at = [](const std::vector<Call>& calls, size_t i) {
        if (i >= calls.size()) return std::string("(no call)\n");
        std::ostringstream text;
        text.precision(9);
        text << calls[i].mName << "(";
        for (size_t a = 0; a < calls[i].mArgs.size(); ++a) text << (a ? ", " : "") << calls[i].mArgs[a];
        text << ")\n";
        return text.str();
    };
    return ::testing::AssertionFailure() << "call " << i << " of " << drawn.size() << " is " << at(drawn, i)
                                         << "expected " << at(expected, i) << "(of " << expected.size()
                                         << " calls); all drawn:\n"
                                         << hx::gl::describe(drawn);
}

}  // namespace

class LocatorPassThrough : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        mLocator = create("noiseLocator");
    }
    std::string mLocator;
};

TEST_F(LocatorPassThrough, LengthsPassBitForBit) {
    for (const char* axis : {"ox", "oy", "oz"})
        for (double length : {2.75, 0.0, -4.5, 0.1, 1e30}) {
            const std::string p = mLocator + "." + axis;
            set(p + "CrvLenIn", length);
            EXPECT_EQ(bitsOf(get1(p + "CrvLenOut")), bitsOf(double(float(length)))) << axis << " " << length;
        }
    EXPECT_EQ(get1(mLocator + ".oxCrvLenOut"), 1e30f);
}

TEST_F(LocatorPassThrough, CountsPassUnchangedAndUnclamped) {
    for (const char* axis : {"ox", "oy", "oz"})
        for (int count : {5, 17, 500}) {
            set(mLocator + "." + axis + "CrvPtsCountIn", count);
            EXPECT_EQ(get1(mLocator + "." + axis + "CrvPtsCountOut"), count) << axis;
        }

    // setAttr holds the input's limits 5 to 500; a connected count passes as it comes.
    ASSERT_TRUE(host().loadPlugin(helperPlugin("ValueSources"))) << host().lastError();
    const std::string source = create("numberSource");
    connect(source + ".intValue", mLocator + ".oyCrvPtsCountIn");
    for (int count : {1000, 3, -2}) {
        set(source + ".intValue", count);
        EXPECT_EQ(get1(mLocator + ".oyCrvPtsCountOut"), count);
    }
}

TEST_F(LocatorPassThrough, EachAxisPassesItsOwnValues) {
    set(mLocator + ".oxCrvLenIn", 2);
    set(mLocator + ".oyCrvLenIn", 3);
    set(mLocator + ".ozCrvLenIn", 4);
    set(mLocator + ".oxCrvPtsCountIn", 6);
    set(mLocator + ".oyCrvPtsCountIn", 7);
    set(mLocator + ".ozCrvPtsCountIn", 8);
    EXPECT_EQ(get1(mLocator + ".oxCrvLenOut"), 2);
    EXPECT_EQ(get1(mLocator + ".oyCrvLenOut"), 3);
    EXPECT_EQ(get1(mLocator + ".ozCrvLenOut"), 4);
    EXPECT_EQ(get1(mLocator + ".oxCrvPtsCountOut"), 6);
    EXPECT_EQ(get1(mLocator + ".oyCrvPtsCountOut"), 7);
    EXPECT_EQ(get1(mLocator + ".ozCrvPtsCountOut"), 8);
}

TEST_F(LocatorPassThrough, OtherPlugsAreLeftToTheHostAndTouchNothing) {
    // The locator's placement is the host's to compute: its compute declines those plugs
    // (kUnknownParameter) and leaves its own outputs alone.
    const std::string transform = host().parentOf(mLocator);
    set(transform + ".translate", {3, 4, 5});
    set(transform + ".rotate", {0, 0, 90});
    MMatrix world;
    ASSERT_TRUE(host().worldMatrix(mLocator, world));
    EXPECT_TRUE(world.isEquivalent(matrixAt(transform + ".worldMatrix")));
    EXPECT_EQ(get(mLocator + ".worldPosition"), (std::vector<double>{3, 4, 5}));
    for (const char* output :
         {"oxCrvLenOut", "oxCrvPtsCountOut", "oyCrvLenOut", "oyCrvPtsCountOut", "ozCrvLenOut", "ozCrvPtsCountOut"})
        EXPECT_TRUE(host().isDirty(mLocator + "." + output)) << output << " was not asked for";
}

class LocatorDrawing : public PluginTest {
protected:
    std::vector<Call> draw(const std::string& locator, int style = M3dView::kWireFrame,
                           int status = M3dView::kDormant) {
        hx::gl::clearRecordedCalls();
        hx::Result result = host().drawLocator(locator, style, status);
        EXPECT_TRUE(result) << result.error;
        EXPECT_TRUE(result.warnings.empty()) << "beginGL and endGL pair up";
        return hx::gl::recordedCalls();
    }
};

TEST_F(LocatorDrawing, WithoutCurvesOnlyTheAxisCrossIsDrawn) {
    const std::string locator = create("noiseLocator");
    mStderr.start();
    const std::vector<Call> calls = draw(locator);
    EXPECT_EQ(mStderr.finish(), "");
    EXPECT_TRUE(sameDrawing(calls, drawing({})));
}

TEST_F(LocatorDrawing, OneCurveIsOneStripWithoutJoiningSegments) {
    const std::string locator = create("noiseLocator");
    const std::vector<double> y = {0, 0, 0, 0.5, 1, 0.25, -0.125, 2, 0.1};
    set(locator + ".oyCurvePoints", y);
    const std::vector<Call> calls = draw(locator);
    EXPECT_TRUE(sameDrawing(calls, drawing({y})));
}

TEST_F(LocatorDrawing, ThreeCurvesAreThreeStripsInAxisOrder) {
    const std::string locator = create("noiseLocator");
    // Five points each, the fewest the counts allow; coordinates that need more than single
    // precision are drawn at their nearest float.
    const std::vector<double> x = {0, 0, 0, 0.2, 0.01, 0, 0.4, 0.02, 0.1, 0.6, 0.03, 0.2, 0.8, 0.04, 0.3};
    const std::vector<double> y = {0, 0, 0, 0.1, 0.25, 0, 0.3, 0.5, -0.1, 0.7, 0.75, 0, 1.1, 1, 0};
    const std::vector<double> z = {0, 0, 0, -1, 0, 1.0 / 3, -2, 0, 2.0 / 3, -3, 0, 1, -4, 0, 4.0 / 3};
    set(locator + ".oxCurvePoints", x);
    set(locator + ".oyCurvePoints", y);
    set(locator + ".ozCurvePoints", z);
    const std::vector<Call> calls = draw(locator);
    EXPECT_TRUE(sameDrawing(calls, drawing({x, y, z})));
}

TEST_F(LocatorDrawing, AnEmptyCurveBetweenTwoOthersAddsNoStrip) {
    const std::string locator = create("noiseLocator");
    const std::vector<double> x = {0, 0, 0, 1, 1, 1};
    const std::vector<double> z = {0, 0, 0, -1, 2, -3, 4, 5, 6};
    set(locator + ".oxCurvePoints", x);
    set(locator + ".ozCurvePoints", z);
    const std::vector<Call> calls = draw(locator);
    EXPECT_TRUE(sameDrawing(calls, drawing({x, z})));
}

TEST_F(LocatorDrawing, TheDeformersCurvesAreDrawnAsItComputesThem) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(latticePoints()));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    set("noiseLocator1.oxCrvLenIn", 3.5);
    set("noiseLocator1.oyCrvPtsCountIn", 5);
    set("noiseLocator1.ozCrvLenIn", -2.0);
    set("noiseLocator1.ozCrvPtsCountIn", 64);

    mStderr.start();
    const std::vector<Call> calls = draw("noiseLocator1");
    EXPECT_EQ(mStderr.finish(), "");
    EXPECT_TRUE(sameDrawing(
        calls, drawing({coreCurve(kNoiseAxisX, 3.5f, 30, lumpyField()), coreCurve(kNoiseAxisY, 1.0f, 5, lumpyField()),
                        coreCurve(kNoiseAxisZ, -2.0f, 64, lumpyField())})));
}

TEST_F(LocatorDrawing, EveryDisplayStyleAndStatusDrawsTheSame) {
    const std::string locator = create("noiseLocator");
    set(locator + ".oxCurvePoints", {0, 0, 0, 1, 2, 3});
    const std::vector<Call> expected = drawing({{0, 0, 0, 1, 2, 3}});
    for (int style = M3dView::kBoundingBox; style <= M3dView::kPoints; ++style)
        for (int status = M3dView::kActive; status <= M3dView::kNoStatus; ++status) {
            const std::vector<Call> calls = draw(locator, style, status);
            EXPECT_TRUE(sameDrawing(calls, expected)) << "style " << style << ", status " << status;
        }
}

TEST_F(LocatorDrawing, ACurveWithoutDataIsReportedAndDrawsNothing) {
    const std::string locator = create("noiseLocator");
    // A connected curve whose source holds no vector-array data at all.
    ASSERT_TRUE(host().loadPlugin(helperPlugin("ValueSources"))) << host().lastError();
    const std::string source = create("emptyCurveSource");
    connect(source + ".curve", locator + ".oyCurvePoints");
    const std::vector<double> x = {0, 0, 0, 1, 0, 0};
    set(locator + ".oxCurvePoints", x);

    mStderr.start();
    const std::vector<Call> calls = draw(locator);
    const std::string written = mStderr.finish();
    EXPECT_EQ(written.rfind("MFnVectorArrayData: (kInvalidParameter): ", 0), 0u) << written;
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1) << written;
    EXPECT_TRUE(sameDrawing(calls, drawing({x})));
}

TEST_F(LocatorDrawing, AFailedCurveReadIsReportedAndTheRestIsStillDrawn) {
    const std::string locator = create("noiseLocator");
    const std::vector<double> x = {0, 0, 0, 1, 0, 0}, y = {0, 0, 0, 0, 1, 0}, z = {0, 0, 0, 0, 0, 1};
    set(locator + ".oxCurvePoints", x);
    set(locator + ".oyCurvePoints", y);
    set(locator + ".ozCurvePoints", z);

    // Each refusal costs the Y curve; the steps after it fail on what it left them.
    struct Case {
        const char* function;
        unsigned int nth;                // 0: every call about the Y curve
        std::vector<std::string> lines;  // how each line written begins
    };
    const Case cases[] = {
        {"MFnDependencyNode::findPlug",
         0,
         {"plug: (kFailure): MFnDependencyNode::findPlug: injected failure on 'oyCurvePoints'",
          "getValue: ", "MFnVectorArrayData: "}},
        {"MPlug::getValue",
         0,
         {"getValue: (kFailure): MPlug::getValue: injected failure on 'oyCurvePoints'", "MFnVectorArrayData: "}},
        {"MFnVectorArrayData::attach",
         2,
         {"MFnVectorArrayData: (kFailure): MFnVectorArrayData::attach: injected failure"}},
    };
    for (const Case& c : cases) {
        hx::FaultPlan faults;
        if (c.nth)
            faults.failCall(c.function, c.nth);
        else
            faults.failCallsOn(c.function, "oyCurvePoints");
        mStderr.start();
        const std::vector<Call> calls = draw(locator);
        std::istringstream written(mStderr.finish());

        std::vector<std::string> lines;
        for (std::string line; std::getline(written, line);) lines.push_back(line);
        ASSERT_EQ(lines.size(), c.lines.size()) << c.function;
        for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].rfind(c.lines[i], 0), 0u) << lines[i];
        EXPECT_TRUE(sameDrawing(calls, drawing({x, z}))) << c.function;
    }
}

TEST_F(LocatorDrawing, TheBoundsAreAFixedFlatBoxWhateverTheCurves) {
    const std::string locator = create("noiseLocator");
    auto expectFixedBox = [&](const char* when) {
        bool bounded = false;
        MBoundingBox box;
        ASSERT_TRUE(host().locatorBounds(locator, bounded, box));
        EXPECT_TRUE(bounded) << when;
        EXPECT_TRUE(box.min() == MPoint(-5, 0, -5)) << when;
        EXPECT_TRUE(box.max() == MPoint(5, 0, 5)) << when;
    };
    expectFixedBox("without curves");

    // A point far outside the box is still drawn, and the box does not grow.
    set(locator + ".oxCurvePoints", {0, 0, 0, 100, 50, -70});
    EXPECT_TRUE(sameDrawing(draw(locator), drawing({{0, 0, 0, 100, 50, -70}})));
    expectFixedBox("with a curve outside it");
}
