// What the deformer does to the points of a mesh: exactly what the noise core does to them
// inside the deform space, bit for bit, whatever the envelope, the mesh's own placement or
// the number of geometries; nothing at all when the deform space cannot be inverted; and
// what it does when the host cannot give it a value.
#include "PluginFixture.h"

#include <engine/HostTesting.h>

#include <memory>
#include <optional>

class Deformation : public PluginTest {
protected:
    std::vector<double> deformed(const std::string& shape = "blobShape") {
        std::vector<double> points;
        hx::Result result = host().meshPoints(shape, points);
        EXPECT_TRUE(result) << result.error;
        return points;
    }

    // Moves, turns and unevenly scales the accessory transform, and so the deform space.
    void placeDeformSpace() {
        set("transform1.translate", {1.5, -2.25, 0.75});
        set("transform1.rotate", {30, -45, 60});
        set("transform1.scale", {2, 0.5, 1.25});
    }

    const std::vector<double> mPoints = latticePoints();
};

TEST_F(Deformation, UnderAnIdentityDeformSpacePointsMoveAsTheNoiseCoreMovesThem) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    ASSERT_TRUE(matrixAt("hxNoise1.deformSpace") == MMatrix::identity);

    mStderr.start();
    const std::vector<double> points = deformed();
    EXPECT_EQ(mStderr.finish(), "");

    EXPECT_TRUE(sameBits(points, coreDeformation(mPoints, lumpyField(), MMatrix::identity)));
    // With an identity deform space the displacement applies to object space directly.
    FieldParameters field = lumpyField();
    Perlin noiseX = field.x.generator(), noiseY = field.y.generator(), noiseZ = field.z.generator();
    ASSERT_EQ(points.size(), mPoints.size());
    for (size_t i = 0; i < mPoints.size(); i += 3) {
        const FieldPoint p = displacePoint(noiseX, noiseY, noiseZ, mPoints[i], mPoints[i + 1], mPoints[i + 2]);
        EXPECT_EQ(points[i], p.x);
        EXPECT_EQ(points[i + 1], p.y);
        EXPECT_EQ(points[i + 2], p.z);
    }
    EXPECT_NE(points, mPoints) << "the field moves the points";
}

TEST_F(Deformation, UnderAMovedTurnedAndScaledDeformSpacePointsMoveAsTheNoiseCoreMovesThem) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    ASSERT_NO_FATAL_FAILURE(placeDeformSpace());

    // The deform space is the accessory transform's matrix: translated, turned, scaled
    // unevenly.
    const MMatrix space = matrixAt("hxNoise1.deformSpace");
    ASSERT_TRUE(space == matrixAt("transform1.matrix"));
    EXPECT_EQ(space(3, 0), 1.5);
    EXPECT_EQ(space(3, 1), -2.25);
    EXPECT_EQ(space(3, 2), 0.75);
    EXPECT_NEAR(MVector(space(0, 0), space(0, 1), space(0, 2)).length(), 2.0, 1e-12);
    EXPECT_NEAR(MVector(space(1, 0), space(1, 1), space(1, 2)).length(), 0.5, 1e-12);
    EXPECT_NEAR(MVector(space(2, 0), space(2, 1), space(2, 2)).length(), 1.25, 1e-12);

    mStderr.start();
    const std::vector<double> points = deformed();
    EXPECT_EQ(mStderr.finish(), "");
    EXPECT_TRUE(sameBits(points, coreDeformation(mPoints, lumpyField(), space)));
    EXPECT_FALSE(sameBits(points, coreDeformation(mPoints, lumpyField(), MMatrix::identity)));
}

TEST_F(Deformation, EveryEvaluationUsesTheCurrentParametersAndPlacement) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    deformed();

    FieldParameters other = lumpyField();
    other.x = {6, 0.21f, -1.25f, 99};
    other.y.seed = 3;
    other.z.frequency = 0.5f;
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", other));
    ASSERT_NO_FATAL_FAILURE(placeDeformSpace());
    EXPECT_TRUE(sameBits(deformed(), coreDeformation(mPoints, other, matrixAt("transform1.matrix"))));
}

