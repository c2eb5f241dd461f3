// ObjMesh: reading, writing back vertex for vertex, and refusing what is not a mesh.
#include "AtomicFile.h"
#include "ObjMesh.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using hx::ObjMesh;

namespace {

class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "hx_objmesh_XXXXXX").string();
        mPath = ::mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ignored;
        fs::permissions(mPath, fs::perms::owner_all, ignored);
        fs::remove_all(mPath, ignored);
    }
    std::string file(const std::string& name, const std::string& content) const
    {
        const std::string path = (mPath / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::string path(const std::string& name) const { return (mPath / name).string(); }
    const fs::path& dir() const { return mPath; }

private:
    fs::path mPath;
};

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string readError(const std::string& path)
{
    try {
        ObjMesh::read(path);
    } catch (const hx::ObjReadError& error) {
        return error.what();
    }
    return "(no error)";
}

const std::string kCube = std::string(HX_TEST_DATA) + "/cube.obj";
const std::string kBlob = std::string(HX_EXAMPLES) + "/blob.obj";

} // namespace

TEST(ObjMeshRead, KeepsVerticesFacesAndStatementsInFileOrder)
{
    const ObjMesh cube = ObjMesh::read(kCube);
    EXPECT_EQ(cube.vertexCount(), 8u);
    EXPECT_EQ(cube.faceCount(), 6u);
    EXPECT_EQ(cube.positions()[21], 0.1); // vertex 8's x
    EXPECT_EQ(cube.texCoords().size(), 8u);
    EXPECT_TRUE(cube.hasNormals());
    EXPECT_EQ(cube.nodeName(), "box");
    ASSERT_EQ(cube.materialLibraries().size(), 1u);
    EXPECT_EQ(cube.materialLibraries()[0], "cube.mtl");

    // Relative indices name the same vertices as absolute ones would: -1 is the last.
    const auto last = cube.corners().begin() + 20;
    EXPECT_EQ(last[0].vertex, 6);
    EXPECT_EQ(last[1].vertex, 0);
    EXPECT_EQ(last[0].texCoord, ObjMesh::kNone);
    EXPECT_EQ(cube.corners()[16].normal, 0);

    std::vector<std::string> statements;
    for (const ObjMesh::Statement& s : cube.statements())
        statements.push_back(std::to_string(s.beforeFace) + ":" + s.text);
    EXPECT_EQ(statements, (std::vector<std::string>{"0:box", "0:sides", "0:grey", "0:off", "4:caps", "4:1"}));
}

TEST(ObjMeshRead, NamesTheTransformAfterTheFirstObjectElseGroup)
{
    TempDir dir;
    EXPECT_EQ(ObjMesh::read(dir.file("g.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\ng leaf\nf 1 2 3\n")).nodeName(), "leaf");
    EXPECT_EQ(ObjMesh::read(dir.file("none.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n")).nodeName(), "");
}

TEST(ObjMeshRoundTrip, PositionsSurviveToTheBitAndTheRestUnchanged)
{
    TempDir dir;
    // Numbers whose shortest text is long, tiny, huge, negative zero and subnormal.
    const std::string text =
        "o awkward\nv 0.1 0.30000000000000004 -0\nv 1e-300 -1.7976931348623157e308 "
        "4.9406564584124654e-324\nv 3.141592653589793 2.718281828459045 123456789.123456789\n"
        "f 1 2 3\n";
    const ObjMesh mesh = ObjMesh::read(dir.file("in.obj", text));
    mesh.write(dir.path("out.obj"));
    const ObjMesh again = ObjMesh::read(dir.path("out.obj"));
    ASSERT_EQ(again.positions().size(), mesh.positions().size());
    EXPECT_EQ(std::memcmp(again.positions().data(), mesh.positions().data(), mesh.positions().size() * sizeof(double)),
              0);
    EXPECT_TRUE(std::signbit(again.positions()[2]));
    // Correct rounding: 0.1 read from text is the double nearest 0.1, not a neighbour.
    EXPECT_EQ(mesh.positions()[0], 0.1);
    EXPECT_EQ(mesh.positions()[1], 0.1 + 0.2);
}

TEST(ObjMeshRoundTrip, TheExampleMeshWritesBackAsTheSameMesh)
{
    TempDir dir;
    const ObjMesh blob = ObjMesh::read(kBlob);
    blob.write(dir.path("blob.obj"));
    const ObjMesh again = ObjMesh::read(dir.path("blob.obj"));
    EXPECT_EQ(again.positions(), blob.positions());
    EXPECT_EQ(again.texCoords(), blob.texCoords());
    EXPECT_EQ(again.faceSizes(), blob.faceSizes());
    ASSERT_EQ(again.corners().size(), blob.corners().size());
    for (std::size_t i = 0; i < blob.corners().size(); ++i) {
        ASSERT_EQ(again.corners()[i].vertex, blob.corners()[i].vertex) << "corner " << i;
        ASSERT_EQ(again.corners()[i].texCoord, blob.corners()[i].texCoord) << "corner " << i;
    }
    EXPECT_EQ(again.nodeName(), "blob");
    EXPECT_EQ(again.statements().size(), blob.statements().size());
    // Written a second time, the text is identical: the format is stable.
    again.write(dir.path("blob2.obj"));
    EXPECT_EQ(contents(dir.path("blob.obj")), contents(dir.path("blob2.obj")));
}

