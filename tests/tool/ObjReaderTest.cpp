// The OBJ reader: statements in their place, the same mesh from a file, memory or a pipe,
// and refusals that name the input and the line.
#include "ObjMesh.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;
using hx::Mesh;
using Kind = hx::Mesh::Statement::Kind;

namespace {

const std::string kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

class ScratchFile
{
public:
    explicit ScratchFile(const std::string& text)
    {
        char pattern[] = "/tmp/hx_objreader_XXXXXX";
        const int fd = ::mkstemp(pattern);
        mPath = pattern;
        ::close(fd);
        std::ofstream(mPath, std::ios::binary) << text;
    }
    ~ScratchFile() { fs::remove(mPath); }
    const std::string& path() const { return mPath; }

private:
    std::string mPath;
};

// "kind:beforeFace:text" for each statement, to compare lists at a glance.
std::vector<std::string> statementList(const Mesh& mesh)
{
    static const char* const kKinds[] = {"o", "g", "usemtl", "s"};
    std::vector<std::string> list;
    for (const Mesh::Statement& s : mesh.statements())
        list.push_back(std::string(kKinds[static_cast<int>(s.kind)]) + ":" + std::to_string(s.beforeFace) + ":" +
                       s.text);
    return list;
}

// The group and material in force at each face, as a reader of the file would apply them.
std::vector<std::string> groupAndMaterialOfFaces(const Mesh& mesh)
{
    std::vector<std::string> faces;
    std::string group = "default", material = "(none)";
    std::size_t next = 0;
    for (std::size_t face = 0; face < mesh.faceCount(); ++face) {
        for (; next < mesh.statements().size() && mesh.statements()[next].beforeFace <= face; ++next) {
            const Mesh::Statement& s = mesh.statements()[next];
            if (s.kind == Kind::Group) group = s.text.empty() ? "default" : s.text;
            if (s.kind == Kind::Material) material = s.text.empty() ? "(none)" : s.text;
        }
        faces.push_back(group + "/" + material);
    }
    return faces;
}

std::string writtenText(const Mesh& mesh)
{
    std::string text;
    hx::StringSink sink(text);
    hx::writeObj(mesh, sink);
    return text;
}

void expectSameMesh(const Mesh& a, const Mesh& b)
{
    EXPECT_EQ(a.positions(), b.positions());
    EXPECT_EQ(a.texCoords(), b.texCoords());
    EXPECT_EQ(a.normals(), b.normals());
    EXPECT_EQ(a.faceSizes(), b.faceSizes());
    EXPECT_EQ(a.faceVertexIndices(), b.faceVertexIndices());
    EXPECT_EQ(a.faceTexCoordIndices(), b.faceTexCoordIndices());
    EXPECT_EQ(a.faceNormalIndices(), b.faceNormalIndices());
    EXPECT_EQ(statementList(a), statementList(b));
    EXPECT_EQ(a.materialLibraries(), b.materialLibraries());
}

std::string readError(const std::string& text, const std::string& name)
{
    try {
        hx::readObjText(text, name);
    } catch (const hx::ObjReadError& error) {
        return error.what();
    }
    return "(no error)";
}

} // namespace

TEST(ObjStatements, ABareGroupOrMaterialBeforeANamedOneLeavesTheFaceInTheNamedOne)
{
    // The bare ones come first: the face belongs to "body" and "red", and stays there when
    // the mesh is written and read back.
    const Mesh mesh = hx::readObjText(kTriangle + "g\ng body\nusemtl\nusemtl red\nf 1 2 3\n", "in.obj");
    EXPECT_EQ(statementList(mesh), (std::vector<std::string>{"g:0:", "g:0:body", "usemtl:0:", "usemtl:0:red"}));
    EXPECT_EQ(groupAndMaterialOfFaces(mesh), std::vector<std::string>{"body/red"});

    const Mesh again = hx::readObjText(writtenText(mesh), "out.obj");
    EXPECT_EQ(statementList(again), statementList(mesh));
    EXPECT_EQ(groupAndMaterialOfFaces(again), std::vector<std::string>{"body/red"});

    // And the other way round: named, then bare, leaves the face in the default group.
    const Mesh back = hx::readObjText(kTriangle + "g body\ng\nusemtl red\nusemtl\nf 1 2 3\n", "in.obj");
    EXPECT_EQ(groupAndMaterialOfFaces(hx::readObjText(writtenText(back), "out.obj")),
              std::vector<std::string>{"default/(none)"});
}

