// fuzz_obj: the tool's OBJ reading path on any bytes, and the round trip of what it accepts.
//
// The input is the file. ObjMesh::read either refuses it with one ObjReadError line, or
// returns a mesh whose every index is in range and every number finite; reading the same
// bytes from memory gives the same mesh or the same refusal. An accepted mesh, written and
// read again, is the same mesh to the bit with its statements in place (normals aside: the
// writer recomputes each from the faces that use it), and writing that second mesh gives the
// very same bytes, to a file or to memory: write(read(...)) is a fixed point.
#include "FuzzBytes.h"

#include "AtomicFile.h"
#include "ObjMesh.h"

#include <unistd.h>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace fs = std::filesystem;
using hx::ObjMesh;

namespace {

// One scratch folder per process, in memory where there is /dev/shm: the writer syncs
// every file it commits.
class ScratchDir
{
public:
    ScratchDir()
    {
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "hx_fuzz_obj_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::perror("fuzz_obj: mkdtemp");
            std::abort();
        }
        mPath = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        fs::remove_all(mPath, ignored);
    }
    std::string file(const char* name) const { return (mPath / name).string(); }

private:
    fs::path mPath;
};

const ScratchDir& scratch()
{
    static const ScratchDir dir;
    return dir;
}

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

bool allFinite(const std::vector<double>& values)
{
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

void checkWellFormed(const ObjMesh& mesh)
{
    HX_FUZZ_CHECK(mesh.vertexCount() > 0);
    HX_FUZZ_CHECK(mesh.positions().size() == 3 * mesh.vertexCount());
    HX_FUZZ_CHECK(allFinite(mesh.positions()));
    HX_FUZZ_CHECK(allFinite(mesh.texCoords()));
    HX_FUZZ_CHECK(allFinite(mesh.normals()));
    const int dimension = mesh.texCoordDimension();
    HX_FUZZ_CHECK(dimension == 2 || dimension == 3);
    HX_FUZZ_CHECK(mesh.texCoords().size() % static_cast<std::size_t>(dimension) == 0);
    HX_FUZZ_CHECK(mesh.normals().size() % 3 == 0);

    const auto inRange = [](int index, std::size_t count, bool optional) {
        if (optional && index == ObjMesh::kNone) return true;
        return index >= 0 && static_cast<std::size_t>(index) < count;
    };
    std::size_t cornerCount = 0;
    for (std::uint32_t n : mesh.faceSizes()) {
        HX_FUZZ_CHECK(n >= 3);
        cornerCount += n;
    }
    HX_FUZZ_CHECK(cornerCount == mesh.corners().size());
    const std::size_t texCount = mesh.texCoords().size() / static_cast<std::size_t>(dimension);
    for (const ObjMesh::Corner c : mesh.corners()) {
        HX_FUZZ_CHECK(inRange(c.vertex, mesh.vertexCount(), false));
        HX_FUZZ_CHECK(inRange(c.texCoord, texCount, true));
        HX_FUZZ_CHECK(inRange(c.normal, mesh.normals().size() / 3, true));
    }
    std::size_t previous = 0;
    for (const ObjMesh::Statement& s : mesh.statements()) {
        HX_FUZZ_CHECK(s.beforeFace >= previous && s.beforeFace <= mesh.faceCount());
        previous = s.beforeFace;
    }
}

// Everything the round trip keeps as it was; normals are checked apart.
void checkSameMesh(const ObjMesh& before, const ObjMesh& after)
{
    HX_FUZZ_CHECK(sameBits(before.positions(), after.positions()));
    HX_FUZZ_CHECK(sameBits(before.texCoords(), after.texCoords()));
    HX_FUZZ_CHECK(before.texCoordDimension() == after.texCoordDimension());
    HX_FUZZ_CHECK(before.faceSizes() == after.faceSizes());
    HX_FUZZ_CHECK(before.corners().size() == after.corners().size());
    for (std::size_t i = 0; i < before.corners().size(); ++i) {
        const ObjMesh::Corner a = before.corners()[i];
        const ObjMesh::Corner b = after.corners()[i];
        HX_FUZZ_CHECK(a.vertex == b.vertex);
        HX_FUZZ_CHECK(a.texCoord == b.texCoord);
        // A corner keeps its normal, recomputed in its place.
        HX_FUZZ_CHECK(a.normal == b.normal);
    }
    HX_FUZZ_CHECK(before.statements().size() == after.statements().size());
    for (std::size_t i = 0; i < before.statements().size(); ++i) {
        const ObjMesh::Statement& a = before.statements()[i];
        const ObjMesh::Statement& b = after.statements()[i];
        HX_FUZZ_CHECK(a.kind == b.kind);
        HX_FUZZ_CHECK(a.beforeFace == b.beforeFace);
        HX_FUZZ_CHECK(a.text == b.text);
    }
    HX_FUZZ_CHECK(before.materialLibraries() == after.materialLibraries());
    HX_FUZZ_CHECK(before.nodeName() == after.nodeName());
    HX_FUZZ_CHECK(after.normals().size() == before.normals().size());
}

ObjMesh readBack(const std::string& path)
{
    try {
        return ObjMesh::read(path);
    } catch (const hx::ObjReadError& error) {
        std::fprintf(stderr, "fuzz_obj: the written file does not read back: %s\n", error.what());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input = scratch().file("input.obj");
    const std::string written = scratch().file("written.obj");
    const std::string rewritten = scratch().file("rewritten.obj");
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        HX_FUZZ_CHECK(out.good());
    }

    // The same bytes from memory, under another name.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string memoryRefusal;
    ObjMesh fromMemory;
    try {
        fromMemory = hx::readObjText(bytes, "memory");
    } catch (const hx::ObjReadError& error) {
        memoryRefusal = error.what();
    }

    ObjMesh mesh;
    try {
        mesh = ObjMesh::read(input);
    } catch (const hx::ObjReadError& error) {
        // A refusal is one line that names the file, and the same from memory.
        const std::string message = error.what();
        HX_FUZZ_CHECK(message.rfind(input + ":", 0) == 0);
        HX_FUZZ_CHECK(message.find_first_of("\r\n") == std::string::npos);
        HX_FUZZ_CHECK(!memoryRefusal.empty());
        HX_FUZZ_CHECK(memoryRefusal.substr(std::strlen("memory")) == message.substr(input.size()));
        return 0;
    }
    HX_FUZZ_CHECK(memoryRefusal.empty());
    checkWellFormed(mesh);
    checkSameMesh(mesh, fromMemory);
    HX_FUZZ_CHECK(sameBits(mesh.normals(), fromMemory.normals()));
    HX_FUZZ_CHECK(mesh.warnings().size() == fromMemory.warnings().size());

    mesh.write(written);
    const ObjMesh again = readBack(written);
    checkWellFormed(again);
    HX_FUZZ_CHECK(again.warnings().empty());
    checkSameMesh(mesh, again);

    again.write(rewritten);
    const std::string writtenText = contents(written);
    HX_FUZZ_CHECK(contents(rewritten) == writtenText);
    std::string inMemory;
    hx::StringSink sink(inMemory);
    hx::writeObj(again, sink);
    HX_FUZZ_CHECK(inMemory == writtenText);
    return 0;
}
