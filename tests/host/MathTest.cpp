// The host's value classes as plug-ins use them: row-vector matrices, points, boxes, arrays.
#include <maya/MBoundingBox.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MString.h>
#include <maya/MVectorArray.h>

#include <gtest/gtest.h>

namespace {

MMatrix translation(double x, double y, double z) {
    MMatrix m;
    m[3][0] = x;
    m[3][1] = y;
    m[3][2] = z;
    return m;
}

}  // namespace

TEST(Math, PointsMultiplyMatricesAsRowVectors) {
    MMatrix scale;
    scale[0][0] = 2;
    // p * A * B applies A first: scale, then move.
    const MPoint p = MPoint(1, 1, 1) * (scale * translation(0, 0, 5));
    EXPECT_EQ(p, MPoint(2, 1, 6));
    const MPoint q = MPoint(1, 1, 1) * (translation(0, 0, 5) * scale);
    EXPECT_EQ(q, MPoint(2, 1, 6)) << "a translation row is not scaled by a diagonal scale in x";
    EXPECT_EQ(MPoint(1, 0, 0, 0) * translation(3, 3, 3), MPoint(1, 0, 0, 0)) << "w = 0 ignores translation";
}

TEST(Math, InverseUndoesAndSingularGivesIdentity) {
    MMatrix m = translation(1, 2, 3);
    m[0][1] = 0.5;
    m[2][2] = 4;
    EXPECT_TRUE((m * m.inverse()).isEquivalent(MMatrix::identity, 1e-12));
    const MPoint p(0.3, -2, 7);
    EXPECT_TRUE((p * m * m.inverse()).isEquivalent(p, 1e-12));
    MMatrix flat;
    flat[1][1] = 0;  // squashes y: no inverse
    EXPECT_EQ(flat.inverse(), MMatrix::identity);
    EXPECT_EQ(flat.det4x4(), 0.0);
}

TEST(Math, BoundingBoxesTakeAnyOppositeCorners) {
    MBoundingBox box(MPoint(5, 0, 5), MPoint(-5, 0, -5));
    EXPECT_EQ(box.min(), MPoint(-5, 0, -5));
    EXPECT_EQ(box.width(), 10.0);
    EXPECT_EQ(box.height(), 0.0);
    EXPECT_TRUE(box.contains(MPoint(0, 0, 0)));
    EXPECT_FALSE(box.contains(MPoint(0, 0.1, 0)));
    box.transformUsing(translation(0, 1, 0));
    EXPECT_EQ(box.center(), MPoint(0, 1, 0));
    MBoundingBox empty;
    EXPECT_EQ(empty.width(), 0.0);
    empty.expand(MPoint(1, 2, 3));
    EXPECT_EQ(empty.max(), MPoint(1, 2, 3));
}

TEST(Math, VectorArraysGrowCopyAndEdit) {
    MVectorArray array(2, MVector(1, 1, 1));
    for (int i = 0; i < 100; ++i) array.append(array[0]);  // appending one of its own elements
    EXPECT_EQ(array.length(), 102u);
    EXPECT_EQ(array[101], MVector(1, 1, 1));
    MVectorArray copy(array);
    copy.set(MVector(9, 9, 9), 0);
    EXPECT_EQ(array[0], MVector(1, 1, 1));
    EXPECT_TRUE(copy.insert(MVector::zAxis, 1));
    EXPECT_EQ(copy[1], MVector::zAxis);
    EXPECT_EQ(copy.length(), 103u);
    EXPECT_FALSE(copy.set(MVector::zero, 103)) << "out of range";
    EXPECT_FALSE(copy.remove(500));
    copy.clear();
    EXPECT_EQ(copy.length(), 0u);
}

TEST(Math, StringsConcatenateAndCompare) {
    MString s("oxP");
    s += 3;
    s += MString("/") + 0.5;
    EXPECT_EQ(s, "oxP3/0.5");
    s += s;
    EXPECT_EQ(s.length(), 16u);
    EXPECT_EQ(MString("abc", -4), "") << "a negative length gives the empty string";
    EXPECT_EQ(MString("abcdef", 3), "abc");
}
