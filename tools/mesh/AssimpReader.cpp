// Reading the other formats through Assimp, in a child process (see AssimpMesh.h).
#include "AssimpMesh.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <set>
#include <unordered_map>

namespace hx {

std::string oneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

namespace {

// ---- from Assimp's scene to a Mesh -----------------------------------------------------------

// Formats whose importer gives each face corner a vertex of its own.
bool joinsCorners(MeshFormat format)
{
    return format == MeshFormat::Stl || format == MeshFormat::Fbx || format == MeshFormat::Collada;
}

// Indices of values met before, in order of first appearance, keyed by their exact bits.
template <int N>
class ValueIndex
{
public:
    int indexOf(const float* value, std::vector<double>& values)
    {
        std::array<float, N> key;
        std::memcpy(key.data(), value, sizeof key);
        for (float& k : key)
            if (k == 0.0f) k = 0.0f; // -0 and +0 are one place
        const auto [it, added] = mIndex.emplace(key, static_cast<int>(values.size() / N));
        if (added) values.insert(values.end(), value, value + N);
        return it->second;
    }

private:
    struct Hash
    {
        std::size_t operator()(const std::array<float, N>& key) const
        {
            std::size_t h = 1469598103934665603ull;
            for (float k : key) {
                std::uint32_t bits;
                std::memcpy(&bits, &k, sizeof bits);
                h = (h ^ bits) * 1099511628211ull;
            }
            return h;
        }
    };
    std::unordered_map<std::array<float, N>, int, Hash> mIndex;
};

// Assimp's binary PLY reader skips a line break right after the header's "end_header\n", so
// a file whose first data byte happens to be 0x0a (the low byte of the first coordinate, say)
// is read one byte out of step: wrong coordinates and faces without corners, and no error.
// Ending the header's last line with "\r\n" instead keeps that byte as data; returns the file
// so mended, or nothing when the file does not need it.
std::optional<std::string> plyWithUnambiguousHeaderEnd(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string head(1 << 20, '\0'); // a header is a few hundred bytes; a megabyte is plenty
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    const std::size_t end = head.find("\nend_header\n"); // "end_header\r\n" is read right
    if (end == std::string::npos || head.find("\nformat binary") > end) return std::nullopt;
    const std::size_t data = end + std::strlen("\nend_header\n");
    if (data >= head.size() || head[data] != '\n') return std::nullopt;

    std::string file;
    in.clear();
    in.seekg(0, std::ios::end);
    file.resize(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    if (!in.read(file.data(), static_cast<std::streamsize>(file.size()))) return std::nullopt;
    file.insert(data - 1, 1, '\r');
    return file;
}

class AssimpReader
{
public:
    AssimpReader(const std::string& path, MeshFormat format) : mPath(path), mFormat(format) {}

    Mesh read()
    {
        Assimp::Importer importer;
        // No step that merges, splits or reorders vertices: only the check that every index
        // is in range, so that a broken file is refused rather than read out of bounds.
        const std::optional<std::string> mended =
            mFormat == MeshFormat::Ply ? plyWithUnambiguousHeaderEnd(mPath) : std::nullopt;
        const aiScene* scene =
            mended ? importer.ReadFileFromMemory(mended->data(), mended->size(), aiProcess_ValidateDataStructure, "ply")
                   : importer.ReadFile(mPath, aiProcess_ValidateDataStructure);
        if (!scene) fail(oneLine(importer.GetErrorString()));
        if (!scene->mRootNode || scene->mNumMeshes == 0)
            fail(std::string("no meshes in this ") + meshFormatName(mFormat) + " file");
        if (scene->mNumAnimations) warn("animations are not kept");

        for (unsigned m = 0; m < scene->mNumMeshes; ++m)
            if (scene->mMeshes[m]->HasTextureCoords(0) && scene->mMeshes[m]->mNumUVComponents[0] == 3)
                mTexCoordDimension = 3;
        addNode(*scene, *scene->mRootNode, aiMatrix4x4());
        if (mMesh.vertexCount() == 0)
            fail(std::string("no polygon meshes in this ") + meshFormatName(mFormat) + " file");
        mMesh.setTexCoords(std::move(mTexCoords), mTexCoordDimension);
        mMesh.setNormals(std::move(mNormals));
        mMesh.check(mPath);
        return std::move(mMesh);
    }

private:
    [[noreturn]] void fail(const std::string& reason) const { throw MeshReadError(mPath + ": " + reason); }
    void warn(const std::string& message)
    {
        if (mWarned.insert(message).second) mMesh.addWarning(mPath + ": " + message);
    }

    void addNode(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent)
    {
        const aiMatrix4x4 transform = parent * node.mTransformation;
        for (unsigned i = 0; i < node.mNumMeshes; ++i) {
            if (node.mMeshes[i] >= scene.mNumMeshes) fail("a node names a mesh the file does not have");
            addMesh(scene, *scene.mMeshes[node.mMeshes[i]], node, transform);
        }
        for (unsigned i = 0; i < node.mNumChildren; ++i) addNode(scene, *node.mChildren[i], transform);
    }

    void addMesh(const aiScene& scene, const aiMesh& mesh, const aiNode& node, const aiMatrix4x4& transform)
    {
        if (mesh.HasBones()) warn("skinning (bones and weights) is not kept");
        if (mesh.HasVertexColors(0)) warn("vertex colours are not kept");
        if (mesh.HasTextureCoords(1)) warn("texture coordinates beyond the first set are not kept");
        if (mesh.mNumAnimMeshes) warn("blend shapes are not kept");
        std::size_t polygons = 0;
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) polygons += mesh.mFaces[f].mNumIndices >= 3;
        if (polygons < mesh.mNumFaces) warn("points and lines are not kept");
        if (polygons == 0) return;

        const std::string name = mesh.mName.length ? mesh.mName.C_Str() : node.mName.C_Str();
        mMesh.addStatement(Mesh::Statement::Kind::Object, name.empty() ? "mesh" + std::to_string(++mUnnamed) : name);
        if (mesh.mMaterialIndex < scene.mNumMaterials) {
            aiString material;
            if (scene.mMaterials[mesh.mMaterialIndex]->Get(AI_MATKEY_NAME, material) == AI_SUCCESS && material.length &&
                std::strcmp(material.C_Str(), AI_DEFAULT_MATERIAL_NAME) != 0)
                mMesh.addStatement(Mesh::Statement::Kind::Material, material.C_Str());
        }

        const bool identity = transform.IsIdentity();
        aiMatrix3x3 normalTransform(transform);
        normalTransform.Inverse().Transpose();
        std::vector<float> points(3 * static_cast<std::size_t>(mesh.mNumVertices));
        std::vector<float> vertexNormals(mesh.HasNormals() ? points.size() : 0);
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            const aiVector3D p = identity ? mesh.mVertices[v] : transform * mesh.mVertices[v];
            points[3 * v] = p.x, points[3 * v + 1] = p.y, points[3 * v + 2] = p.z;
            if (mesh.HasNormals()) {
                aiVector3D n = identity ? mesh.mNormals[v] : normalTransform * mesh.mNormals[v];
                if (!identity) n.NormalizeSafe();
                vertexNormals[3 * v] = n.x, vertexNormals[3 * v + 1] = n.y, vertexNormals[3 * v + 2] = n.z;
            }
        }

        // Where each of Assimp's vertices lands among ours, and its texture coordinate and normal.
        const int firstVertex = static_cast<int>(mMesh.vertexCount());
        std::vector<int> vertexOf(mesh.mNumVertices), texCoordOf, normalOf;
        const bool withTexCoords = mesh.HasTextureCoords(0);
        if (withTexCoords) texCoordOf.resize(mesh.mNumVertices);
        if (mesh.HasNormals()) normalOf.resize(mesh.mNumVertices);
        std::vector<double>& positions = mMesh.positions();
        const int texBase = static_cast<int>(mTexCoords.size()) / mTexCoordDimension;
        const int normalBase = static_cast<int>(mNormals.size() / 3);
        const auto texCoordValue = [&](unsigned v, float* value) {
            const aiVector3D& uv = mesh.mTextureCoords[0][v];
            value[0] = uv.x, value[1] = uv.y, value[2] = mTexCoordDimension == 3 ? uv.z : 0.0f;
        };
        if (joinsCorners(mFormat)) {
            ValueIndex<3> pointIndex, texIndex, normalIndex;
            std::vector<double> joinedPoints, joinedTexCoords, joinedNormals;
            for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
                vertexOf[v] = firstVertex + pointIndex.indexOf(&points[3 * v], joinedPoints);
                if (withTexCoords) {
                    float value[3];
                    texCoordValue(v, value);
                    texCoordOf[v] = texBase + texIndex.indexOf(value, joinedTexCoords);
                }
                if (mesh.HasNormals())
                    normalOf[v] = normalBase + normalIndex.indexOf(&vertexNormals[3 * v], joinedNormals);
            }
            positions.insert(positions.end(), joinedPoints.begin(), joinedPoints.end());
            for (std::size_t i = 0; i < joinedTexCoords.size(); i += 3)
                mTexCoords.insert(mTexCoords.end(), &joinedTexCoords[i], &joinedTexCoords[i] + mTexCoordDimension);
            mNormals.insert(mNormals.end(), joinedNormals.begin(), joinedNormals.end());
        } else {
            positions.insert(positions.end(), points.begin(), points.end());
            for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
                vertexOf[v] = firstVertex + static_cast<int>(v);
                if (withTexCoords) {
                    float value[3];
                    texCoordValue(v, value);
                    texCoordOf[v] = texBase + static_cast<int>(v);
                    mTexCoords.insert(mTexCoords.end(), value, value + mTexCoordDimension);
                }
                if (mesh.HasNormals()) {
                    normalOf[v] = normalBase + static_cast<int>(v);
                    mNormals.insert(mNormals.end(), &vertexNormals[3 * v], &vertexNormals[3 * v] + 3);
                }
            }
        }

