// Meshes in other formats: the format chosen by the file name, our meshes written and read
// back with their vertex order and faces, files written by Assimp's own exporter read, and
// warnings for what a format cannot hold.
#include "AssimpMesh.h"
#include "ErrorOf.h"
#include "MeshFiles.h"
#include "ObjMesh.h"
#include "TempDir.h"

#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <assimp/Exporter.hpp>

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

namespace fs = std::filesystem;
using hx::Mesh;
using hx::MeshFormat;
using hxtest::errorOf;

namespace {

using hxtest::TempDir;

const std::string kData = HX_TEST_DATA;

// Writes `mesh` as the format of `path` into that file; returns the warnings.
std::vector<std::string> writeFile(const Mesh& mesh, const std::string& path)
{
    std::string bytes;
    hx::StringSink sink(bytes);
    const std::vector<std::string> warnings = hx::writeMesh(mesh, hx::meshFormatForWriting(path), sink, path);
    std::ofstream(path, std::ios::binary) << bytes;
    return warnings;
}

bool mentions(const std::vector<std::string>& warnings, const std::string& fragment)
{
    for (const std::string& w : warnings)
        if (w.find(fragment) != std::string::npos) return true;
    return false;
}

std::vector<float> asFloats(const std::vector<double>& values)
{
    return std::vector<float>(values.begin(), values.end());
}

// A strip of quads, three by two, with its points in no tidy order, texture coordinates per
// vertex and a spare vertex no face uses (vertex 1).
Mesh quadStrip()
{
    std::string text = "o strip\nv 7 7 7\n";
    const int order[] = {5, 0, 10, 3, 8, 1, 11, 6, 2, 9, 4, 7}; // vertex k sits at grid point order[k]
    int at[12];
    for (int k = 0; k < 12; ++k) {
        const int g = order[k];
        at[g] = k + 2;
        text += "v " + std::to_string(g % 4 * 0.25) + " " + std::to_string(g / 4 * 0.5) + " 0.125\n";
    }
    for (int k = 0; k < 12; ++k)
        text += "vt " + std::to_string(order[k] % 4 / 3.0) + " " + std::to_string(order[k] / 4 / 2.0) + "\n";
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i) {
            const int a = at[j * 4 + i], b = at[j * 4 + i + 1], c = at[j * 4 + i + 5], d = at[j * 4 + i + 4];
            text += "f";
            for (int v : {a, b, c, d}) text += " " + std::to_string(v) + "/" + std::to_string(v - 1);
            text += "\n";
        }
    return hx::readObjText(text, "strip.obj");
}

// The same strip cut into triangles, each quad into two, without the spare vertex.
Mesh triangleStrip()
{
    const Mesh quads = quadStrip();
    std::string text = "o strip\n";
    for (std::size_t v = 1; v < quads.vertexCount(); ++v)
        text += "v " + std::to_string(quads.positions()[3 * v]) + " " + std::to_string(quads.positions()[3 * v + 1]) +
                " " + std::to_string(quads.positions()[3 * v + 2]) + "\n";
    for (std::size_t f = 0; f < quads.faceCount(); ++f) {
        const int* q = &quads.faceVertexIndices()[4 * f];
        text += "f " + std::to_string(q[0]) + " " + std::to_string(q[1]) + " " + std::to_string(q[2]) + "\n";
        text += "f " + std::to_string(q[0]) + " " + std::to_string(q[2]) + " " + std::to_string(q[3]) + "\n";
    }
    return hx::readObjText(text, "triangles.obj");
}

