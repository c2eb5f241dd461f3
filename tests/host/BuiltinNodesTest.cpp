// The host's own node types a scene can hold without any plug-in: the time node every scene
// has (time1) and the locator.
#include "HostFixture.h"

#include <GlRecorder.h>
#include <maya/M3dView.h>  // after gtest: its X11 headers define None, Bool, ...

using BuiltinNodes = HostTest;
using hx::gl::Call;

TEST_F(BuiltinNodes, EverySceneHasTime1AtFrameOne) {
    EXPECT_TRUE(host().exists("time1"));
    EXPECT_EQ(host().typeOf("time1"), "time");
    EXPECT_EQ(get1("time1.outTime"), 1.0);
    EXPECT_TRUE(host().listNodes().empty()) << "listNodes leaves the default nodes out";

    ASSERT_TRUE(host().setAttr("time1.o", 48));
    EXPECT_EQ(get1("time1.outTime"), 48.0);
    host().reset();
    EXPECT_EQ(get1("time1.outTime"), 1.0) << "a reset brings a fresh time1";
}

TEST_F(BuiltinNodes, Time1CannotBeDeletedOrRenamed) {
    hx::Result result = host().deleteNode("time1");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error, "'time1' is a default node of every scene and cannot be deleted");
    result = host().rename("time1", "clock");
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("keeps its name"), std::string::npos) << result.error;
    EXPECT_TRUE(host().exists("time1"));

    // Another time node is an ordinary one.
    ASSERT_TRUE(host().createNode("time"));
    EXPECT_EQ(host().listNodes("time"), std::vector<std::string>{"time2"});
    EXPECT_TRUE(host().deleteNode("time2"));
}

TEST_F(BuiltinNodes, ALocatorDrawsItsCrossAtItsPositionAndScale) {
    const std::string locator = create("locator");
    EXPECT_EQ(host().parentOf(locator), "transform1") << "a shape gets a transform";
    EXPECT_EQ(host().locators(), std::vector<std::string>{locator});
    ASSERT_TRUE(host().setAttr(locator + ".localPosition", {1, 2, 3}));
    ASSERT_TRUE(host().setAttr(locator + ".localScale", {0.5, 2, 1}));

    hx::gl::clearRecordedCalls();
    ASSERT_TRUE(host().drawLocator(locator));
    const std::vector<Call> expected = {Call("glBegin", {GL_LINES}),     Call("glVertex3f", {0.5, 2, 3}),
                                        Call("glVertex3f", {1.5, 2, 3}), Call("glVertex3f", {1, 0, 3}),
                                        Call("glVertex3f", {1, 4, 3}),   Call("glVertex3f", {1, 2, 2}),
                                        Call("glVertex3f", {1, 2, 4}),   Call("glEnd")};
    const std::vector<Call> calls = hx::gl::recordedCalls();
    EXPECT_TRUE(calls == expected) << hx::gl::describe(calls);

    bool bounded = false;
    MBoundingBox box;
    ASSERT_TRUE(host().locatorBounds(locator, bounded, box));
    EXPECT_TRUE(bounded);
    EXPECT_EQ(box.min(), MPoint(0.5, 0, 2));
    EXPECT_EQ(box.max(), MPoint(1.5, 4, 4));
}