        std::vector<int> corners, cornerTexCoords, cornerNormals;
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices < 3) continue;
            corners.clear(), cornerTexCoords.clear(), cornerNormals.clear();
            for (unsigned i = 0; i < face.mNumIndices; ++i) {
                const unsigned v = face.mIndices[i];
                if (v >= mesh.mNumVertices) fail("a face names a vertex the file does not have");
                corners.push_back(vertexOf[v]);
                if (withTexCoords) cornerTexCoords.push_back(texCoordOf[v]);
                if (mesh.HasNormals()) cornerNormals.push_back(normalOf[v]);
            }
            mMesh.addFace(corners.size(), corners.data(), withTexCoords ? cornerTexCoords.data() : nullptr,
                          mesh.HasNormals() ? cornerNormals.data() : nullptr);
        }
    }

    std::string mPath;
    MeshFormat mFormat;
    Mesh mMesh;
    std::vector<double> mTexCoords, mNormals;
    int mTexCoordDimension = 2;
    int mUnnamed = 0;
    std::set<std::string> mWarned;
};

// ---- reading in a child process -------------------------------------------------------------
//
// Assimp's importers are not safe on damaged files: a cut-short binary PLY, say, makes them
// read past their buffers and crash. So the import runs in a child process, which sends the
// finished mesh (or its one-line refusal) back through a pipe; a child that crashes is a
// refusal too, and the tool lives on to say so.

