// fuzz_mesh_formats: the tool's reading of PLY, STL, glTF, GLB, FBX and Collada (through
// Assimp) on any bytes, and the writing back of what it accepts.
//
// The first byte picks the format, the rest is the file. The reading (in a child process, as
// always) either refuses it with one MeshReadError line naming the file (a crash or a hang of
// Assimp's importer included: 2 seconds here), or returns a mesh whose every index is in range and
// every number finite. An accepted mesh is written as PLY, STL and GLB, and the PLY read back
// has as many vertices and faces, with the same corners.
#include "FuzzBytes.h"

#include "AssimpMesh.h"
#include "MeshFiles.h"

#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path& scratch()
{
    static const fs::path dir = [] {
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "hx_fuzz_formats_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::perror("fuzz_mesh_formats: mkdtemp");
            std::abort();
        }
        return fs::path(pattern);
    }();
    return dir;
}

void write(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    HX_FUZZ_CHECK(out.good());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    static const char* const kExtensions[] = {".ply", ".stl", ".gltf", ".glb", ".fbx", ".dae"};
    const std::string input = (scratch() / ("input" + std::string(kExtensions[data[0] % 6]))).string();
    write(input, std::string(reinterpret_cast<const char*>(data) + 1, size - 1));

    hx::Mesh mesh;
    try {
        mesh = hx::readMeshWithAssimp(input, hx::meshFormatForReading(input), 2.0);
    } catch (const hx::MeshReadError& error) {
        const std::string message = error.what();
        HX_FUZZ_CHECK(message.rfind(input + ": ", 0) == 0);
        HX_FUZZ_CHECK(message.find_first_of("\r\n") == std::string::npos);
        return 0;
    }
    mesh.check(input); // throws, and so fails the run, for an index out of range

    for (const hx::MeshFormat format : {hx::MeshFormat::Stl, hx::MeshFormat::Glb, hx::MeshFormat::Ply}) {
        std::string bytes;
        hx::StringSink sink(bytes);
        hx::writeMesh(mesh, format, sink, "out");
        HX_FUZZ_CHECK(!bytes.empty());
        if (format != hx::MeshFormat::Ply) continue;
        const std::string written = (scratch() / "written.ply").string();
        write(written, bytes);
        const hx::Mesh again = hx::readMesh(written);
        HX_FUZZ_CHECK(again.vertexCount() == mesh.vertexCount());
        HX_FUZZ_CHECK(again.faceSizes() == mesh.faceSizes());
        HX_FUZZ_CHECK(again.faceVertexIndices() == mesh.faceVertexIndices());
    }
    return 0;
}
