// The deformer splits a geometry's points over tasks in the host's thread pool: whatever
// the number of threads, and however the points fall into tasks, every point moves
// exactly as the noise core moves it alone; and when the host refuses the pool, the
// deformation runs on the calling thread and says so once.
#include "PluginFixture.h"

#include <engine/HostTesting.h>

#include <maya/MThreadPool.h>

#include <cmath>

namespace {

// `count` points on a rough spiral through the deform space, none on a lattice point.
std::vector<double> spiralPoints(size_t count) {
    std::vector<double> points;
    points.reserve(3 * count);
    for (size_t i = 0; i < count; ++i) {
        const double t = 0.0137 * double(i);
        points.insert(points.end(), {2.5 * std::sin(t) + 0.001 * double(i % 97), 0.00031 * double(i) - 3.0,
                                     1.75 * std::cos(1.3 * t) - 0.0007 * double(i % 89)});
    }
    return points;
}

const char kPoolWarning[] = "hxNoise: the host's thread pool is unavailable";

int linesHolding(const std::string& text, const std::string& part) {
    int lines = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++lines;
    return lines;
}

}  // namespace

class ThreadedDeformation : public PluginTest {
protected:
    void TearDown() override {
        host().setThreadCount(0);
        PluginTest::TearDown();
    }

    // A fresh scene: `points` under a placed deformer with the lumpy field.
    void deformScene(const std::vector<double>& points) {
        host().reset();
        ASSERT_TRUE(host().loadPlugin(HX_NOISE_PLUGIN)) << host().lastError();
        ASSERT_NO_FATAL_FAILURE(deformBlob(points));
        ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
        set("transform1.translate", {0.5, -1.25, 0.25});
        set("transform1.rotate", {10, 25, -40});
        set("transform1.scale", {1.5, 0.75, 1.25});
    }

    std::vector<double> deformedBlob() {
        std::vector<double> moved;
        hx::Result result = host().meshPoints("blobShape", moved);
        EXPECT_TRUE(result) << result.error;
        return moved;
    }
};

TEST_F(ThreadedDeformation, OddPointCountsMoveTheSameOnOneTwoThreeAndSevenThreads) {
    for (size_t count : {size_t(1), size_t(7), size_t(16385), size_t(100003)}) {
        const std::vector<double> points = spiralPoints(count);
        std::vector<double> oneThread;
        MMatrix space;
        for (unsigned int threads : {1u, 2u, 3u, 7u}) {
            host().setThreadCount(threads);
            ASSERT_NO_FATAL_FAILURE(deformScene(points));
            mStderr.start();
            const std::vector<double> moved = deformedBlob();
            EXPECT_EQ(mStderr.finish(), "");
            if (threads == 1) {
                oneThread = moved;
                space = matrixAt("hxNoise1.deformSpace");
                EXPECT_TRUE(sameBits(moved, coreDeformation(points, lumpyField(), space))) << count << " points";
                EXPECT_NE(moved, points);
            }
            EXPECT_TRUE(sameBits(moved, oneThread)) << count << " points, " << threads << " threads";
        }
    }
}

TEST_F(ThreadedDeformation, EveryEvaluationOnAPoolOfThreeFollowsTheCurrentParameters) {
    host().setThreadCount(3);
    const std::vector<double> points = spiralPoints(50001);
    ASSERT_NO_FATAL_FAILURE(deformScene(points));
    deformedBlob();
    FieldParameters other = lumpyField();
    other.y = {7, 0.83f, 1.125f, 5};
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", other));
    EXPECT_TRUE(sameBits(deformedBlob(), coreDeformation(points, other, matrixAt("hxNoise1.deformSpace"))));
}

TEST_F(ThreadedDeformation, ARefusedPoolDeformsOnTheCallingThreadAndSaysSoOnce) {
    host().setThreadCount(3);
    const std::vector<double> points = spiralPoints(40001);  // three tasks
    ASSERT_NO_FATAL_FAILURE(deformScene(points));
    const MMatrix space = matrixAt("hxNoise1.deformSpace");
    const std::vector<double> expected = coreDeformation(points, lumpyField(), space);

    hx::FaultPlan faults;
    faults.failCallsOn("MThreadPool::init", "");
    mStderr.start();
    EXPECT_TRUE(sameBits(deformedBlob(), expected));
    std::string said = mStderr.finish();
    // Said as the host's warnings are, through MGlobal::displayWarning.
    EXPECT_EQ(said, "Warning: " + std::string(kPoolWarning) +
                        " ((kFailure): MThreadPool::init: injected failure); "
                        "deforming on one thread\n");

    // Refused again, in other places: the same points, and nothing more said.
    FieldParameters other = lumpyField();
    other.z.amplitude = -0.625f;
    const std::vector<double> otherExpected = coreDeformation(points, other, space);
    hx::FaultPlan regions;
    regions.failCallsOn("MThreadPool::newParallelRegion", "");
    mStderr.start();
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", other));
    EXPECT_TRUE(sameBits(deformedBlob(), otherExpected));
    said = mStderr.finish();
    EXPECT_EQ(regions.injected().size(), 1u);
    EXPECT_EQ(linesHolding(said, kPoolWarning), 0) << said;

    // The second task refused: the pool deforms the others, the calling thread that one.
    hx::FaultPlan tasks;
    tasks.failCall("MThreadPool::createTask", 2);
    mStderr.start();
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));
    EXPECT_TRUE(sameBits(deformedBlob(), expected));
    said = mStderr.finish();
    EXPECT_EQ(tasks.injected().size(), 1u);
    EXPECT_EQ(tasks.calls("MThreadPool::createTask"), 2u) << "no task is created after a refusal";
    EXPECT_EQ(linesHolding(said, kPoolWarning), 0) << said;
}

TEST_F(ThreadedDeformation, TheHostsPoolIsGivenBackAfterEveryDeformation) {
    host().setThreadCount(2);
    ASSERT_NO_FATAL_FAILURE(deformScene(spiralPoints(20001)));
    hx::FaultPlan faults;
    deformedBlob();
    set("hxNoise1.oxNoiseSeed", 8);
    deformedBlob();
    EXPECT_EQ(faults.calls("MThreadPool::init"), 2u);
    EXPECT_EQ(faults.calls("MThreadPool::newParallelRegion"), 2u);
    EXPECT_EQ(faults.calls("MThreadPool::createTask"), 4u) << "two tasks for 20,001 points";
    // Every init was released: a region outside any deformation is refused.
    EXPECT_EQ(MThreadPool::newParallelRegion([](void*, MThreadRootTask*) {}, nullptr).statusCode(), MStatus::kFailure);
}