class PipeWriter
{
public:
    explicit PipeWriter(int fd) : mFd(fd) {}
    void bytes(const void* data, std::size_t size)
    {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t written = ::write(mFd, p, size);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) ::_exit(3); // the parent has gone
            p += written;
            size -= static_cast<std::size_t>(written);
        }
    }
    void u64(std::uint64_t value) { bytes(&value, sizeof value); }
    void text(const std::string& value)
    {
        u64(value.size());
        bytes(value.data(), value.size());
    }
    template <typename T>
    void array(const std::vector<T>& values)
    {
        u64(values.size());
        bytes(values.data(), values.size() * sizeof(T));
    }

private:
    int mFd;
};

// Reads what the child sent; false as soon as the stream ends early, says something no child
// of ours would (it died while writing), or the deadline passes (it hangs).
class PipeReader
{
public:
    PipeReader(int fd, std::chrono::steady_clock::time_point deadline) : mFd(fd), mDeadline(deadline) {}
    bool timedOut() const { return mTimedOut; }
    bool bytes(void* data, std::size_t size)
    {
        char* p = static_cast<char*>(data);
        while (size > 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(mDeadline - std::chrono::steady_clock::now());
            pollfd ready = {mFd, POLLIN, 0};
            const int polled =
                left.count() > 0 ? ::poll(&ready, 1, static_cast<int>(std::min<long long>(left.count(), 1 << 30))) : 0;
            if (polled < 0 && errno == EINTR) continue;
            if (polled == 0) {
                mTimedOut = true;
                return false;
            }
            const ssize_t got = ::read(mFd, p, size);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            p += got;
            size -= static_cast<std::size_t>(got);
        }
        return true;
    }
    bool u64(std::uint64_t& value) { return bytes(&value, sizeof value); }
    bool count(std::uint64_t& value, std::size_t elementSize)
    {
        constexpr std::uint64_t kMostBytes = std::uint64_t(1) << 40;
        return u64(value) && value <= kMostBytes / elementSize;
    }
    bool text(std::string& value)
    {
        std::uint64_t size;
        if (!count(size, 1)) return false;
        value.resize(size);
        return bytes(value.data(), size);
    }
    template <typename T>
    bool array(std::vector<T>& values)
    {
        std::uint64_t size;
        if (!count(size, sizeof(T))) return false;
        values.resize(size);
        return bytes(values.data(), size * sizeof(T));
    }

private:
    int mFd;
    std::chrono::steady_clock::time_point mDeadline;
    bool mTimedOut = false;
};

