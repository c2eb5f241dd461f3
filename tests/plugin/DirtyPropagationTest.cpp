// Which outputs an edit makes the host evaluate again: the dependency edges of both node
// types, seen in a scene the deformer command built (mesh, deformer, locator).
#include "PluginFixture.h"

class DirtyPropagation : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(deformBlob(latticePoints()));
    }

    // Pulls every output, so that each edit starts from a clean scene.
    void evaluateAll() {
        std::vector<double> points;
        ASSERT_TRUE(host().meshPoints("blobShape", points));
        for (const char* axis : {"ox", "oy", "oz"}) {
            get(std::string("noiseLocator1.") + axis + "CurvePoints");
            get(std::string("noiseLocator1.") + axis + "CrvLenOut");
            get(std::string("noiseLocator1.") + axis + "CrvPtsCountOut");
        }
        for (const char* plug : kWatched) ASSERT_FALSE(host().isDirty(plug)) << plug;
    }

    // The deformer's outputs, as "geometry x y z" with the dirty ones named.
    std::string dirtyOutputs() {
        std::string dirty;
        for (const char* plug : kWatched)
            if (host().isDirty(plug)) dirty += std::string(dirty.empty() ? "" : " ") + plug;
        return dirty;
    }

    static constexpr const char* kWatched[] = {"hxNoise1.outputGeometry[0]", "hxNoise1.oxVisualisationPoints",
                                               "hxNoise1.oyVisualisationPoints", "hxNoise1.ozVisualisationPoints"};
};

TEST_F(DirtyPropagation, AnAxisNoiseParameterDirtiesTheOtherTwoCurvesAndTheGeometryNotItsOwnCurve) {
    struct Axis {
        const char* prefix;
        const char* othersDirty;
    };
    const Axis axes[] = {
        {"ox", "hxNoise1.outputGeometry[0] hxNoise1.oyVisualisationPoints hxNoise1.ozVisualisationPoints"},
        {"oy", "hxNoise1.outputGeometry[0] hxNoise1.oxVisualisationPoints hxNoise1.ozVisualisationPoints"},
        {"oz", "hxNoise1.outputGeometry[0] hxNoise1.oxVisualisationPoints hxNoise1.oyVisualisationPoints"},
    };
    // Each edit sets a value the parameter does not hold yet, within every limit.
    int edit = 0;
    for (const Axis& axis : axes)
        for (const char* parameter : {"NoiseOctaves", "NoiseSeed", "NoiseFreq", "NoiseAmp"}) {
            const std::string plug = std::string("hxNoise1.") + axis.prefix + parameter;
            ASSERT_NO_FATAL_FAILURE(evaluateAll());
            set(plug, 2 + ++edit % 8);
            EXPECT_EQ(dirtyOutputs(), axis.othersDirty) << plug;
        }
}

TEST_F(DirtyPropagation, ALengthOrCountFromTheLocatorDirtiesOnlyItsOwnCurve) {
    for (const char* axis : {"ox", "oy", "oz"})
        for (const char* quantity : {"CrvLenIn", "CrvPtsCountIn"}) {
            const std::string plug = std::string("noiseLocator1.") + axis + quantity;
            ASSERT_NO_FATAL_FAILURE(evaluateAll());
            set(plug, 12);
            EXPECT_EQ(dirtyOutputs(), std::string("hxNoise1.") + axis + "VisualisationPoints") << plug;
        }
}

TEST_F(DirtyPropagation, TheLocatorsInputsDirtyOnlyTheirOwnOutputs) {
    const std::string outputs[] = {"oxCrvLenOut",      "oxCrvPtsCountOut", "oyCrvLenOut",
                                   "oyCrvPtsCountOut", "ozCrvLenOut",      "ozCrvPtsCountOut"};
    const std::string inputs[] = {"oxCrvLenIn",      "oxCrvPtsCountIn", "oyCrvLenIn",
                                  "oyCrvPtsCountIn", "ozCrvLenIn",      "ozCrvPtsCountIn"};
    for (int i = 0; i < 6; ++i) {
        ASSERT_NO_FATAL_FAILURE(evaluateAll());
        set("noiseLocator1." + inputs[i], 20);
        for (int o = 0; o < 6; ++o)
            EXPECT_EQ(host().isDirty("noiseLocator1." + outputs[o]), o == i) << inputs[i] << " -> " << outputs[o];
    }
}

TEST_F(DirtyPropagation, MovingTheDeformSpaceDirtiesOnlyTheGeometry) {
    for (const char* edit : {"translateX", "rotateY", "scaleZ"}) {
        ASSERT_NO_FATAL_FAILURE(evaluateAll());
        set(std::string("transform1.") + edit, 0.5);
        EXPECT_EQ(dirtyOutputs(), "hxNoise1.outputGeometry[0]") << edit;
    }
}

TEST_F(DirtyPropagation, ABareDeformersLengthAndCountDirtyOnlyTheirOwnCurve) {
    // Without the accessory the deformer's own length and count inputs are set directly.
    const std::string node = create("hxNoise");
    for (const char* axis : {"ox", "oy", "oz"})
        for (const char* quantity : {"Length", "PointsCount"}) {
            for (const char* curve : {"ox", "oy", "oz"}) get(node + "." + curve + "VisualisationPoints");
            set(node + "." + axis + quantity, 9);
            for (const char* curve : {"ox", "oy", "oz"})
                EXPECT_EQ(host().isDirty(node + "." + curve + "VisualisationPoints"), std::string(curve) == axis)
                    << axis << quantity << " -> " << curve;
        }
}
