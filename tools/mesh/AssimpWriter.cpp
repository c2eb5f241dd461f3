// Writing PLY, STL, glTF and GLB through Assimp's exporter (see AssimpMesh.h).
#include "AssimpMesh.h"

#include "VertexNormals.h"

#include <assimp/scene.h>
#include <assimp/Exporter.hpp>

#include <algorithm>
#include <memory>
#include <set>

namespace hx {
namespace {

const char* exporterId(MeshFormat format)
{
    switch (format) {
    case MeshFormat::Ply: return "plyb"; // binary: the floats' bits, not a decimal rounding
    case MeshFormat::Stl: return "stlb";
    case MeshFormat::Gltf: return "gltf2";
    case MeshFormat::Glb: return "glb2";
    default: return nullptr;
    }
}

std::string base64(const unsigned char* data, std::size_t size)
{
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    for (std::size_t i = 0; i < size; i += 3) {
        const unsigned a = data[i], b = i + 1 < size ? data[i + 1] : 0, c = i + 2 < size ? data[i + 2] : 0;
        out += kDigits[a >> 2];
        out += kDigits[((a & 3) << 4) | (b >> 4)];
        out += i + 1 < size ? kDigits[((b & 15) << 2) | (c >> 6)] : '=';
        out += i + 2 < size ? kDigits[c & 63] : '=';
    }
    return out;
}

// A scene of one mesh, in the mesh's vertex order.
class SceneBuilder
{
public:
    SceneBuilder(const Mesh& mesh, MeshFormat format, const std::string& name)
        : mMesh(mesh), mFormat(format), mName(name)
    {}

