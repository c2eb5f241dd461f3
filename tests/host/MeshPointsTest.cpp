// A mesh's points on their way through the host: handed in by move, lent out without a copy,
// and moved as whole arrays by a deformer (ArrayLift), in object and world space and on any
// number of threads.
#include "HostFixture.h"

#include <maya/MPointArray.h>

#include <cstring>
#include <memory>

namespace {

using Lent = std::shared_ptr<const std::vector<double>>;

// A grid of count points in the xz plane at height y = 0.001 * i, as x, y, z each.
std::vector<double> rowOfPoints(size_t count) {
    std::vector<double> points;
    points.reserve(3 * count);
    for (size_t i = 0; i < count; ++i)
        points.insert(points.end(), {double(i % 1000), 0.001 * double(i), double(i / 1000)});
    return points;
}

// `points` with `by` added to every y, as a deformer adding it in object space computes it.
std::vector<double> lifted(std::vector<double> points, double by) {
    for (size_t i = 1; i < points.size(); i += 3) points[i] += by;
    return points;
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

}  // namespace

class MeshPoints : public HostTest {
protected:
    void TearDown() override {
        host().setThreadCount(0);
        HostTest::TearDown();
    }

    // `points` as the mesh "rowShape" under the transform "row", with an arrayLift on it.
    void liftedRow(const std::vector<double>& points) {
        load("ArrayLift");
        ASSERT_TRUE(host().createNode("transform", "row"));
        ASSERT_TRUE(host().createNode("mesh", "rowShape", "row"));
        ASSERT_TRUE(host().setMesh("rowShape", points, {}, {}));
        ASSERT_TRUE(host().deformer("arrayLift", "rowShape")) << host().lastError();
    }

    std::vector<double> copied(const std::string& shape) {
        std::vector<double> points;
        hx::Result result = host().meshPoints(shape, points);
        EXPECT_TRUE(result) << result.error;
        return points;
    }

