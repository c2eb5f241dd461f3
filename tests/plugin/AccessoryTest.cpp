// The deformer's accessory: the transform and noiseLocator that the host's deformer command
// has it set up, the ten connections between the three nodes, what flows along them, and
// what the set-up does when the host refuses it a step.
#include "PluginFixture.h"

#include <engine/HostTesting.h>

#include <maya/MDagModifier.h>
#include <maya/MFnAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MPxDeformerNode.h>

namespace {

struct Connection {
    std::string source, destination;
};

// The accessory's ten connections, for the deformer `d`, the transform `t` and the
// locator `l`.
std::vector<Connection> accessoryConnections(const std::string& d, const std::string& t, const std::string& l) {
    return {
        {t + ".matrix", d + ".deformSpace"},
        {l + ".oxCrvLenOut", d + ".oxLength"},
        {l + ".oxCrvPtsCountOut", d + ".oxPointsCount"},
        {d + ".oxVisualisationPoints", l + ".oxCurvePoints"},
        {l + ".oyCrvLenOut", d + ".oyLength"},
        {l + ".oyCrvPtsCountOut", d + ".oyPointsCount"},
        {d + ".oyVisualisationPoints", l + ".oyCurvePoints"},
        {l + ".ozCrvLenOut", d + ".ozLength"},
        {l + ".ozCrvPtsCountOut", d + ".ozPointsCount"},
        {d + ".ozVisualisationPoints", l + ".ozCurvePoints"},
    };
}

MPxDeformerNode* deformerNode(const std::string& name) {
    MFnDependencyNode fn(hx::Host::instance().object(name));
    return dynamic_cast<MPxDeformerNode*>(fn.userNode());
}

}  // namespace

class Accessory : public PluginTest {
protected:
    void expectWired(const std::string& deformer, const std::string& transform, const std::string& locator) {
        for (const Connection& c : accessoryConnections(deformer, transform, locator)) {
            EXPECT_EQ(host().sourceOf(c.destination), c.source) << c.destination;
            EXPECT_EQ(host().destinationsOf(c.source), std::vector<std::string>{c.destination}) << c.source;
        }
    }
};

TEST_F(Accessory, TheDeformerCommandAddsATransformWithALocatorUnderItQuietly) {
    mStderr.start();
    ASSERT_NO_FATAL_FAILURE(deformBlob(latticePoints()));
    EXPECT_EQ(mStderr.finish(), "");

    EXPECT_EQ(host().typeOf("transform1"), "transform");
    EXPECT_EQ(host().parentOf("transform1"), "") << "under the world";
    EXPECT_EQ(host().typeOf("noiseLocator1"), "noiseLocator");
    EXPECT_EQ(host().childrenOf("transform1"), std::vector<std::string>{"noiseLocator1"});
    EXPECT_EQ(host().locators(), std::vector<std::string>{"noiseLocator1"});
}

TEST_F(Accessory, TheTenConnectionsJoinTransformLocatorAndDeformer) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(latticePoints()));
    expectWired("hxNoise1", "transform1", "noiseLocator1");
}

TEST_F(Accessory, EachDeformerGetsALocatorOfItsOwn) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(latticePoints()));
    ASSERT_NO_FATAL_FAILURE(makeMesh("rock", "rockShape", {0, 0, 0, 1, 0, 0, 0, 1, 0}));
    std::string second;
    ASSERT_TRUE(host().deformer("hxNoise", "rockShape", &second)) << host().lastError();
    EXPECT_EQ(second, "hxNoise2");
    expectWired("hxNoise1", "transform1", "noiseLocator1");
    expectWired("hxNoise2", "transform2", "noiseLocator2");
}

