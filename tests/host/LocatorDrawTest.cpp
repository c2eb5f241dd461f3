// What a locator draws, as the recording GL library saw it.
#include "HostFixture.h"

#include <GlRecorder.h>
#include <maya/M3dView.h>  // after gtest: its X11 headers define None, Bool, ...

using hx::gl::Call;

class LocatorDraw : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        loadTestNodes();
        hx::gl::clearRecordedCalls();
    }
};

namespace {

Call call(const char* name, std::vector<double> args = {}) { return Call{name, std::move(args)}; }

std::vector<Call> axisCrossThenStrip(const std::vector<Call>& strip) {
    std::vector<Call> calls = {call("glPushAttrib", {GL_CURRENT_BIT}), call("glBegin", {GL_LINES}),
                               call("glColor3f", {1, 0, 0}),           call("glVertex3f", {-1, 0, 0}),
                               call("glVertex3f", {1, 0, 0}),          call("glEnd"),
                               call("glColor3f", {0, 0, 1}),           call("glBegin", {GL_LINE_STRIP})};
    calls.insert(calls.end(), strip.begin(), strip.end());
    calls.push_back(call("glEnd"));
    calls.push_back(call("glPopAttrib"));
    return calls;
}

}  // namespace

TEST_F(LocatorDraw, AnUnconnectedLocatorDrawsItsCrossAndAnEmptyStrip) {
    const std::string locator = create("testLocator");
    EXPECT_EQ(host().locators(), std::vector<std::string>{locator});
    hx::Result result = host().drawLocator(locator);
    ASSERT_TRUE(result) << result.error;
    EXPECT_TRUE(result.warnings.empty());
    const std::vector<Call> calls = hx::gl::recordedCalls();
    EXPECT_TRUE(calls == axisCrossThenStrip({})) << hx::gl::describe(calls);
}

TEST_F(LocatorDraw, TheCurveItDrawsIsTheValueItsPlugPulls) {
    const std::string locator = create("testLocator");
    ASSERT_TRUE(host().setAttr(locator + ".curvePoints", {0, 0, 0, 1, 2, 3, 0.1, 0, 0}));
    ASSERT_TRUE(host().drawLocator(locator, M3dView::kGouraudShaded, M3dView::kActive));
    const std::vector<Call> calls = hx::gl::recordedCalls();
    // Coordinates arrive as GLfloat: 0.1 is drawn at its nearest float.
    EXPECT_TRUE(calls == axisCrossThenStrip({call("glVertex3f", {0, 0, 0}), call("glVertex3f", {1, 2, 3}),
                                             call("glVertex3f", {double(0.1f), 0, 0})}))
        << hx::gl::describe(calls);
}

TEST_F(LocatorDraw, BoundsComeFromTheLocator) {
    const std::string locator = create("testLocator");
    bool bounded = false;
    MBoundingBox box;
    ASSERT_TRUE(host().locatorBounds(locator, bounded, box));
    EXPECT_TRUE(bounded);
    EXPECT_EQ(box.width(), 10.0);
    EXPECT_EQ(box.height(), 0.0);
    EXPECT_FALSE(host().drawLocator(host().parentOf(locator))) << "a transform is not a locator";
}