TEST_F(Deformation, TheDeformedObjectsOwnPlacementTakesNoPart) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    ASSERT_NO_FATAL_FAILURE(placeDeformSpace());
    const std::vector<double> before = deformed();

    set("blob.translate", {-4, 3, 10});
    set("blob.rotate", {0, 90, 15});
    set("blob.scale", {3, 3, 3});
    EXPECT_TRUE(sameBits(deformed(), before));
}

TEST_F(Deformation, TwoGeometriesOnOneDeformerMoveThroughOneAndTheSameField) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    ASSERT_NO_FATAL_FAILURE(placeDeformSpace());

    // A second mesh, placed elsewhere, as the deformer's geometry 1; it shares one point
    // with the first.
    const std::vector<double> rockPoints = {mPoints[0], mPoints[1], mPoints[2], 0.3, 0.7, -0.9, 4.1, -1.2, 2.2};
    ASSERT_NO_FATAL_FAILURE(makeMesh("rockSource", "rockSourceShape", rockPoints));
    create("transform", "rock");
    create("mesh", "rockShape", "rock");
    set("rock.translate", {20, 0, -5});
    connect("rockSourceShape.outMesh", "hxNoise1.input[1].inputGeometry");
    connect("hxNoise1.outputGeometry[1]", "rockShape.inMesh");

    const MMatrix space = matrixAt("hxNoise1.deformSpace");
    const std::vector<double> blob = deformed("blobShape");
    const std::vector<double> rock = deformed("rockShape");
    EXPECT_TRUE(sameBits(blob, coreDeformation(mPoints, lumpyField(), space)));
    EXPECT_TRUE(sameBits(rock, coreDeformation(rockPoints, lumpyField(), space)));
    ASSERT_EQ(rock.size(), 9u);
    EXPECT_TRUE(sameBits({rock[0], rock[1], rock[2]}, {blob[0], blob[1], blob[2]}));
}

TEST_F(Deformation, TheEnvelopeMakesNoDifference) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    ASSERT_NO_FATAL_FAILURE(placeDeformSpace());
    const std::vector<double> full = deformed();
    ASSERT_EQ(get1("hxNoise1.envelope"), 1.0);
    for (double envelope : {0.0, 0.25}) {
        set("hxNoise1.envelope", envelope);
        EXPECT_TRUE(sameBits(deformed(), full)) << "envelope " << envelope;
    }
}

TEST_F(Deformation, PullingTheGeometryComputesNoCurve) {
    // The deformer's compute serves only the curves; the geometry is the deformer base's.
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    deformed();
    for (const char* curve : {"oxVisualisationPoints", "oyVisualisationPoints", "ozVisualisationPoints"})
        EXPECT_TRUE(host().isDirty(std::string("hxNoise1.") + curve)) << curve;
}

TEST_F(Deformation, ANewDeformerLeavesPointsWhereTheyAre) {
    // Amplitudes default to 0.
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    EXPECT_TRUE(sameBits(deformed(), mPoints));
}

TEST_F(Deformation, OctavesAndSeedsBeyondTheirLimitsThatReachTheDeformerAreClamped) {
    // setAttr holds the limits; a connected value reaches the deformer as it is.
    ASSERT_TRUE(host().loadPlugin(helperPlugin("ValueSources"))) << host().lastError();
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    create("numberSource", "tooMany");
    create("numberSource", "belowZero");
    set("tooMany.intValue", 15);
    set("belowZero.intValue", -5);
    connect("tooMany.intValue", "hxNoise1.oxNoiseOctaves");
    connect("belowZero.intValue", "hxNoise1.oyNoiseOctaves");
    connect("belowZero.intValue", "hxNoise1.ozNoiseSeed");

    FieldParameters clamped = lumpyField();
    clamped.x.octaves = 10;
    clamped.y.octaves = 1;
    clamped.z.seed = 0;
    EXPECT_TRUE(sameBits(deformed(), coreDeformation(mPoints, clamped, MMatrix::identity)));
}

TEST_F(Deformation, AnEmptyGeometryStaysEmptyWithoutAReport) {
    ASSERT_NO_FATAL_FAILURE(deformBlob({}));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    mStderr.start();
    EXPECT_EQ(deformed(), std::vector<double>());
    EXPECT_EQ(mStderr.finish(), "");
}