// Assimp's own scene of one mesh: a quad and a triangle, texture coordinates, a transform.
std::unique_ptr<aiScene> assimpScene(bool moved)
{
    auto scene = std::make_unique<aiScene>();
    scene->mRootNode = new aiNode("root");
    aiNode* child = new aiNode("part");
    if (moved) child->mTransformation = aiMatrix4x4(1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    scene->mRootNode->addChildren(1, &child);
    scene->mNumMaterials = 1;
    scene->mMaterials = new aiMaterial* [1] { new aiMaterial };
    scene->mNumMeshes = 1;
    scene->mMeshes = new aiMesh* [1] { new aiMesh };
    child->mNumMeshes = 1;
    child->mMeshes = new unsigned[1]{0};
    aiMesh& mesh = *scene->mMeshes[0];
    mesh.mName = "part";
    const float points[5][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5f, 2, 0}};
    mesh.mNumVertices = 5;
    mesh.mVertices = new aiVector3D[5];
    mesh.mTextureCoords[0] = new aiVector3D[5];
    mesh.mNumUVComponents[0] = 2;
    for (int v = 0; v < 5; ++v) {
        mesh.mVertices[v] = aiVector3D(points[v][0], points[v][1], points[v][2]);
        mesh.mTextureCoords[0][v] = aiVector3D(points[v][0], points[v][1] / 2, 0);
    }
    mesh.mNumFaces = 2;
    mesh.mFaces = new aiFace[2];
    mesh.mFaces[0].mNumIndices = 4;
    mesh.mFaces[0].mIndices = new unsigned[4]{0, 1, 2, 3};
    mesh.mFaces[1].mNumIndices = 3;
    mesh.mFaces[1].mIndices = new unsigned[3]{3, 2, 4};
    mesh.mPrimitiveTypes = aiPrimitiveType_TRIANGLE | aiPrimitiveType_POLYGON;
    return scene;
}

// The positions of each face's corners in order, so that meshes can be compared however
// their vertices are numbered.
std::vector<std::vector<float>> facePoints(const Mesh& mesh)
{
    std::vector<std::vector<float>> faces;
    std::size_t corner = 0;
    for (std::uint32_t n : mesh.faceSizes()) {
        std::vector<float> face;
        for (std::uint32_t i = 0; i < n; ++i, ++corner) {
            const double* p = &mesh.positions()[3 * static_cast<std::size_t>(mesh.faceVertexIndices()[corner])];
            face.insert(face.end(), {static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2])});
        }
        faces.push_back(face);
    }
    return faces;
}

} // namespace

TEST(MeshFormatChoice, TheExtensionNamesTheFormatAndAnUnknownOneIsRefused)
{
    EXPECT_EQ(hx::meshFormatForReading("a/b.OBJ"), MeshFormat::Obj);
    EXPECT_EQ(hx::meshFormatForReading("-"), MeshFormat::Obj);
    EXPECT_EQ(hx::meshFormatForReading("scan.ply"), MeshFormat::Ply);
    EXPECT_EQ(hx::meshFormatForReading("part.Stl"), MeshFormat::Stl);
    EXPECT_EQ(hx::meshFormatForReading("scene.gltf"), MeshFormat::Gltf);
    EXPECT_EQ(hx::meshFormatForReading("scene.glb"), MeshFormat::Glb);
    EXPECT_EQ(hx::meshFormatForReading("rig.fbx"), MeshFormat::Fbx);
    EXPECT_EQ(hx::meshFormatForReading("set.dae"), MeshFormat::Collada);
    EXPECT_EQ(hx::meshFormatForWriting("-"), MeshFormat::Obj);
    EXPECT_EQ(hx::meshFormatForWriting("out.glb"), MeshFormat::Glb);

    EXPECT_EQ(errorOf([] { hx::meshFormatForReading("x.3ds"); }),
              "x.3ds: unknown mesh format '.3ds'; meshes are read from .obj, .ply, .stl, .gltf, .glb, .fbx, .dae");
    EXPECT_EQ(errorOf([] { hx::meshFormatForWriting("x.fbx"); }),
              "x.fbx: FBX files are read, not written; meshes are written as .obj, .ply, .stl, .gltf, .glb");
    EXPECT_EQ(errorOf([] { hx::meshFormatForWriting("out"); }),
              "out: no extension to tell its mesh format; meshes are written as .obj, .ply, .stl, .gltf, .glb");
    EXPECT_EQ(errorOf([] { hx::readMesh("model.blend"); }).rfind("model.blend: unknown mesh format '.blend'", 0), 0u);

    EXPECT_NO_THROW(hx::checkPictureName("shot/frame.PNG"));
    EXPECT_EQ(errorOf([] { hx::checkPictureName("a.jpg"); }),
              "a.jpg: pictures are written as PNG; name the file with .png instead of .jpg");
    EXPECT_EQ(errorOf([] { hx::checkPictureName("picture"); }),
              "picture: pictures are written as PNG; name the file with .png");
}

