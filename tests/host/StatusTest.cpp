// How failed statuses are reported on standard error.
#include <maya/MIOStream.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <gtest/gtest.h>

namespace {

// The line the check below reports (keep them together).
int checkFailing(MStatus status) {
    const int line = __LINE__ + 1;
    CHECK_MSTATUS(status);
    return line;
}

MStatus returnOnFailure(MStatus status, bool& reachedEnd) {
    CHECK_MSTATUS_AND_RETURN_IT(status);
    reachedEnd = true;
    return MS::kSuccess;
}

}  // namespace

TEST(StatusReport, CheckWritesFileLineAndTheErrorText) {
    testing::internal::CaptureStderr();
    const int line = checkFailing(MS::kFailure);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written, "\nAPI error detected in " __FILE__ " at line " + std::to_string(line) +
                           "\n(kFailure): Unexpected Internal Failure\n");
}

TEST(StatusReport, CheckOnSuccessWritesNothing) {
    testing::internal::CaptureStderr();
    checkFailing(MS::kSuccess);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(StatusReport, PerrorPutsThePrefixFirst) {
    testing::internal::CaptureStderr();
    MStatus(MS::kInvalidParameter).perror("registerNode");
    MStatus(MS::kNotFound).perror(MString("plug"));
    MStatus(MS::kUnknownParameter).perror("");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "registerNode: (kInvalidParameter): Invalid Parameter\n"
              "plug: (kNotFound): Not Found\n"
              "(kUnknownParameter): Unknown Parameter\n");
}

TEST(StatusReport, ReturningChecksStopOnlyOnFailure) {
    bool reached = false;
    testing::internal::CaptureStderr();
    EXPECT_EQ(returnOnFailure(MS::kNotImplemented, reached), MS::kNotImplemented);
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(reached);
    EXPECT_EQ(returnOnFailure(MS::kSuccess, reached), MS::kSuccess);
    EXPECT_TRUE(reached);
}

TEST(StatusReport, ReturningTheStatusEvaluatesTheCallOnce) {
    int calls = 0;
    auto failingCall = [&calls]() {
        ++calls;
        return MStatus(MS::kFailure);
    };
    auto checked = [&]() -> MStatus {
        CHECK_MSTATUS_AND_RETURN_IT(failingCall());
        return MS::kSuccess;
    };
    testing::internal::CaptureStderr();
    EXPECT_EQ(checked(), MS::kFailure);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(calls, 1);
}

TEST(StatusReport, StatusIsTrueExactlyOnSuccess) {
    EXPECT_TRUE(MStatus());
    EXPECT_FALSE(MStatus(MS::kUnknownParameter));
    EXPECT_TRUE(MS::kFailure == MStatus(MS::kFailure));
    EXPECT_TRUE(MFAIL(MStatus(MS::kFailure)));
    MStatus status(MS::kFailure);
    status.clear();
    EXPECT_EQ(status.statusCode(), MS::kSuccess);
}