TEST_F(Deformation, ADeformSpaceScaledToNothingOnOneAxisLeavesEveryPointWhereItIs) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    ASSERT_NO_FATAL_FAILURE(placeDeformSpace());
    for (const char* axis : {"scaleX", "scaleY", "scaleZ"}) {
        set(std::string("transform1.") + axis, 0.0);
        ASSERT_EQ(matrixAt("hxNoise1.deformSpace").det4x4(), 0.0) << axis;
        mStderr.start();
        EXPECT_TRUE(sameBits(deformed(), mPoints)) << axis;
        EXPECT_EQ(mStderr.finish(), "") << axis;
        set(std::string("transform1.") + axis, 1.0);
    }
    // And the field comes back with the scale.
    EXPECT_TRUE(sameBits(deformed(), coreDeformation(mPoints, lumpyField(), matrixAt("transform1.matrix"))));
}

TEST_F(Deformation, PointsLeftWhereTheyAreAreLentFromTheInputItselfAndMovedOnesAreNot) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    std::shared_ptr<const std::vector<double>> input, output;
    ASSERT_TRUE(host().meshPoints("blobShapeOrig", input));
    set("transform1.scaleY", 0.0);
    ASSERT_TRUE(host().meshPoints("blobShape", output));
    EXPECT_EQ(output.get(), input.get()) << "a deformation that moves nothing copies nothing";

    set("transform1.scaleY", 1.0);
    ASSERT_TRUE(host().meshPoints("blobShape", output));
    EXPECT_NE(output.get(), input.get());
    EXPECT_TRUE(sameBits(*output, coreDeformation(mPoints, lumpyField(), matrixAt("transform1.matrix"))));
    EXPECT_TRUE(sameBits(*input, mPoints)) << "the input is never written";
}

TEST_F(Deformation, ADeformSpaceWhoseInverseDoesNotUndoItLeavesEveryPointWhereItIs) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    ASSERT_TRUE(host().disconnect("transform1.matrix", "hxNoise1.deformSpace")) << host().lastError();

    // The third row is 0.2 times the first plus 0.3 times the second: no inverse, but
    // rounding gives the determinant a tiny non-zero value, and elimination hands back the
    // identity as the "inverse". Through it the points would be moved by the matrix itself.
    const double first[3] = {-0.1, 0.7, 0.5}, second[3] = {0.5, -0.1, 0.1};
    std::vector<double> flattened = {first[0], first[1], first[2], 0, second[0], second[1], second[2], 0};
    for (int c = 0; c < 3; ++c) flattened.push_back(first[c] * 0.2 + second[c] * 0.3);
    flattened.insert(flattened.end(), {0, -3, -8, -7, 1});
    set("hxNoise1.deformSpace", flattened);
    const MMatrix flat = matrixAt("hxNoise1.deformSpace");
    ASSERT_NE(flat.det4x4(), 0.0);
    ASSERT_TRUE(flat.inverse() == MMatrix::identity);
    mStderr.start();
    EXPECT_TRUE(sameBits(deformed(), mPoints));
    EXPECT_EQ(mStderr.finish(), "");

    // A deform space that is only small on one axis has an inverse, and the field is used.
    set("hxNoise1.deformSpace", {1e-12, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0.5, 0, 0, 1});
    const MMatrix thin = matrixAt("hxNoise1.deformSpace");
    EXPECT_TRUE(sameBits(deformed(), coreDeformation(mPoints, lumpyField(), thin)));
}

TEST_F(Deformation, ASwitchedOffDeformerGivesBackAMeshFarFromItsLocatorBitForBit) {
    // Amplitudes at 0 switch the deformer off. With the locator 1e16 away the way into the
    // deform space and back would round every x to a multiple of 2; the points come back
    // exactly as they were instead, however the locator is turned and scaled.
    ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
    set("transform1.translate", {1e16, 0, 0});
    EXPECT_TRUE(sameBits(deformed(), mPoints));

    ASSERT_NO_FATAL_FAILURE(placeDeformSpace());
    set("transform1.translate", {-3e15, 1e16, 7e14});
    EXPECT_TRUE(sameBits(deformed(), mPoints));
}