TEST_F(Accessory, TheLocatorDrivesLengthsAndCountsAndReceivesTheCurves) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(latticePoints()));
    ASSERT_NO_FATAL_FAILURE(setField("hxNoise1", lumpyField()));

    // The locator's defaults replace the deformer's own 0.0 and 0.
    for (const char* axis : {"ox", "oy", "oz"}) {
        EXPECT_EQ(get1(std::string("hxNoise1.") + axis + "Length"), 1.0) << axis;
        EXPECT_EQ(get1(std::string("hxNoise1.") + axis + "PointsCount"), 30.0) << axis;
    }

    set("noiseLocator1.oyCrvLenIn", 2.75);
    set("noiseLocator1.oyCrvPtsCountIn", 12);
    EXPECT_EQ(get1("hxNoise1.oyLength"), 2.75);
    EXPECT_EQ(get1("hxNoise1.oyPointsCount"), 12.0);

    // Each curve the locator holds is the deformer's curve of the same axis.
    EXPECT_TRUE(sameBits(get("noiseLocator1.oyCurvePoints"), coreCurve(kNoiseAxisY, 2.75f, 12, lumpyField())));
    for (const char* axis : {"ox", "oy", "oz"})
        EXPECT_TRUE(sameBits(get(std::string("noiseLocator1.") + axis + "CurvePoints"),
                             get(std::string("hxNoise1.") + axis + "VisualisationPoints")))
            << axis;
    EXPECT_EQ(get("noiseLocator1.ozCurvePoints").size(), 90u);
}

TEST_F(Accessory, TheAccessoryAttributeIsTheDeformSpace) {
    ASSERT_NO_FATAL_FAILURE(deformBlob(latticePoints()));
    MPxDeformerNode* deformer = deformerNode("hxNoise1");
    ASSERT_NE(deformer, nullptr);
    MObject& attribute = deformer->accessoryAttribute();
    EXPECT_EQ(&attribute, &deformer->accessoryAttribute()) << "the class-wide handle itself, not a copy";
    EXPECT_TRUE(attribute == MFnDependencyNode(host().object("hxNoise1")).attribute("deformSpace"));
    EXPECT_EQ(std::string(MFnAttribute(attribute).name().asChar()), "deformSpace");
    EXPECT_EQ(host().sourceOf("hxNoise1.deformSpace"), "transform1.matrix");
}

TEST_F(Accessory, SetUpOnlyQueuesEditsForTheHostToExecute) {
    // What the deformer command does, step by step: the set-up fills a modifier, the host
    // executes it, and can undo it.
    const std::string deformer = create("hxNoise");
    const std::vector<std::string> before = host().listNodes();
    MDagModifier modifier;

    mStderr.start();
    const MStatus status = deformerNode(deformer)->accessoryNodeSetup(modifier);
    EXPECT_EQ(mStderr.finish(), "");
    EXPECT_EQ(status.statusCode(), MStatus::kSuccess);
    EXPECT_EQ(host().listNodes(), before) << "nothing joins the scene before the host executes the edits";
    EXPECT_EQ(host().sourceOf(deformer + ".deformSpace"), "");

    ASSERT_TRUE(modifier.doIt());
    EXPECT_EQ(host().listNodes("transform"), std::vector<std::string>{"transform1"});
    EXPECT_EQ(host().listNodes("noiseLocator"), std::vector<std::string>{"noiseLocator1"});
    expectWired(deformer, "transform1", "noiseLocator1");

    ASSERT_TRUE(modifier.undoIt());
    EXPECT_EQ(host().listNodes(), before);
    EXPECT_EQ(host().sourceOf(deformer + ".oxLength"), "");
}

// Set-up meeting a refusal: the failure is reported where the plug-in checks that step, the
// rest of the set-up is still queued, and the first failure is what it returns.
class AccessoryFailures : public Accessory {
protected:
    // The set-up as the deformer command runs it, then the host executing what it queued.
    MStatus setUp() {
        const std::string deformer = create("hxNoise");
        mStderr.start();
        const MStatus status = deformerNode(deformer)->accessoryNodeSetup(mModifier);
        mWritten = mStderr.finish();
        EXPECT_TRUE(mModifier.doIt()) << host().lastError();
        return status;
    }

    // The destinations of the accessory connections that were made.
    std::vector<std::string> connected() {
        std::vector<std::string> made;
        for (const Connection& c : accessoryConnections("hxNoise1", "transform1", "noiseLocator1"))
            if (host().sourceOf(c.destination) == c.source) made.push_back(c.destination);
        return made;
    }

