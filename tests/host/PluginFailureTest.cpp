// A plug-in's compute, deform or draw that returns a failure or throws: the host call that
// evaluated fails, naming the node and plug (and the plug-in, for an exception), as a host
// reports it, and the host carries on.
#include "HostFixture.h"

#include <GlRecorder.h>

class PluginFailures : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_TRUE(host().loadPlugin(testPlugin("Misbehaving"))) << host().lastError();
        ASSERT_TRUE(host().createNode("transform", "box"));
        ASSERT_TRUE(host().createNode("mesh", "boxShape", "box"));
        ASSERT_TRUE(host().setMesh("boxShape", kBox, {4}, {0, 1, 2, 3}));
        ASSERT_TRUE(host().deformer("misbehavingDeformer", "boxShape")) << host().lastError();
        hx::gl::clearRecordedCalls();
    }

    void misbehave(int failure) { ASSERT_TRUE(host().setAttr("misbehavingDeformer1.failure", failure)); }

    const std::vector<double> kBox = {0, 0, 0, 2, 0, 0, 2, 0, 2, 0, 0, 2};
};

TEST_F(PluginFailures, ADeformThatFailsOrThrowsFailsTheEvaluationThatRanIt) {
    const std::string plug = "deform of misbehavingDeformer1.outputGeometry[0]";
    const struct {
        int failure;
        std::string error;
    } cases[] = {
        {1, plug + " failed: (kFailure): Unexpected Internal Failure"},
        {2, plug + " threw an exception in plug-in 'Misbehaving': the deformer broke on purpose"},
        {3, plug + " ran out of memory in plug-in 'Misbehaving'"},
        {4, plug + " threw an exception in plug-in 'Misbehaving'"},
    };
    for (const auto& c : cases) {
        ASSERT_NO_FATAL_FAILURE(misbehave(c.failure));
        std::vector<double> points;
        const hx::Result result = host().meshPoints("boxShape", points);
        EXPECT_FALSE(result) << c.failure;
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(host().lastError(), c.error);
        EXPECT_EQ(points, kBox) << "the values are what the evaluation left";
    }

    // A clean evaluation after them succeeds: no failure lingers.
    ASSERT_NO_FATAL_FAILURE(misbehave(0));
    std::vector<double> points;
    const hx::Result result = host().meshPoints("boxShape", points);
    EXPECT_TRUE(result) << result.error;
    EXPECT_EQ(points, kBox);
}

TEST_F(PluginFailures, AFailedEvaluationIsNotTakenForAGoodOneByTheNextRead) {
    // A script that caught the failure and reads again must not get the points the failure
    // left as if they were the deformed ones.
    ASSERT_NO_FATAL_FAILURE(misbehave(2));
    std::vector<double> points, values;
    EXPECT_FALSE(host().meshPoints("boxShape", points));
    hx::Result again = host().meshPoints("boxShape", points);
    EXPECT_FALSE(again);
    EXPECT_EQ(again.error,
              "deform of misbehavingDeformer1.outputGeometry[0] threw an exception in plug-in "
              "'Misbehaving': the deformer broke on purpose");
    std::vector<int> counts, vertices;
    EXPECT_FALSE(host().meshFaces("boxShape", counts, vertices));

    ASSERT_NO_FATAL_FAILURE(misbehave(5));
    EXPECT_FALSE(host().getAttr("misbehavingDeformer1.curve", values));
    EXPECT_FALSE(host().getAttr("misbehavingDeformer1.curve", values));
    EXPECT_FALSE(host().drawLocator("misbehavingLocator1"));

    ASSERT_NO_FATAL_FAILURE(misbehave(0));
    EXPECT_TRUE(host().meshPoints("boxShape", points)) << host().lastError();
    EXPECT_TRUE(host().getAttr("misbehavingDeformer1.curve", values)) << host().lastError();
}

TEST_F(PluginFailures, AFailedPlugStaysDirtyAndTheShapeBelowItToo) {
    ASSERT_NO_FATAL_FAILURE(misbehave(1));
    std::vector<double> points;
    EXPECT_FALSE(host().meshPoints("boxShape", points));
    EXPECT_TRUE(host().isDirty("misbehavingDeformer1.outputGeometry[0]"));
    EXPECT_TRUE(host().isDirty("boxShape.outMesh")) << "it took its value from a failed deform";

    ASSERT_NO_FATAL_FAILURE(misbehave(0));
    EXPECT_TRUE(host().meshPoints("boxShape", points)) << host().lastError();
    EXPECT_FALSE(host().isDirty("misbehavingDeformer1.outputGeometry[0]"));
    EXPECT_FALSE(host().isDirty("boxShape.outMesh"));
}

TEST_F(PluginFailures, AComputeThatFailsOrThrowsFailsTheReadOrTheDrawThatPulledIt) {
    ASSERT_NO_FATAL_FAILURE(misbehave(5));
    std::vector<double> values;
    hx::Result result = host().getAttr("misbehavingDeformer1.curve", values);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error, "compute of misbehavingDeformer1.curve failed: (kFailure): Unexpected Internal Failure");

    // The locator's draw pulls the curve through its connection.
    ASSERT_NO_FATAL_FAILURE(misbehave(6));
    result = host().drawLocator("misbehavingLocator1");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error,
              "compute of misbehavingDeformer1.curve threw an exception in plug-in 'Misbehaving': "
              "the curve broke on purpose");

    // Geometry does not need the curve.
    std::vector<double> points;
    EXPECT_TRUE(host().meshPoints("boxShape", points));
}

TEST_F(PluginFailures, ADrawThatThrowsFailsNamingTheLocatorAndThePlugIn) {
    ASSERT_NO_FATAL_FAILURE(misbehave(7));
    const hx::Result result = host().drawLocator("misbehavingLocator1");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error,
              "draw of locator 'misbehavingLocator1' threw an exception in plug-in 'Misbehaving': "
              "the locator's draw broke on purpose");

    ASSERT_NO_FATAL_FAILURE(misbehave(0));
    EXPECT_TRUE(host().drawLocator("misbehavingLocator1")) << host().lastError();
}