TEST_F(Deformation, PointsTheNoiseLeavesAloneKeepTheirBitsBesidePointsItMoves) {
    // Every third point lies beyond the noise lattice's reach (a coordinate past 2^31 in
    // the deform space), where no octave adds anything; the rest move as the noise core
    // moves them, through a deform space whose round trip rounds.
    std::vector<double> points = mPoints;
    for (size_t i = 0; i < points.size(); i += 9) points[i] += 4e10;
    ASSERT_NO_FATAL_FAILURE(deformBlob(points));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    ASSERT_NO_FATAL_FAILURE(placeDeformSpace());

    const std::vector<double> moved = deformed();
    const std::vector<double> core = coreDeformation(points, lumpyField(), matrixAt("hxNoise1.deformSpace"));
    ASSERT_EQ(moved.size(), points.size());
    int kept = 0;
    for (size_t i = 0; i < points.size(); i += 3) {
        const std::vector<double> in(points.begin() + i, points.begin() + i + 3);
        const std::vector<double> out(moved.begin() + i, moved.begin() + i + 3);
        if (i % 9 == 0) {
            EXPECT_TRUE(sameBits(out, in)) << "point " << i / 3 << " is out of the noise's reach";
            EXPECT_FALSE(sameBits(std::vector<double>(core.begin() + i, core.begin() + i + 3), in))
                << "point " << i / 3 << ": the round trip alone would have changed it";
            ++kept;
        } else {
            EXPECT_TRUE(sameBits(out, std::vector<double>(core.begin() + i, core.begin() + i + 3)))
                << "point " << i / 3;
            EXPECT_NE(out, in) << "point " << i / 3 << " moves";
        }
    }
    EXPECT_EQ(kept, 24);
}

// An evaluation of the deformed blob in which the host refuses deform one read: what deform
// wrote, how the evaluation failed and the points it left.
class DeformationFailures : public Deformation {
protected:
    void evaluateRefusing(const std::string& attribute) {
        ASSERT_NO_FATAL_FAILURE(deformBlob(mPoints));
        ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
        mFaults.emplace().failCallsOn("MDataBlock::inputValue", attribute);
        mStderr.start();
        mResult = host().meshPoints("blobShape", mDeformed);
        mWritten = mStderr.finish();
        ASSERT_FALSE(mResult) << "deform returned a failure";
    }

    std::optional<hx::FaultPlan> mFaults;  // from the evaluation on
    hx::Result mResult;
    std::vector<double> mDeformed;
    std::string mWritten;
};

TEST_F(DeformationFailures, AFailedParameterReadIsReportedAndThePointsMoveWithTheValueItYields) {
    ASSERT_NO_FATAL_FAILURE(evaluateRefusing("oxNoiseAmp"));

    const std::string refusal = "(kFailure): MDataBlock::inputValue: injected failure on 'oxNoiseAmp'";
    EXPECT_EQ(mWritten, statusReport(sourceLine("matData = block.inputValue(*axis.amp", "HX_CHECK(status)"), refusal));
    EXPECT_EQ(mResult.error, "deform of hxNoise1.outputGeometry[0] failed: " + refusal) << "deform returns the failure";
    EXPECT_EQ(mFaults->calls("MDataBlock::inputValue"), 13u) << "every read is still made";
    // The handle of a failed read yields 0 here: the X noise has no amplitude.
    FieldParameters field = lumpyField();
    field.x.amplitude = 0.0f;
    EXPECT_TRUE(sameBits(mDeformed, coreDeformation(mPoints, field, MMatrix::identity)));
    EXPECT_NE(mDeformed, mPoints);
}

TEST_F(DeformationFailures, AFailedDeformSpaceReadLeavesThePointsAndIsReturnedWithoutAReport) {
    ASSERT_NO_FATAL_FAILURE(evaluateRefusing("deformSpace"));

    EXPECT_EQ(mWritten, "");
    EXPECT_EQ(mResult.error,
              "deform of hxNoise1.outputGeometry[0] failed: (kFailure): "
              "MDataBlock::inputValue: injected failure on 'deformSpace'");
    EXPECT_EQ(mFaults->calls("MDataBlock::inputValue"), 1u) << "nothing else is read";
    EXPECT_EQ(mDeformed, mPoints);
}
