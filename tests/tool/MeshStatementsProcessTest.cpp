// `hxnoise deform` as a process keeps a mesh's statements and normals as the file has them:
// the statements in their place (a bare g or usemtl before a named one included), smoothing
// groups as they were, a hard-edged cube's side normals.
#include "ToolProcess.h"

#include "ObjMesh.h"

using hxtest::runTool;
using hxtest::TempDir;
using hxtest::ToolRun;

namespace {

// The statement lines of an OBJ text (o, g, usemtl, s, mtllib) with the face lines between
// them counted, so two files can be compared where it matters.
std::vector<std::string> statementLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::size_t faces = 0;
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
        if (line.rfind("f ", 0) == 0) {
            ++faces;
            continue;
        }
        for (const char* keyword : {"o", "g", "usemtl", "s", "mtllib"})
            if (line == keyword || line.rfind(std::string(keyword) + " ", 0) == 0)
                lines.push_back(std::to_string(faces) + ": " + line);
    }
    return lines;
}

} // namespace

TEST(HxnoiseDeformStatements, EveryStatementComesOutInItsPlace)
{
    TempDir dir;
    const std::string input =
        "mtllib scene.mtl\nv 0.1 0.2 0.3\nv 1.3 0.2 0.1\nv 0.2 1.4 0.3\nv 1.2 1.1 0.4\n"
        "g\ng body\nusemtl\nusemtl red\nf 1 2 3\n"
        "o lid\ng lid rim\ns 1\nusemtl blue\nf 2 4 3\n"
        "g\ns off\nusemtl\nf 3 2 1\n";
    hxtest::writeFile(dir / "in.obj", input);
    const ToolRun run = runTool({"deform", "in.obj", "-o", "out.obj", "--set", "hxNoise1.oyNoiseAmp=0.3"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const std::string output = hxtest::readFile(dir / "out.obj");
    EXPECT_EQ(statementLines(output), statementLines(input)) << output;
    // The points moved: this was a deformation, not a copy.
    EXPECT_NE(hx::ObjMesh::read(dir / "out.obj").positions(), hx::ObjMesh::read(dir / "in.obj").positions());
}

TEST(HxnoiseDeformStatements, AHardEdgedCubeAndSmoothingGroupsComeOutAsTheyWent)
{
    TempDir dir;
    for (const char* name : {"hard_cube.obj", "smoothing_groups.obj"}) {
        const std::string input = hxtest::readFile(std::string(HX_TEST_DATA) + "/" + name);
        hxtest::writeFile(dir / name, input);
        // No noise: the points stay, so every normal comes back as the file had it.
        const ToolRun run = runTool({"deform", name, "-o", "out.obj"}, dir.path());
        ASSERT_EQ(run.exitCode, 0) << name << ": " << run.err;

        const hx::ObjMesh in = hx::ObjMesh::read(dir / name);
        const hx::ObjMesh out = hx::ObjMesh::read(dir / "out.obj");
        EXPECT_EQ(statementLines(hxtest::readFile(dir / "out.obj")), statementLines(input)) << name;
        EXPECT_EQ(out.faceNormalIndices(), in.faceNormalIndices()) << name;
        ASSERT_EQ(out.normals().size(), in.normals().size()) << name;
        for (std::size_t i = 0; i < in.normals().size(); ++i)
            EXPECT_NEAR(out.normals()[i], in.normals()[i], 1e-15) << name << ", normal value " << i;
    }
}