TEST(ObjMeshRoundTrip, NamelessObjectGroupAndMaterialStatementsSurvive)
{
    // "g " alone returns to the default group; written back without its blank it was lost.
    TempDir dir;
    const ObjMesh mesh =
        ObjMesh::read(dir.file("in.obj",
                               "v 0 0 0\nv 1 0 0\nv 0 1 0\no \ng a\nusemtl m\nf 1 2 3\ng \nusemtl \ns\n"
                               "f 3 2 1\n"));
    ASSERT_EQ(mesh.statements().size(), 6u);
    mesh.write(dir.path("out.obj"));
    const ObjMesh again = ObjMesh::read(dir.path("out.obj"));
    ASSERT_EQ(again.statements().size(), mesh.statements().size());
    for (std::size_t i = 0; i < mesh.statements().size(); ++i) {
        EXPECT_EQ(again.statements()[i].kind, mesh.statements()[i].kind) << "statement " << i;
        EXPECT_EQ(again.statements()[i].beforeFace, mesh.statements()[i].beforeFace);
        EXPECT_EQ(again.statements()[i].text, mesh.statements()[i].text);
    }
}

TEST(ObjMeshRoundTrip, ABareGroupLineKeepsTheFacesAfterItOutOfTheGroupBefore)
{
    // "g" with nothing after it, not even a blank, is the default group as well.
    TempDir dir;
    const ObjMesh mesh = ObjMesh::read(dir.file("in.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\ng a\nf 1 2 3\ng\r\nf 3 2 1\n"));
    ASSERT_EQ(mesh.statements().size(), 2u);
    EXPECT_EQ(mesh.statements()[1].kind, ObjMesh::Statement::Kind::Group);
    EXPECT_EQ(mesh.statements()[1].beforeFace, 1u);
    EXPECT_EQ(mesh.statements()[1].text, "");
    mesh.write(dir.path("out.obj"));
    EXPECT_EQ(ObjMesh::read(dir.path("out.obj")).statements().size(), 2u);
}

TEST(ObjMeshRoundTrip, NormalsAreRecomputedFromTheCurrentPositions)
{
    TempDir dir;
    ObjMesh cube = ObjMesh::read(kCube);
    // Flatten the cube onto y = 0 from above: the faces that use the file's one normal are
    // now four thin sides and one cap that points along x.
    for (std::size_t v = 0; v < cube.vertexCount(); ++v) cube.positions()[3 * v + 1] *= 1e-3;
    cube.write(dir.path("out.obj"));
    const ObjMesh out = ObjMesh::read(dir.path("out.obj"));

    // Each normal of the file is recomputed in its place: the corners keep their indices.
    ASSERT_EQ(out.normals().size(), cube.normals().size());
    for (std::size_t i = 0; i < out.corners().size(); ++i) {
        const ObjMesh::Corner corner = out.corners()[i];
        const ObjMesh::Corner before = cube.corners()[i];
        EXPECT_EQ(corner.vertex, before.vertex);
        EXPECT_EQ(corner.texCoord, before.texCoord);
        EXPECT_EQ(corner.normal, before.normal);
    }
    const double* n = &out.normals()[0];
    EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0, 1e-12);
    // The file said (1, 0, 0); the faces that use it now say mostly +x, the cap's side.
    EXPECT_GT(n[0], 0.99);
}

