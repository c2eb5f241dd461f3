// The OBJ writer: the same bytes to any sink, normals recomputed the way the file shares
// them (hard edges stay hard, smooth patches stay smooth), nothing added to a mesh without.
#include "AtomicFile.h"
#include "ObjMesh.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

using hx::Mesh;

namespace {

const std::string kHardCube = std::string(HX_TEST_DATA) + "/hard_cube.obj";
const std::string kWedge = std::string(HX_TEST_DATA) + "/smoothing_groups.obj";

std::string toText(const Mesh& mesh)
{
    std::string text;
    hx::StringSink sink(text);
    hx::writeObj(mesh, sink);
    return text;
}

std::string fileText(std::FILE* file)
{
    std::rewind(file);
    std::string text;
    char block[4096];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) text.append(block, got);
    return text;
}

std::array<double, 3> normalOf(const Mesh& mesh, int index)
{
    const double* n = &mesh.normals()[3 * static_cast<std::size_t>(index)];
    return {n[0], n[1], n[2]};
}

} // namespace

TEST(ObjWriterSinks, AStreamADescriptorAndMemoryGetTheSameBytes)
{
    const Mesh cube = Mesh::read(kHardCube);
    const std::string text = toText(cube);
    EXPECT_EQ(text.rfind("# written by hxnoise\nv -0.5 -0.5 -0.5\n", 0), 0u) << text;
    EXPECT_NE(text.find("\nvn 0 0 -1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\no hardCube\ns off\nf 1//1 4//1 3//1 2//1\n"), std::string::npos) << text;

    std::FILE* stream = std::tmpfile();
    hx::writeObj(cube, stream, "stream");
    std::fflush(stream);
    EXPECT_EQ(fileText(stream), text);
    std::fclose(stream);

    std::FILE* forDescriptor = std::tmpfile();
    hx::writeObj(cube, ::fileno(forDescriptor), "descriptor");
    EXPECT_EQ(fileText(forDescriptor), text);
    std::fclose(forDescriptor);
}

TEST(ObjWriterSinks, AClosedPipeIsAnErrorNamingTheTarget)
{
    // The tool ignores SIGPIPE so that a closed pipe is an error, not a silent death.
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    try {
        hx::writeObj(Mesh::read(kHardCube), fds[1], "standard output");
        ADD_FAILURE() << "wrote into a pipe nobody reads";
    } catch (const hx::FileWriteError& error) {
        EXPECT_STREQ(error.what(), "cannot write standard output: Broken pipe");
    }
    ::close(fds[1]);
    std::signal(SIGPIPE, previous);
}

TEST(ObjNormals, AHardEdgedCubeKeepsItsSideNormals)
{
    // Written as read, each side's normal is its face's normal again, exactly.
    const Mesh cube = Mesh::read(kHardCube);
    const Mesh written = hx::readObjText(toText(cube), "written.obj");
    EXPECT_EQ(written.normals(), cube.normals());
    EXPECT_EQ(written.faceNormalIndices(), cube.faceNormalIndices());

    // Pull one corner out along the diagonal: only the three sides that meet there turn;
    // the other three keep their axis normals, bit for bit.
    Mesh pulled = cube;
    for (int c = 0; c < 3; ++c) pulled.positions()[3 * 6 + c] += 0.5; // vertex 7, (0.5, 0.5, 0.5)
    const Mesh out = hx::readObjText(toText(pulled), "pulled.obj");
    EXPECT_EQ(normalOf(out, 0), normalOf(cube, 0)); // -z
    EXPECT_EQ(normalOf(out, 2), normalOf(cube, 2)); // -y
    EXPECT_EQ(normalOf(out, 4), normalOf(cube, 4)); // -x
    for (int side : {1, 3, 5}) {
        const auto n = normalOf(out, side);
        EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0, 1e-12) << "side " << side;
        EXPECT_NE(n, normalOf(cube, side)) << "side " << side;
        // Still facing out of its side: the edges between sides stay edges.
        const auto before = normalOf(cube, side);
        EXPECT_GT(n[0] * before[0] + n[1] * before[1] + n[2] * before[2], 0.9) << "side " << side;
    }
}

TEST(ObjNormals, SmoothingGroupsStayAndEachFaceKeepsItsOwnNormal)
{
    const Mesh wedge = Mesh::read(kWedge);
    const Mesh out = hx::readObjText(toText(wedge), "wedge.obj");
    ASSERT_EQ(out.statements().size(), wedge.statements().size());
    for (std::size_t i = 0; i < wedge.statements().size(); ++i) {
        EXPECT_EQ(out.statements()[i].kind, wedge.statements()[i].kind);
        EXPECT_EQ(out.statements()[i].text, wedge.statements()[i].text);
        EXPECT_EQ(out.statements()[i].beforeFace, wedge.statements()[i].beforeFace);
    }
    // The file's normals were the faces' own: recomputed, they come out the same.
    for (int k = 0; k < 5; ++k)
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(out.normals()[3 * k + c], wedge.normals()[3 * k + c], 1e-15);
}

TEST(ObjNormals, ASharedNormalAveragesItsFacesAndAMeshWithoutNormalsGetsNone)
{
    // A roof: two faces meeting at a ridge, each vertex with its own normal. The ridge's
    // normals are shared by both slopes: they point straight up. The eaves' are the slopes'.
    const std::string roof =
        "v 0 0 0\nv 0 1 1\nv 0 0 2\nv 1 0 0\nv 1 1 1\nv 1 0 2\n"
        "vn 0 0 0\nvn 0 0 0\nvn 0 0 0\nvn 0 0 0\nvn 0 0 0\nvn 0 0 0\n"
        "f 1//1 2//2 5//5 4//4\nf 2//2 3//3 6//6 5//5\n";
    const Mesh mesh = hx::readObjText(roof, "roof.obj");
    const Mesh out = hx::readObjText(toText(mesh), "out.obj");
    const double h = std::sqrt(0.5);
    const auto expectNormal = [&](int k, double x, double y, double z) {
        const auto n = normalOf(out, k);
        EXPECT_NEAR(n[0], x, 1e-15) << "normal " << k + 1;
        EXPECT_NEAR(n[1], y, 1e-15) << "normal " << k + 1;
        EXPECT_NEAR(n[2], z, 1e-15) << "normal " << k + 1;
    };
    expectNormal(0, 0, h, -h);
    expectNormal(1, 0, 1, 0);
    expectNormal(2, 0, h, h);
    expectNormal(4, 0, 1, 0);

    // A normal no face uses stays as the file said.
    const Mesh spare = hx::readObjText(roof + "vn 0.6 0.8 0\n", "spare.obj");
    EXPECT_EQ(normalOf(hx::readObjText(toText(spare), "out.obj"), 6), (std::array<double, 3>{0.6, 0.8, 0}));

    const std::string bare = toText(hx::readObjText("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", "bare.obj"));
    EXPECT_EQ(bare.find("vn"), std::string::npos) << bare;
    EXPECT_NE(bare.find("\nf 1 2 3\n"), std::string::npos) << bare;
}