TEST(ObjStatements, EveryKindKeepsItsPlaceAmongTheFaces)
{
    const Mesh mesh = hx::readObjText("mtllib a.mtl b.mtl\n" + kTriangle +
                                          "o first\ng  left\t right \nusemtl clay\ns 1\nf 1 2 3\n"
                                          "s off\nf 3 2 1\nmtllib c.mtl\no second\ng\nusemtl\ns\nf 1 3 2\n"
                                          "g trailing\n",
                                      "in.obj");
    const std::vector<std::string> expected = {
        "o:0:first",  "g:0:left right", "usemtl:0:clay", "s:0:1", "s:1:off",
        "o:2:second", "g:2:",           "usemtl:2:",     "s:2:",  "g:3:trailing"};
    EXPECT_EQ(statementList(mesh), expected);
    EXPECT_EQ(mesh.materialLibraries(), (std::vector<std::string>{"a.mtl b.mtl", "c.mtl"}));
    EXPECT_EQ(mesh.nodeName(), "first");

    const Mesh again = hx::readObjText(writtenText(mesh), "out.obj");
    EXPECT_EQ(statementList(again), expected);
    EXPECT_EQ(again.materialLibraries(), mesh.materialLibraries());
}

TEST(ObjSources, AFileMemoryAndAPipeGiveTheSameMesh)
{
    // Mixed line ends, and a mesh over two 4 MiB blocks, so that lines and "\r\n" pairs are
    // cut between reads.
    std::string text = "o big\r\n";
    for (int i = 0; i < 200000; ++i)
        text += "v " + std::to_string(i) + ".125 -0.5 " + std::to_string(i % 7) + "e-3\r\nvt 0.25 " +
                std::to_string(i % 3) + "\r";
    for (int i = 1; i + 2 <= 200000; i += 2)
        text += "f " + std::to_string(i) + "/" + std::to_string(i) + " " + std::to_string(i + 1) + "/1 -1/-2\n";
    ASSERT_GT(text.size(), 8u << 20);

    const Mesh fromMemory = hx::readObjText(text, "memory");
    EXPECT_EQ(fromMemory.vertexCount(), 200000u);
    EXPECT_EQ(fromMemory.texCoordCount(), 200000u);
    EXPECT_EQ(fromMemory.faceCount(), 99999u);
    EXPECT_EQ(fromMemory.positions()[3 * 199999], 199999.125);

    const ScratchFile file(text);
    expectSameMesh(hx::readObjFile(file.path()), fromMemory);

    // Through a pipe written in odd-sized pieces, as standard input delivers it.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::thread writer([&] {
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t piece = std::min<std::size_t>(text.size() - at, 1 + (at * 7919) % 70000);
            const ssize_t written = ::write(fds[1], text.data() + at, piece);
            if (written <= 0) break;
            at += static_cast<std::size_t>(written);
        }
        ::close(fds[1]);
    });
    const Mesh fromPipe = hx::readObjFd(fds[0], "standard input");
    writer.join();
    ::close(fds[0]);
    expectSameMesh(fromPipe, fromMemory);
}

TEST(ObjSources, RefusalsNameTheInputAndTheLineWhereverItCameFrom)
{
    const std::string text = kTriangle + "vt 0 0\r\nf 1/1 2/1 3/2\n";
    EXPECT_EQ(readError(text, "standard input"),
              "standard input:5: face names texture coordinate 2 but the file has only 1");

    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(fds[1]);
    try {
        hx::readObjFd(fds[0], "standard input");
        ADD_FAILURE() << "read a mesh with a missing texture coordinate";
    } catch (const hx::ObjReadError& error) {
        EXPECT_STREQ(error.what(), "standard input:5: face names texture coordinate 2 but the file has only 1");
    }
    ::close(fds[0]);

    // Nothing at all on the pipe.
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[1]);
    EXPECT_THROW(hx::readObjFd(fds[0], "standard input"), hx::ObjReadError);
    ::close(fds[0]);

    // Lines are counted the same whatever ends them; a lone "\r" ends one too.
    EXPECT_EQ(readError("v 0 0 0\r\n\rv 1 x 0\n", "in.obj"), "in.obj:3: vertex number 'x' is not a number");
    // Leading zeros and relative indices are whole indices; a sign before a positive one is not.
    const Mesh mesh = hx::readObjText(kTriangle + "vn 0 0 1\nf 01//1 2//-1 -1//001\n", "in.obj");
    EXPECT_EQ(mesh.faceVertexIndices(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(mesh.faceNormalIndices(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(readError(kTriangle + "f 1 2 +3\n", "in.obj"),
              "in.obj:4: face corner '+3' has '+3', not a whole vertex index");
    EXPECT_EQ(readError(kTriangle + "f 1 2 3/\n", "in.obj"),
              "in.obj:4: face corner '3/' lacks a texture coordinate index");
    EXPECT_EQ(readError(kTriangle + "f 1 2 2147483648\n", "in.obj"),
              "in.obj:4: face corner '2147483648' has '2147483648', not a whole vertex index");
}