void sendMesh(PipeWriter& out, Mesh mesh)
{
    Mesh::Parts parts = mesh.releaseParts();
    out.u64(0);
    out.u64(static_cast<std::uint64_t>(parts.texCoordDimension));
    out.array(parts.positions);
    out.array(parts.texCoords);
    out.array(parts.normals);
    out.array(parts.faceSizes);
    out.array(parts.faceVertices);
    out.array(parts.faceTexCoords);
    out.array(parts.faceNormals);
    out.u64(parts.statements.size());
    for (const Mesh::Statement& statement : parts.statements) {
        out.u64(static_cast<std::uint64_t>(statement.kind));
        out.u64(statement.beforeFace);
        out.text(statement.text);
    }
    for (const std::vector<std::string>* list : {&parts.materialLibraries, &parts.warnings}) {
        out.u64(list->size());
        for (const std::string& line : *list) out.text(line);
    }
}

// The mesh the child sent; false when the message was cut short.
bool receiveMesh(PipeReader& in, Mesh& mesh)
{
    Mesh::Parts parts;
    std::uint64_t dimension = 0, statements = 0;
    if (!in.u64(dimension) || (dimension != 2 && dimension != 3)) return false;
    parts.texCoordDimension = static_cast<int>(dimension);
    if (!in.array(parts.positions) || !in.array(parts.texCoords) || !in.array(parts.normals) ||
        !in.array(parts.faceSizes) || !in.array(parts.faceVertices) || !in.array(parts.faceTexCoords) ||
        !in.array(parts.faceNormals) || !in.count(statements, 64))
        return false;
    for (std::uint64_t i = 0; i < statements; ++i) {
        std::uint64_t kind = 0, beforeFace = 0;
        std::string text;
        if (!in.u64(kind) || kind > 3 || !in.u64(beforeFace) || !in.text(text)) return false;
        parts.statements.push_back({static_cast<Mesh::Statement::Kind>(kind), beforeFace, std::move(text)});
    }
    for (std::vector<std::string>* list : {&parts.materialLibraries, &parts.warnings}) {
        std::uint64_t lines = 0;
        if (!in.count(lines, 64)) return false;
        list->resize(lines);
        for (std::string& line : *list)
            if (!in.text(line)) return false;
    }
    mesh = Mesh::fromParts(std::move(parts));
    return true;
}