    // Every accessory connection's destination but `missing`.
    std::vector<std::string> allBut(const std::string& missing) {
        std::vector<std::string> rest;
        for (const Connection& c : accessoryConnections("hxNoise1", "transform1", "noiseLocator1"))
            if (c.destination != missing) rest.push_back(c.destination);
        return rest;
    }

    MDagModifier mModifier;
    std::string mWritten;
};

TEST_F(AccessoryFailures, ARefusedConnectionIsReportedReturnedAndTheOthersStillMade) {
    // The fifth connection takes the Y length to the deformer.
    hx::FaultPlan faults;
    faults.failCall("MDGModifier::connect", 5);
    const MStatus status = setUp();

    const std::string refusal = "(kFailure): MDGModifier::connect: injected failure on 'oyLength'";
    EXPECT_EQ(std::string(status.errorString().asChar()), refusal) << "not the last connection's success";
    EXPECT_EQ(mWritten, statusReport(sourceLine("thisNode, *axis.length", "HX_CHECK(stat)"), refusal));
    EXPECT_EQ(faults.calls("MDGModifier::connect"), 10u);
    EXPECT_EQ(connected(), allBut("hxNoise1.oyLength"));
}

TEST_F(AccessoryFailures, AFailedLengthLookUpIsReportedAndSoIsTheConnectionThatNeededIt) {
    hx::FaultPlan faults;
    faults.failCallsOn("MFnDependencyNode::attribute", "oyCrvLenOut");
    const MStatus status = setUp();

    const std::string refusal = "(kFailure): MFnDependencyNode::attribute: injected failure on 'oyCrvLenOut'";
    EXPECT_EQ(std::string(status.errorString().asChar()), refusal);
    EXPECT_EQ(mWritten, statusReport(sourceLine("\"CrvLenOut\"", "HX_CHECK(stat)"), refusal) +
                            statusReport(sourceLine("thisNode, *axis.length", "HX_CHECK(stat)"),
                                         "(kInvalidParameter): connect: an attribute is null"));
    EXPECT_EQ(connected(), allBut("hxNoise1.oyLength"));
}

TEST_F(AccessoryFailures, AFailedCreationIsReturnedThoughOnlyTheStepsAfterItAreReported) {
    hx::FaultPlan faults;
    faults.failCallsOn("MDagModifier::createNode", "noiseLocator");
    const MStatus status = setUp();

    EXPECT_EQ(std::string(status.errorString().asChar()),
              "(kFailure): MDagModifier::createNode: injected failure on 'noiseLocator'");
    // Without a locator the three length look-ups and the nine connections to it fail.
    size_t reports = 0;
    for (size_t at = mWritten.find("API error detected"); at != std::string::npos;
         at = mWritten.find("API error detected", at + 1))
        ++reports;
    EXPECT_EQ(reports, 12u) << mWritten;
    EXPECT_EQ(connected(), std::vector<std::string>{"hxNoise1.deformSpace"});
    EXPECT_TRUE(host().childrenOf("transform1").empty());
}

TEST_F(AccessoryFailures, TheDeformerCommandTakesNoHalfWiredAccessory) {
    ASSERT_NO_FATAL_FAILURE(makeMesh("blob", "blobShape", latticePoints()));
    const std::vector<std::string> before = host().listNodes();

    hx::FaultPlan faults;
    faults.failCall("MDGModifier::connect", 10);
    mStderr.start();
    const hx::Result result = host().deformer("hxNoise", "blobShape");
    const std::string written = mStderr.finish();

    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("accessoryNodeSetup of 'hxNoise' failed"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("injected failure on 'ozCurvePoints'"), std::string::npos) << result.error;
    EXPECT_EQ(written.rfind("\nAPI error detected in ../src/HXNoise.cpp", 0), 0u) << written;
    EXPECT_EQ(host().listNodes(), before);
    EXPECT_EQ(host().sourceOf("blobShape.inMesh"), "");
}