TEST(MeshFormatRoundTrip, PlyKeepsVerticesInOrderPolygonsAndTextureCoordinates)
{
    TempDir dir;
    const Mesh strip = quadStrip();
    const std::vector<std::string> warnings = writeFile(strip, dir / "strip.ply");
    const Mesh back = hx::readMesh(dir / "strip.ply");
    EXPECT_EQ(back.vertexCount(), strip.vertexCount()); // the spare vertex too
    EXPECT_EQ(asFloats(back.positions()), asFloats(strip.positions()));
    EXPECT_EQ(back.faceSizes(), strip.faceSizes());
    EXPECT_EQ(back.faceVertexIndices(), strip.faceVertexIndices());
    ASSERT_EQ(back.faceTexCoordIndices().size(), strip.cornerCount());
    for (std::size_t c = 0; c < strip.cornerCount(); ++c)
        for (int k = 0; k < 2; ++k)
            EXPECT_EQ(static_cast<float>(back.texCoords()[2 * back.faceTexCoordIndices()[c] + k]),
                      static_cast<float>(strip.texCoords()[2 * strip.faceTexCoordIndices()[c] + k]))
                << "corner " << c;
    // Quarters and eighths are floats already, and an object name is all the strip has.
    EXPECT_EQ(warnings, std::vector<std::string>{});
}

TEST(MeshFormatRoundTrip, PlyWhoseDataStartsWithALineBreakByteReadsBackExactly)
{
    // 0x3f00000a: a coordinate whose first byte in a little-endian file is '\n', right after
    // the header's own line break, where a careless reader takes it for a blank line.
    const std::uint32_t bits = 0x3f00000au;
    float x;
    std::memcpy(&x, &bits, sizeof x);
    char first[32];
    std::snprintf(first, sizeof first, "v %.9g 0 0\n", x);
    const Mesh triangle = hx::readObjText(std::string(first) + "v 1 0 0\nv 0 1 0\nf 1 2 3\n", "triangle.obj");
    ASSERT_EQ(static_cast<float>(triangle.positions()[0]), x);

    TempDir dir;
    writeFile(triangle, dir / "triangle.ply");
    const Mesh back = hx::readMesh(dir / "triangle.ply");
    EXPECT_EQ(asFloats(back.positions()), asFloats(triangle.positions()));
    EXPECT_EQ(back.faceSizes(), triangle.faceSizes());
    EXPECT_EQ(back.faceVertexIndices(), triangle.faceVertexIndices());
}

TEST(MeshFormatRoundTrip, WarningsNameWhatAFormatCannotHold)
{
    TempDir dir;
    // Hard edges, a texture seam (vertex 1 has two texture coordinates), a group, a material,
    // a material library and a coordinate that a float rounds.
    const Mesh mesh = hx::readObjText(
        "mtllib m.mtl\nv 0.1 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 1\nvt 0 0\nvt 1 0\n"
        "vn 0 0 1\nvn 1 0 0\ng a\nusemtl red\nf 1/1/1 2/1/1 3/1/1\nf 1/2/2 3/1/2 4/1/2\n",
        "in.obj");
    const std::vector<std::string> warnings = writeFile(mesh, dir / "out.ply");
    EXPECT_EQ(warnings,
              (std::vector<std::string>{
                  dir / "out.ply" + ": PLY: coordinates are stored as 32-bit floats, rounded to about 7 digits",
                  dir / "out.ply" + ": PLY: one texture coordinate per vertex: 1 corners whose vertex has "
                                    "another (a seam) take the vertex's first",
                  dir / "out.ply" + ": PLY: one normal per vertex: hard edges at 2 corners are lost, each "
                                    "vertex takes its first corner's normal",
                  dir / "out.ply" + ": PLY: groups, materials and smoothing groups are not kept",
                  dir / "out.ply" + ": PLY: material libraries (mtllib) are not kept"}));
}

TEST(MeshFormatRoundTrip, APlyFaceOfMoreThan255CornersIsRefusedNotCutShort)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "v " + std::to_string(std::cos(i * 0.02)) + " " + std::to_string(std::sin(i * 0.02)) + " 0\n";
    text += "f";
    for (int i = 1; i <= 300; ++i) text += " " + std::to_string(i);
    const Mesh disc = hx::readObjText(text + "\n", "disc.obj");
    std::string bytes;
    hx::StringSink sink(bytes);
    EXPECT_EQ(errorOf([&] { hx::writeMesh(disc, MeshFormat::Ply, sink, "disc.ply"); }),
              "disc.ply: PLY: face 1 has 300 corners, more than the 255 a PLY face holds here; write OBJ instead");
    EXPECT_TRUE(bytes.empty());
}