[[noreturn]] void importInChild(int fd, const std::string& path, MeshFormat format)
{
    // A crash ends the child plainly, for the parent to see; no handler of the parent's
    // (a sanitizer's, say) is to report it as the parent's own.
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(signal, SIG_DFL);
    PipeWriter out(fd);
    try {
        sendMesh(out, AssimpReader(path, format).read());
    } catch (const MeshReadError& error) {
        out.u64(1);
        out.text(error.what());
    } catch (const std::exception& error) {
        out.u64(1);
        out.text(path + ": " + oneLine(error.what()));
    }
    ::close(fd);
    ::_exit(0); // no destructors or exit handlers of the parent's state
}
} // namespace

Mesh readMeshWithAssimp(const std::string& path, MeshFormat format)
{
    // Generous for any real file: Assimp reads tens of megabytes a second.
    struct stat info;
    const double megabytes = ::stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) / (1 << 20) : 0.0;
    return readMeshWithAssimp(path, format, 30.0 + 2.0 * megabytes);
}

Mesh readMeshWithAssimp(const std::string& path, MeshFormat format, double secondsAllowed)
{
    const auto fail = [&](const std::string& reason) -> Mesh { throw MeshReadError(path + ": " + reason); };
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) fail(std::strerror(errno));
    if (S_ISDIR(info.st_mode)) fail("is a directory, not a mesh file");
    if (info.st_size == 0) fail("empty file, no vertices");

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) fail(std::strerror(errno));
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        fail(std::strerror(error));
    }
    if (child == 0) {
        ::close(fds[0]);
        importInChild(fds[1], path, format);
    }
    ::close(fds[1]);

    PipeReader in(fds[0], std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(static_cast<long long>(secondsAllowed * 1000)));
    Mesh mesh;
    std::string refusal;
    std::uint64_t status = 2;
    bool whole = false;
    try {
        if (in.u64(status)) whole = status == 0 ? receiveMesh(in, mesh) : status == 1 && in.text(refusal);
    } catch (const std::bad_alloc&) {
        whole = false;
    }
    ::close(fds[0]);
    if (in.timedOut()) ::kill(child, SIGKILL);
    int exit = 0;
    while (::waitpid(child, &exit, 0) < 0 && errno == EINTR) {
    }
    if (whole && WIFEXITED(exit) && WEXITSTATUS(exit) == 0) {
        if (status == 1) throw MeshReadError(refusal);
        mesh.check(path);
        return mesh;
    }
    if (in.timedOut())
        fail(std::string("the ") + meshFormatName(format) + " reader did not finish within " +
             std::to_string(static_cast<long long>(secondsAllowed)) + " seconds; the file is damaged or not a " +
             meshFormatName(format) + " file");
    const std::string how = WIFSIGNALED(exit) ? std::string(" (") + ::strsignal(WTERMSIG(exit)) + ")" : std::string();
    return fail(std::string("the ") + meshFormatName(format) + " reader failed on this file" + how +
                "; it is damaged or not a " + meshFormatName(format) + " file");
}

} // namespace hx