    std::unique_ptr<aiScene> build()
    {
        auto scene = std::make_unique<aiScene>();
        const std::string nodeName = mMesh.nodeName().empty() ? std::string("mesh") : mMesh.nodeName();
        scene->mRootNode = new aiNode(nodeName);
        scene->mNumMaterials = 1;
        scene->mMaterials = new aiMaterial* [1] { new aiMaterial };
        scene->mNumMeshes = 1;
        scene->mMeshes = new aiMesh* [1] { new aiMesh };
        scene->mRootNode->mNumMeshes = 1;
        scene->mRootNode->mMeshes = new unsigned[1]{0};
        aiMesh& out = *scene->mMeshes[0];
        out.mName = nodeName;
        out.mMaterialIndex = 0;

        const std::size_t vertices = mMesh.vertexCount();
        out.mNumVertices = static_cast<unsigned>(vertices);
        out.mVertices = new aiVector3D[vertices];
        bool rounded = false;
        for (std::size_t v = 0; v < vertices; ++v) {
            const double* p = &mMesh.positions()[3 * v];
            out.mVertices[v] = aiVector3D(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
            for (int c = 0; c < 3; ++c) rounded |= static_cast<double>(out.mVertices[v][c]) != p[c];
        }
        if (rounded) warn("coordinates are stored as 32-bit floats, rounded to about 7 digits");

        out.mNumFaces = static_cast<unsigned>(mMesh.faceCount());
        out.mFaces = new aiFace[mMesh.faceCount()];
        std::size_t corner = 0, polygons = 0;
        unsigned types = 0;
        for (std::size_t f = 0; f < mMesh.faceCount(); ++f) {
            const std::uint32_t n = mMesh.faceSizes()[f];
            // Assimp's PLY exporter writes each face's corner count as one byte: a larger face
            // would come out cut short, and every face after it garbled.
            if (mFormat == MeshFormat::Ply && n > 255)
                throw MeshFormatError(mName + ": PLY: face " + std::to_string(f + 1) + " has " + std::to_string(n) +
                                      " corners, more than the 255 a PLY face holds here; write OBJ instead");
            out.mFaces[f].mNumIndices = n;
            out.mFaces[f].mIndices = new unsigned[n];
            for (std::uint32_t i = 0; i < n; ++i)
                out.mFaces[f].mIndices[i] = static_cast<unsigned>(mMesh.faceVertexIndices()[corner++]);
            types |= n == 3 ? aiPrimitiveType_TRIANGLE : aiPrimitiveType_POLYGON;
            polygons += n > 3;
        }
        out.mPrimitiveTypes = types;
        const bool trianglesOnly =
            mFormat == MeshFormat::Stl || mFormat == MeshFormat::Gltf || mFormat == MeshFormat::Glb;
        if (trianglesOnly && polygons)
            warn(std::to_string(polygons) + " faces with more than 3 corners are split into triangles (" +
                 meshFormatName(mFormat) + " holds triangles only)");
        if (mFormat == MeshFormat::Stl) {
            warn("STL holds separate triangles: shared vertices, vertex order and texture coordinates are not kept");
        } else {
            addPerVertex(out);
        }
        if (mFormat == MeshFormat::Gltf || mFormat == MeshFormat::Glb) warnOfJoinedVertices(out);

        std::size_t other = 0;
        for (const Mesh::Statement& s : mMesh.statements()) other += s.kind != Mesh::Statement::Kind::Object;
        if (other) warn("groups, materials and smoothing groups are not kept");
        if (!mMesh.materialLibraries().empty()) warn("material libraries (mtllib) are not kept");
        return scene;
    }

    std::vector<std::string>& warnings() { return mWarnings; }

private:
    void warn(const std::string& message)
    {
        mWarnings.push_back(mName + ": " + meshFormatName(mFormat) + ": " + message);
    }

    // Assimp's glTF exporter always joins identical vertices, which also drops the ones no
    // face uses; the order of the rest stays. Said here, with the counts.
    void warnOfJoinedVertices(const aiMesh& out)
    {
        std::vector<bool> used(out.mNumVertices, false);
        for (int v : mMesh.faceVertexIndices()) used[static_cast<std::size_t>(v)] = true;
        std::size_t unused = 0, joined = 0;
        std::set<std::vector<float>> seen;
        for (unsigned v = 0; v < out.mNumVertices; ++v) {
            if (!used[v]) {
                ++unused;
                continue;
            }
            std::vector<float> key = {out.mVertices[v].x, out.mVertices[v].y, out.mVertices[v].z};
            if (out.mTextureCoords[0])
                key.insert(key.end(),
                           {out.mTextureCoords[0][v].x, out.mTextureCoords[0][v].y, out.mTextureCoords[0][v].z});
            if (out.mNormals) key.insert(key.end(), {out.mNormals[v].x, out.mNormals[v].y, out.mNormals[v].z});
            joined += !seen.insert(std::move(key)).second;
        }
        if (unused) warn(std::to_string(unused) + " vertices that no face uses are dropped");
        if (joined)
            warn(std::to_string(joined) +
                 " vertices equal to an earlier one (place, texture coordinate, normal) "
                 "are joined with it");
    }

    // One texture coordinate and one normal per vertex: each vertex takes its first corner's.
    void addPerVertex(aiMesh& out)
    {
        const std::size_t vertices = mMesh.vertexCount();
        const std::vector<int>& cornerVertices = mMesh.faceVertexIndices();
        const auto firstCornerValues = [&](const std::vector<int>& indices, const std::vector<double>& values,
                                           int dimension, std::size_t& conflicts) {
            std::vector<int> chosen(vertices, Mesh::kNone);
            conflicts = 0;
            for (std::size_t c = 0; c < indices.size(); ++c) {
                int& slot = chosen[static_cast<std::size_t>(cornerVertices[c])];
                if (indices[c] == Mesh::kNone) continue;
                if (slot == Mesh::kNone) {
                    slot = indices[c];
                } else if (slot != indices[c]) {
                    const double* a = &values[static_cast<std::size_t>(slot) * dimension];
                    const double* b = &values[static_cast<std::size_t>(indices[c]) * dimension];
                    if (!std::equal(a, a + dimension, b)) ++conflicts;
                }
            }
            return chosen;
        };

        if (!mMesh.faceTexCoordIndices().empty()) {
            const int dimension = mMesh.texCoordDimension();
            std::size_t conflicts = 0;
            const std::vector<int> chosen =
                firstCornerValues(mMesh.faceTexCoordIndices(), mMesh.texCoords(), dimension, conflicts);
            out.mTextureCoords[0] = new aiVector3D[vertices];
            out.mNumUVComponents[0] = static_cast<unsigned>(dimension);
            for (std::size_t v = 0; v < vertices; ++v) {
                if (chosen[v] == Mesh::kNone) continue;
                const double* t = &mMesh.texCoords()[static_cast<std::size_t>(chosen[v]) * dimension];
                out.mTextureCoords[0][v] = aiVector3D(static_cast<float>(t[0]), static_cast<float>(t[1]),
                                                      dimension == 3 ? static_cast<float>(t[2]) : 0.0f);
            }
            if (conflicts)
                warn("one texture coordinate per vertex: " + std::to_string(conflicts) +
                     " corners whose vertex has another (a seam) take the vertex's first");
        }
        if (!mMesh.faceNormalIndices().empty() && mMesh.hasNormals()) {
            // The normals as the OBJ writer would write them: recomputed from the points.
            const std::vector<double> normals =
                recomputeNormals(mMesh.normals(), mMesh.positions().data(), mMesh.faceSizes().data(), mMesh.faceCount(),
                                 mMesh.faceVertexIndices().data(), mMesh.faceNormalIndices().data());
            std::size_t conflicts = 0;
            const std::vector<int> chosen = firstCornerValues(mMesh.faceNormalIndices(), normals, 3, conflicts);
            out.mNormals = new aiVector3D[vertices];
            for (std::size_t v = 0; v < vertices; ++v) {
                if (chosen[v] == Mesh::kNone) continue;
                const double* n = &normals[static_cast<std::size_t>(chosen[v]) * 3];
                out.mNormals[v] =
                    aiVector3D(static_cast<float>(n[0]), static_cast<float>(n[1]), static_cast<float>(n[2]));
            }
            if (conflicts)
                warn("one normal per vertex: hard edges at " + std::to_string(conflicts) +
                     " corners are lost, each vertex takes its first corner's normal");
        }
    }

    const Mesh& mMesh;
    MeshFormat mFormat;
    std::string mName;
    std::vector<std::string> mWarnings;
};

} // namespace

std::vector<std::string> writeMeshWithAssimp(const Mesh& mesh, MeshFormat format, ByteSink& out,
                                             const std::string& name)
{
    const char* id = exporterId(format);
    if (!id) throw MeshFormatError(name + ": " + meshFormatName(format) + " is not written through Assimp");
    SceneBuilder builder(mesh, format, name);
    const std::unique_ptr<aiScene> scene = builder.build();

    Assimp::Exporter exporter;
    const aiExportDataBlob* blob = exporter.ExportToBlob(scene.get(), id, 0);
    if (!blob)
        throw MeshFormatError(name + ": " + meshFormatName(format) +
                              " export failed: " + oneLine(exporter.GetErrorString()));
    if (format == MeshFormat::Gltf) {
        // The JSON names its buffers as files beside it; they go inside it instead, so the
        // output is one file that the output step can commit.
        std::string json(static_cast<const char*>(blob->data), blob->size);
        for (const aiExportDataBlob* part = blob->next; part; part = part->next) {
            const std::string reference = "\"$blobfile." + std::string(part->name.C_Str()) + "\"";
            const std::string embedded = "\"data:application/octet-stream;base64," +
                                         base64(static_cast<const unsigned char*>(part->data), part->size) + "\"";
            for (std::size_t at = json.find(reference); at != std::string::npos;
                 at = json.find(reference, at + embedded.size()))
                json.replace(at, reference.size(), embedded);
        }
        out.write(json.data(), json.size());
    } else {
        out.write(blob->data, blob->size);
    }
    return std::move(builder.warnings());
}

} // namespace hx
