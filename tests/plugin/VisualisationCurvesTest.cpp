// The deformer's three visualisation curves: the noise core's sample of each axis, from
// the axis's length and count and the noise of the two other axes.
#include "PluginFixture.h"

namespace {

struct Axis {
    NoiseAxis axis;
    const char* prefix;
};
const Axis kAxes[] = {{kNoiseAxisX, "ox"}, {kNoiseAxisY, "oy"}, {kNoiseAxisZ, "oz"}};

}  // namespace

class VisualisationCurves : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        mNode = create("hxNoise");
    }
    std::vector<double> curve(const char* prefix) { return get(mNode + "." + prefix + "VisualisationPoints"); }

    std::string mNode;
};

TEST_F(VisualisationCurves, ANewDeformerGivesFivePointsAtTheOriginOnEachAxis) {
    mStderr.start();
    for (const Axis& a : kAxes) EXPECT_EQ(curve(a.prefix), std::vector<double>(15, 0.0)) << a.prefix;
    EXPECT_EQ(mStderr.finish(), "");
}

TEST_F(VisualisationCurves, EachCurveIsTheNoiseCoresSampleOfItsAxis) {
    ASSERT_NO_FATAL_FAILURE(setField(mNode, lumpyField()));
    const struct {
        float length;
        int count;
    } requests[] = {{7.5f, 40}, {-3.25f, 7}, {12.0f, 500}};
    for (int i = 0; i < 3; ++i) {
        set(mNode + "." + kAxes[i].prefix + "Length", requests[i].length);
        set(mNode + "." + kAxes[i].prefix + "PointsCount", requests[i].count);
    }
    for (int i = 0; i < 3; ++i) {
        const std::vector<double> actual = curve(kAxes[i].prefix);
        EXPECT_EQ(actual.size(), 3u * requests[i].count) << kAxes[i].prefix;
        EXPECT_TRUE(sameBits(actual, coreCurve(kAxes[i].axis, requests[i].length, requests[i].count, lumpyField())))
            << kAxes[i].prefix;
    }
}

TEST_F(VisualisationCurves, OnLatticePointsTheXCurveIsAStraightLine) {
    // Frequency 1 on the Y and Z noise: length 10 and count 5 sample s = 0, 2, 4, 6, 8,
    // where every octave of both generators sits on a lattice point and gives 0.
    FieldParameters field = lumpyField();
    field.y.frequency = 1.0f;
    field.z.frequency = 1.0f;
    ASSERT_NO_FATAL_FAILURE(setField(mNode, field));
    set(mNode + ".oxLength", 10);
    set(mNode + ".oxPointsCount", 5);
    EXPECT_EQ(curve("ox"), (std::vector<double>{0, 0, 0, 2, 0, 0, 4, 0, 0, 6, 0, 0, 8, 0, 0}));
}

TEST_F(VisualisationCurves, CountsOutsideFiveToFiveHundredAreClamped) {
    // setAttr holds the count's limits; a connected count reaches the deformer unclamped.
    ASSERT_TRUE(host().loadPlugin(helperPlugin("ValueSources"))) << host().lastError();
    ASSERT_NO_FATAL_FAILURE(setField(mNode, lumpyField()));
    const std::string counts = create("numberSource");
    connect(counts + ".intValue", mNode + ".oxPointsCount");
    connect(counts + ".intValue", mNode + ".oyPointsCount");
    set(mNode + ".oxLength", 4.5);
    set(mNode + ".oyLength", 4.5);
    struct Case {
        int requested, made;
    };
    for (const Case& c : {Case{3, 5}, Case{-2, 5}, Case{5, 5}, Case{500, 500}, Case{1000, 500}}) {
        set(counts + ".intValue", c.requested);
        for (const Axis& a : {kAxes[0], kAxes[1]}) {
            const std::vector<double> actual = curve(a.prefix);
            EXPECT_EQ(actual.size(), 3u * c.made) << a.prefix << " count " << c.requested;
            EXPECT_TRUE(sameBits(actual, coreCurve(a.axis, 4.5f, c.made, lumpyField())))
                << a.prefix << " count " << c.requested;
        }
    }
}

TEST_F(VisualisationCurves, AnAxissOwnNoiseParametersNeverChangeItsOwnCurve) {
    ASSERT_NO_FATAL_FAILURE(setField(mNode, lumpyField()));
    for (const Axis& a : kAxes) {
        set(mNode + "." + a.prefix + "Length", 6.0);
        set(mNode + "." + a.prefix + "PointsCount", 25);
    }
    for (const Axis& a : kAxes) {
        std::vector<double> before[3];
        for (int i = 0; i < 3; ++i) before[i] = curve(kAxes[i].prefix);

        const std::string p = mNode + "." + a.prefix;
        set(p + "NoiseOctaves", 9);
        set(p + "NoiseSeed", 777);
        set(p + "NoiseFreq", 2.25);
        set(p + "NoiseAmp", -1.5);

        for (int i = 0; i < 3; ++i) {
            const std::vector<double> after = curve(kAxes[i].prefix);
            if (kAxes[i].axis == a.axis)
                EXPECT_TRUE(sameBits(after, before[i])) << a.prefix << " parameters, own curve";
            else
                EXPECT_FALSE(sameBits(after, before[i])) << a.prefix << " parameters, " << kAxes[i].prefix << " curve";
        }
        ASSERT_NO_FATAL_FAILURE(setField(mNode, lumpyField()));
    }
}
