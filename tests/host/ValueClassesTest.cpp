// The API's value classes: the arrays, the single-precision point and vector, colours,
// strings, and the messages MGlobal displays.
#include <maya/MColor.h>
#include <maya/MDoubleArray.h>
#include <maya/MFloatMatrix.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVector.h>
#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MStringArray.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

TEST(Arrays, GrowInsertRemoveAndRefuseIndicesOutOfRange) {
    MIntArray numbers(3, 7);
    EXPECT_EQ(numbers.length(), 3u);
    EXPECT_TRUE(numbers.append(9));
    EXPECT_TRUE(numbers.insert(1, 0));
    EXPECT_TRUE(numbers.remove(2));
    int copied[4] = {0, 0, 0, 0};
    numbers.get(copied);
    EXPECT_EQ(std::vector<int>(copied, copied + 4), (std::vector<int>{1, 7, 7, 9}));

    EXPECT_EQ(numbers.set(5, 4), MS::kInvalidParameter);
    EXPECT_EQ(numbers.insert(5, 5), MS::kInvalidParameter);
    EXPECT_EQ(numbers.remove(4), MS::kInvalidParameter);
    EXPECT_EQ(numbers.length(), 4u) << "a refused call changes nothing";

    // Appending an element of the array itself while it grows keeps the element.
    MStringArray words;
    words.append("first");
    for (int i = 0; i < 20; ++i) words.append(words[0]);
    EXPECT_EQ(words.length(), 21u);
    EXPECT_EQ(words[20], "first");
    words.setSizeIncrement(64);
    EXPECT_EQ(words.sizeIncrement(), 64u);

    const double raw[3] = {0.5, 1.5, 2.5};
    MDoubleArray values(raw, 3);
    MDoubleArray copy;
    copy.copy(values);
    copy.setLength(5);
    EXPECT_EQ(copy.length(), 5u);
    EXPECT_EQ(copy[2], 2.5);
    EXPECT_EQ(copy[4], 0.0) << "new elements hold the default";
    float narrow[3];
    values.get(narrow);
    EXPECT_EQ(narrow[1], 1.5f);
    copy.clear();
    EXPECT_EQ(copy.length(), 0u);
}

TEST(FloatPointsAndVectors, RoundEachOperationToFloat) {
    const MFloatVector a(1.0f, 2.0f, 3.0f), b(0.1f, 0.2f, 0.3f);
    EXPECT_EQ(a + b, MFloatVector(1.0f + 0.1f, 2.0f + 0.2f, 3.0f + 0.3f));
    EXPECT_EQ(a * 0.1f, MFloatVector(1.0f * 0.1f, 2.0f * 0.1f, 3.0f * 0.1f));
    EXPECT_EQ((a ^ MFloatVector::xAxis), MFloatVector(0.0f, 3.0f, -2.0f));
    EXPECT_FLOAT_EQ(a * b, 1.4f);
    EXPECT_FLOAT_EQ(MFloatVector(3, 4, 0).length(), 5.0f);
    EXPECT_FLOAT_EQ(MFloatVector::xAxis.angle(MFloatVector::yAxis), 1.5707964f);

    MFloatMatrix move;
    move.matrix[3][0] = 2.0f;  // translation lives in row 3
    MFloatPoint p(1.0f, 1.0f, 1.0f);
    EXPECT_EQ(p * move, MFloatPoint(3.0f, 1.0f, 1.0f));
    EXPECT_EQ(MFloatVector(1.0f, 1.0f, 1.0f) * move, MFloatVector(1.0f, 1.0f, 1.0f)) << "vectors ignore translation";
    EXPECT_EQ(p - MFloatPoint::origin, MFloatVector(1.0f, 1.0f, 1.0f));
    EXPECT_TRUE(MFloatPoint(2, 4, 6, 2).cartesianize().isEquivalent(MFloatPoint(1, 2, 3)));

    MFloatPoint cast;
    cast.setCast(MPoint(0.1, 0.2, 0.3));
    EXPECT_EQ(cast, MFloatPoint(0.1f, 0.2f, 0.3f));
    MFloatPointArray points(2, MFloatPoint(1, 2, 3));
    float coordinates[2][4];
    points.get(coordinates);
    EXPECT_EQ(coordinates[1][2], 3.0f);
    EXPECT_EQ(coordinates[1][3], 1.0f);
}

TEST(Matrices, CompareByValueAndClampIndicesPastTheLastRow) {
    MMatrix turned;
    turned[0][1] = -0.0;  // what a half turn leaves
    EXPECT_TRUE(turned == MMatrix::identity) << "0 and -0 are the same value";
    turned[0][1] = std::nan("");
    EXPECT_FALSE(turned == turned) << "a NaN equals nothing";
    EXPECT_EQ(MMatrix::identity(5, 1), 0.0) << "row 5 is read as the last row, 3";
    EXPECT_EQ(MMatrix::identity[9][3], 1.0);
}

TEST(Colours, ConvertBetweenModels) {
    EXPECT_EQ(MColor(MColor::kHSV, 120.0f, 1.0f, 0.5f), MColor(0.0f, 0.5f, 0.0f));
    EXPECT_EQ(MColor(MColor::kCMY, 1.0f, 0.0f, 0.25f), MColor(0.0f, 1.0f, 0.75f));
    const MColor bytes(MColor::kRGB, static_cast<unsigned char>(255), static_cast<unsigned char>(0),
                       static_cast<unsigned char>(51), static_cast<unsigned char>(255));
    EXPECT_EQ(bytes, MColor(1.0f, 0.0f, 0.2f, 1.0f));

    float h, s, v;
    ASSERT_TRUE(MColor(0.0f, 0.5f, 0.5f).get(MColor::kHSV, h, s, v));
    EXPECT_FLOAT_EQ(h, 180.0f);
    EXPECT_FLOAT_EQ(s, 1.0f);
    EXPECT_FLOAT_EQ(v, 0.5f);
    EXPECT_FALSE(MColor().get(MColor::kCMYK, h, s, v));
    EXPECT_EQ(MColor(1, 1, 1) * 0.5f + MColor(0, 0, 1, 0), MColor(0.5f, 0.5f, 1.5f, 0.5f));
    EXPECT_EQ(MColor(MColor::kHSV, 720.0f, 0.0f, 1.0f), MColor(1, 1, 1)) << "hue wraps";
}

TEST(Strings, SetReplacesTheText) {
    MString text("old");
    text.set("new text", 3);
    EXPECT_EQ(text, "new");
    text.set(0.25);
    EXPECT_EQ(text, "0.25");
    text.set(2.0 / 3.0, 2);
    EXPECT_EQ(text, "0.67");
    text.set(static_cast<const char*>(nullptr));
    EXPECT_EQ(text.length(), 0u);
    EXPECT_EQ(text.set(1.0, -1), MS::kInvalidParameter);
}

TEST(Messages, GoToStandardErrorInTheHostsForm) {
    testing::internal::CaptureStderr();
    MGlobal::displayInfo("loaded 3 meshes");
    MGlobal::displayWarning("no locator");
    MGlobal::displayError(MString("period ") + 0.0 + " is not positive");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "loaded 3 meshes\nWarning: no locator\nError: period 0 is not positive\n");
}