TEST(ObjMeshRead, RefusesWhatIsNotAMeshWithTheReasonAndLine)
{
    TempDir dir;
    const std::string tri = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    struct Case
    {
        std::string name;
        std::string content;
        std::string expected; // a fragment of the one-line message
    };
    const std::vector<Case> cases = {
        {"empty.obj", "", "empty file"},
        {"comments.obj", "# nothing here\n\n", "no vertices"},
        {"binary.obj",
         std::string("v 0 0 0\n\x7f"
                     "ELF\x02\x01\x01\0\0\0",
                     18),
         ":2: binary data"},
        {"missing_vertex.obj", tri + "f 1 2 9\n", ":4: face names vertex 9 but the file has only 3"},
        {"relative_too_far.obj", tri + "f -1 -2 -4\n", ":4: face names vertex -4 but only 3"},
        {"zero_index.obj", tri + "f 0 1 2\n", ":4: vertex index 0"},
        {"missing_uv.obj", tri + "vt 0 0\nf 1/1 2/2 3/1\n", "texture coordinate 2 but the file has only 1"},
        {"nan.obj", "v 0 0 0\nv nan 0 0\nv 0 1 0\n", ":2: vertex number 'nan' is not finite"},
        {"inf.obj", "v 0 0 0\nv 1 -inf 0\nv 0 1 0\n", ":2: vertex number '-inf' is not finite"},
        {"huge.obj", "v 1e400 0 0\n", ":1: vertex number '1e400' is out of the range"},
        {"garbage_number.obj", "v 1 2x 3\n", ":1: vertex number '2x' is not a number"},
        {"short_vertex.obj", "v 1 2\n", ":1: a vertex needs x, y and z"},
        {"two_corners.obj", tri + "f 1 2\n", ":4: a face needs at least 3 corners"},
        {"float_index.obj", tri + "f 1 2 3.5\n", ":4: face corner '3.5' has '3.5', not a whole"},
        {"not_obj.obj", "hello world\n", ":1: 'hello' is not an OBJ statement"},
        {"bad_normal.obj", tri + "vn 0 1\n", ":4: a normal needs exactly x, y and z"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file(c.name, c.content);
        const std::string message = readError(path);
        EXPECT_NE(message.find(c.expected), std::string::npos) << c.name << ": got \"" << message << "\"";
        EXPECT_EQ(message.find('\n'), std::string::npos) << c.name << ": not one line";
        EXPECT_EQ(message.rfind(path, 0), 0u) << c.name << ": the message names the file";
    }
}

TEST(ObjMeshRead, RefusesMissingFilesAndDirectories)
{
    TempDir dir;
    EXPECT_NE(readError(dir.path("absent.obj")).find("No such file"), std::string::npos);
    EXPECT_NE(readError(dir.dir().string()).find("is a directory"), std::string::npos);
}

TEST(ObjMeshRead, AHugeGarbageLineIsRefusedWithoutReadingItWhole)
{
    // Ten million numbers on one line: about 20 MB that no OBJ statement needs.
    TempDir dir;
    std::string line = "v";
    line.reserve(20'000'010);
    for (int i = 0; i < 10'000'000; ++i) line += " 1";
    const std::string message = readError(dir.file("huge_line.obj", "v 0 0 0\n" + line + "\n"));
    EXPECT_NE(message.find(":2: line longer than 1 MiB"), std::string::npos) << message;
}

TEST(ObjMeshRead, WarnsAboutWhatItCannotKeep)
{
    TempDir dir;
    const ObjMesh mesh =
        ObjMesh::read(dir.file("extras.obj", "v 0 0 0 1 0 0\nv 1 0 0 0 1 0\nv 0 1 0\nl 1 2\nl 2 3\nf 1 2 3\n"));
    ASSERT_EQ(mesh.warnings().size(), 2u); // once per kind, not once per line
    EXPECT_NE(mesh.warnings()[0].find(":1: vertex colours are not kept"), std::string::npos);
    EXPECT_NE(mesh.warnings()[1].find(":4: 'l' statements are not kept"), std::string::npos);
}

TEST(ObjMeshWrite, AFailedWriteLeavesTheTargetAsItWas)
{
    TempDir dir;
    const ObjMesh cube = ObjMesh::read(kCube);
    const std::string existing = dir.file("keep.obj", "precious\n");

    // A run that stops before committing (an exception, a crash) leaves no trace.
    {
        hx::AtomicFile file(existing);
        std::fputs("half a mesh", file.stream());
    }
    EXPECT_EQ(contents(existing), "precious\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.dir()), fs::directory_iterator()), 1)
        << "the temporary file was removed";

    // Writing over a directory fails and leaves it alone.
    fs::create_directory(dir.path("adir"));
    EXPECT_THROW(cube.write(dir.path("adir")), hx::FileWriteError);
    EXPECT_TRUE(fs::is_directory(dir.path("adir")));

    // A missing directory is named in the message.
    try {
        cube.write(dir.path("nowhere/out.obj"));
        ADD_FAILURE() << "wrote into a missing directory";
    } catch (const hx::FileWriteError& error) {
        EXPECT_NE(std::string(error.what()).find("does not exist"), std::string::npos);
    }

    // Replacing an existing file is whole: the new mesh, and the file's mode kept.
    fs::permissions(existing, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    cube.write(existing);
    EXPECT_EQ(ObjMesh::read(existing).positions(), cube.positions());
    EXPECT_EQ(fs::status(existing).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(ObjMeshWrite, AReadOnlyDirectoryIsRefused)
{
    TempDir dir;
    const std::string locked = dir.path("locked");
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(locked.c_str(), W_OK) == 0) GTEST_SKIP() << "running as root: a read-only directory is still writable";
    try {
        ObjMesh::read(kCube).write(locked + "/out.obj");
        ADD_FAILURE() << "wrote into a read-only directory";
    } catch (const hx::FileWriteError& error) {
        EXPECT_NE(std::string(error.what()).find("Permission denied"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(fs::exists(locked + "/out.obj"));
}