    Lent lent(const std::string& shape) {
        Lent points;
        hx::Result result = host().meshPoints(shape, points);
        EXPECT_TRUE(result) << result.error;
        return points ? points : std::make_shared<const std::vector<double>>();
    }
};

TEST_F(MeshPoints, AMovedInMeshEvaluatesToTheSamePointsAndFaces) {
    ASSERT_TRUE(host().createNode("transform", "box"));
    ASSERT_TRUE(host().createNode("mesh", "boxShape", "box"));
    std::vector<double> points = {0, 0, 0, 2, 0, 0, 2, 0, 2, 0, 0, 2, 1, 3, 1};
    std::vector<int> counts = {4, 3, 3}, vertices = {0, 1, 2, 3, 0, 1, 4, 2, 3, 4};
    const std::vector<double> keptPoints = points;
    const std::vector<int> keptCounts = counts, keptVertices = vertices;
    ASSERT_TRUE(host().setMesh("boxShape", std::move(points), std::move(counts), std::move(vertices)));

    EXPECT_EQ(copied("boxShape"), keptPoints);
    EXPECT_EQ(*lent("boxShape"), keptPoints);
    std::vector<int> faceCounts, faceVertices;
    ASSERT_TRUE(host().meshFaces("boxShape", faceCounts, faceVertices));
    EXPECT_EQ(faceCounts, keptCounts);
    EXPECT_EQ(faceVertices, keptVertices);

    // A refused mesh leaves the one before in place, whether it came by move or not.
    std::vector<double> odd = {0, 0, 0, 1};
    EXPECT_FALSE(host().setMesh("boxShape", std::move(odd), {}, {}));
    EXPECT_EQ(copied("boxShape"), keptPoints);
}

TEST_F(MeshPoints, LentPointsStayAsTheyWereWhateverTheSceneDoesNext) {
    const std::vector<double> row = rowOfPoints(5);
    ASSERT_NO_FATAL_FAILURE(liftedRow(row));
    ASSERT_TRUE(host().setAttr("arrayLift1.lift", 0.5));
    const Lent first = lent("rowShape");
    EXPECT_EQ(*first, lifted(row, 0.5));
    EXPECT_EQ(copied("rowShape"), *first) << "the copy and the loan agree";

    // A new evaluation writes new points; the loan keeps the old ones.
    ASSERT_TRUE(host().setAttr("arrayLift1.lift", 2.0));
    const Lent second = lent("rowShape");
    EXPECT_EQ(*second, lifted(row, 2.0));
    EXPECT_EQ(*first, lifted(row, 0.5));

    // The deformer never wrote into its input, which it shared until it moved the points.
    const Lent original = lent("rowShapeOrig");
    EXPECT_EQ(*original, row);

    // New points for the input: every loan keeps what it lent.
    ASSERT_TRUE(host().setMesh("rowShapeOrig", rowOfPoints(3), {}, {}));
    EXPECT_EQ(*lent("rowShape"), lifted(rowOfPoints(3), 2.0));
    EXPECT_EQ(*original, row);
    EXPECT_EQ(*second, lifted(row, 2.0));

    // So does deleting the deformer's shape.
    ASSERT_TRUE(host().deleteNode("row"));
    EXPECT_EQ(*second, lifted(row, 2.0));

    // A name that is not a mesh lends nothing and says why.
    Lent none;
    EXPECT_FALSE(host().meshPoints("row", none));
    EXPECT_FALSE(none);
}

TEST_F(MeshPoints, WholeArraysMoveInObjectAndWorldSpace) {
    const std::vector<double> row = rowOfPoints(4);
    ASSERT_NO_FATAL_FAILURE(liftedRow(row));
    // World y is 2 * y + 10: a lift of 1 in world space is 0.5 in the object's own.
    ASSERT_TRUE(host().setAttr("row.translateY", 10));
    ASSERT_TRUE(host().setAttr("row.scaleY", 2));
    ASSERT_TRUE(host().setAttr("arrayLift1.lift", 1.0));
    EXPECT_EQ(copied("rowShape"), lifted(row, 1.0)) << "object space";
    ASSERT_TRUE(host().setAttr("arrayLift1.inWorld", 1));
    const std::vector<double> world = copied("rowShape");
    const std::vector<double> expected = lifted(row, 0.5);
    ASSERT_EQ(world.size(), expected.size());
    for (size_t i = 0; i < world.size(); ++i) EXPECT_NEAR(world[i], expected[i], 1e-12) << "coordinate " << i;
}

TEST_F(MeshPoints, AMeshLargeEnoughToBeCopiedOnSeveralThreadsMovesTheSameOnAny) {
    // More than twice the points the host copies on one thread, and an odd count.
    const std::vector<double> row = rowOfPoints(300001);
    for (const bool inWorld : {false, true}) {
        std::vector<double> oneThread;
        for (const unsigned int threads : {1u, 2u, 3u}) {
            host().reset();
            host().setThreadCount(threads);
            ASSERT_NO_FATAL_FAILURE(liftedRow(row));
            ASSERT_TRUE(host().setAttr("row.rotate", {30, 0, 15}));
            ASSERT_TRUE(host().setAttr("arrayLift1.lift", 0.25));
            ASSERT_TRUE(host().setAttr("arrayLift1.inWorld", inWorld ? 1 : 0));
            const std::vector<double> moved = copied("rowShape");
            if (threads == 1) {
                oneThread = moved;
                if (!inWorld) {
                    EXPECT_TRUE(sameBits(moved, lifted(row, 0.25)));
                }
                EXPECT_NE(moved, row);
            }
            EXPECT_TRUE(sameBits(moved, oneThread)) << threads << " threads, in world space: " << inWorld;
        }
    }
}

TEST(PointArrays, GrowOnceKeepingTheirPointsAndFillNewOnesWithTheOrigin) {
    MPointArray points;
    ASSERT_TRUE(points.setLength(3));
    for (unsigned int i = 0; i < 3; ++i) EXPECT_EQ(points[i], MPoint(0, 0, 0, 1));
    points[1] = MPoint(1, 2, 3, 0.5);
    ASSERT_TRUE(points.setLength(100000));
    EXPECT_EQ(points[1], MPoint(1, 2, 3, 0.5));
    EXPECT_EQ(points[99999], MPoint(0, 0, 0, 1));
    // Shorter, then longer again within the storage it has: the returning points are new.
    ASSERT_TRUE(points.setLength(1));
    ASSERT_TRUE(points.setLength(2));
    EXPECT_EQ(points[1], MPoint(0, 0, 0, 1));
    // Copies and appends keep every point.
    MPointArray copy(points);
    ASSERT_TRUE(copy.append(MPoint(4, 5, 6)));
    EXPECT_EQ(copy.length(), 3u);
    EXPECT_EQ(copy[2], MPoint(4, 5, 6, 1));
    MPointArray filled(5, MPoint(7, 8, 9));
    EXPECT_EQ(filled[4], MPoint(7, 8, 9, 1));
}