TEST(MeshFormatRoundTrip, GltfAndGlbKeepVerticesInOrderAndSplitPolygonsIntoTriangles)
{
    TempDir dir;
    for (const char* name : {"strip.gltf", "strip.glb"}) {
        // Triangles come back as they went.
        const Mesh triangles = triangleStrip();
        writeFile(triangles, dir / name);
        const Mesh back = hx::readMesh(dir / name);
        EXPECT_EQ(asFloats(back.positions()), asFloats(triangles.positions())) << name;
        EXPECT_EQ(back.faceVertexIndices(), triangles.faceVertexIndices()) << name;
        EXPECT_EQ(back.faceSizes(), triangles.faceSizes()) << name;
        EXPECT_EQ(back.nodeName(), "strip") << name;

        // Quads are split, with a warning; the spare vertex is dropped, with a warning; the
        // other vertices stay in their order, with their texture coordinates.
        const Mesh quads = quadStrip();
        const std::vector<std::string> warnings = writeFile(quads, dir / name);
        EXPECT_TRUE(mentions(warnings, "6 faces with more than 3 corners are split into triangles")) << name;
        EXPECT_TRUE(mentions(warnings, "1 vertices that no face uses are dropped")) << name;
        const Mesh split = hx::readMesh(dir / name);
        ASSERT_EQ(split.faceCount(), 12u) << name;
        EXPECT_EQ(asFloats(split.positions()), asFloats(triangles.positions())) << name;
        EXPECT_EQ(facePoints(split), facePoints(triangles)) << name;
        ASSERT_EQ(split.faceTexCoordIndices().size(), split.cornerCount()) << name;
        for (std::size_t c = 0; c < split.cornerCount(); ++c) {
            const std::size_t v = static_cast<std::size_t>(split.faceVertexIndices()[c]);
            const int t = split.faceTexCoordIndices()[c];
            // Each vertex's texture coordinate is where the vertex sits on the 4 x 3 grid.
            EXPECT_NEAR(split.texCoords()[2 * t], split.positions()[3 * v] * 4 / 3, 1e-6) << name << ", corner " << c;
            EXPECT_NEAR(split.texCoords()[2 * t + 1], split.positions()[3 * v + 1], 1e-6) << name << ", corner " << c;
        }
    }
    // The text form is one file: its buffer is inside it.
    std::ifstream json(dir / "strip.gltf");
    const std::string text((std::istreambuf_iterator<char>(json)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("data:application/octet-stream;base64,"), std::string::npos);
    EXPECT_EQ(text.find("$blobfile"), std::string::npos);
}

TEST(MeshFormatRoundTrip, StlKeepsTheTrianglesAndJoinsTheirCornersAgain)
{
    TempDir dir;
    // Triangles over vertices numbered in the order the faces first use them: STL keeps no
    // vertices, but joining equal corners gives the same ones back.
    const Mesh roof = hx::readObjText("v 0 0 0\nv 1 0 0\nv 1 1 0.5\nv 0 1 0.5\nf 1 2 3\nf 1 3 4\n", "roof.obj");
    const std::vector<std::string> warnings = writeFile(roof, dir / "roof.stl");
    EXPECT_TRUE(mentions(warnings, "STL holds separate triangles"));
    const Mesh back = hx::readMesh(dir / "roof.stl");
    EXPECT_EQ(back.positions(), roof.positions());
    EXPECT_EQ(back.faceVertexIndices(), roof.faceVertexIndices());
    EXPECT_EQ(back.faceSizes(), roof.faceSizes());
}

TEST(MeshFormatRead, SmallFilesBesideTheTestsReadAsTheySay)
{
    // PLY: the unused first vertex stays, the faces keep their corners and coordinates.
    const Mesh ply = hx::readMesh(kData + "/quad_and_spare.ply");
    EXPECT_EQ(ply.vertexCount(), 6u);
    EXPECT_EQ(ply.positions(), (std::vector<double>{9, 9, 9, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0.5, 2, 0.25}));
    EXPECT_EQ(ply.faceSizes(), (std::vector<std::uint32_t>{4, 3}));
    EXPECT_EQ(ply.faceVertexIndices(), (std::vector<int>{1, 2, 3, 4, 4, 3, 5}));
    EXPECT_EQ(ply.texCoords()[2 * 5], 0.5);
    EXPECT_EQ(ply.faceTexCoordIndices(), ply.faceVertexIndices());

    // STL: six corners, four places.
    const Mesh stl = hx::readMesh(kData + "/two_triangles.stl");
    EXPECT_EQ(stl.vertexCount(), 4u);
    EXPECT_EQ(stl.faceVertexIndices(), (std::vector<int>{0, 1, 2, 0, 2, 3}));
    EXPECT_EQ(stl.positions(), (std::vector<double>{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}));
}

TEST(MeshFormatRead, FilesFromAssimpsOwnExporterAreRead)
{
    TempDir dir;
    const std::unique_ptr<aiScene> scene = assimpScene(true);
    const std::vector<std::vector<float>> expected = {{10, 0, 0, 11, 0, 0, 11, 1, 0, 10, 1, 0},
                                                      {10, 1, 0, 11, 1, 0, 10.5f, 2, 0}};
    // Assimp's binary FBX is not read back by Assimp itself; its ASCII FBX is.
    const std::pair<const char*, const char*> exports[] = {{"plyb", "a.ply"},   {"ply", "b.ply"},  {"stlb", "a.stl"},
                                                           {"gltf2", "a.gltf"}, {"glb2", "a.glb"}, {"fbxa", "a.fbx"},
                                                           {"collada", "a.dae"}};
    for (const auto& [id, name] : exports) {
        Assimp::Exporter exporter;
        ASSERT_EQ(exporter.Export(scene.get(), id, dir / name), AI_SUCCESS) << id << ": " << exporter.GetErrorString();
        Mesh mesh;
        ASSERT_NO_THROW(mesh = hx::readMesh(dir / name)) << name << ": " << errorOf([&] { hx::readMesh(dir / name); });
        const std::vector<std::vector<float>> faces = facePoints(mesh);
        const std::string format = name;
        if (format == "a.stl" || format == "a.gltf" || format == "a.glb") {
            // Triangles only: the quad comes as two, over the same moved points.
            ASSERT_EQ(faces.size(), 3u) << name;
            EXPECT_EQ(mesh.vertexCount(), 5u) << name;
            EXPECT_EQ(faces[2], expected[1]) << name;
            for (float x : {faces[0][0], faces[1][0]}) EXPECT_EQ(x, 10.0f) << name;
        } else {
            // The node's transform places the points, whether the file keeps it (FBX,
            // Collada) or the exporter applied it (PLY).
            EXPECT_EQ(faces, expected) << name;
            EXPECT_EQ(mesh.vertexCount(), 5u) << name;
            EXPECT_FALSE(mesh.faceTexCoordIndices().empty()) << name;
        }
    }
}

TEST(MeshFormatRead, AFileThatCrashesAssimpsReaderIsRefusedInOneLine)
{
    // A binary PLY whose body was mangled: Assimp's reader runs past its buffer on it. The
    // tool stays up and says the file is damaged.
    const std::string path = kData + "/cut_short_binary.ply";
    const std::string message = errorOf([&] { hx::readMesh(path); });
    EXPECT_EQ(message.rfind(path + ": the PLY reader failed on this file", 0), 0u) << message;
    EXPECT_NE(message.find("; it is damaged or not a PLY file"), std::string::npos) << message;
    // And the next file reads as ever.
    EXPECT_EQ(hx::readMesh(kData + "/quad_and_spare.ply").vertexCount(), 6u);

    // A mangled property line sends Assimp's ASCII PLY reader round in circles: stopped.
    const std::string endless = kData + "/endless_property.ply";
    EXPECT_EQ(errorOf([&] { hx::readMeshWithAssimp(endless, MeshFormat::Ply, 1.0); }),
              endless + ": the PLY reader did not finish within 1 seconds; the file is damaged or not a PLY file");
}

TEST(MeshFormatRead, ABrokenFileIsRefusedInOneLine)
{
    TempDir dir;
    std::ofstream(dir / "junk.ply") << "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nend_header\n1\n";
    std::ofstream(dir / "empty.glb");
    std::ofstream(dir / "text.stl") << "hello";
    for (const std::string& name : {dir / "junk.ply", dir / "empty.glb", dir / "text.stl", dir / "absent.fbx"}) {
        const std::string message = errorOf([&] { hx::readMesh(name); });
        EXPECT_EQ(message.rfind(name + ": ", 0), 0u) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
}
