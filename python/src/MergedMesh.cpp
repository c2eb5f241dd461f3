#include "MergedMesh.h"

#include <algorithm>

namespace hx {
namespace {

// Appends `indices` moved by `offset`, or kNone for each of `corners` when there are none.
void appendIndices(std::vector<int>& to, const std::vector<int>& indices, std::size_t corners, int offset)
{
    if (indices.empty()) {
        to.insert(to.end(), corners, Mesh::kNone);
        return;
    }
    for (int index : indices) to.push_back(index == Mesh::kNone ? Mesh::kNone : index + offset);
}

} // namespace

Mesh mergeMeshes(std::vector<NamedMesh> meshes)
{
    if (meshes.size() == 1) return std::move(meshes.front().mesh);

    bool texCoords = false, normals = false;
    int dimension = 2;
    for (const NamedMesh& named : meshes) {
        texCoords = texCoords || !named.mesh.faceTexCoordIndices().empty();
        normals = normals || !named.mesh.faceNormalIndices().empty();
        if (named.mesh.texCoordCount() > 0) dimension = std::max(dimension, named.mesh.texCoordDimension());
    }

    Mesh::Parts merged;
    merged.texCoordDimension = dimension;
    for (NamedMesh& named : meshes) {
        Mesh::Parts part = named.mesh.releaseParts();
        const int vertexOffset = static_cast<int>(merged.positions.size() / 3);
        const int texCoordOffset = static_cast<int>(merged.texCoords.size() / static_cast<std::size_t>(dimension));
        const int normalOffset = static_cast<int>(merged.normals.size() / 3);
        const std::size_t faceOffset = merged.faceSizes.size();

        merged.positions.insert(merged.positions.end(), part.positions.begin(), part.positions.end());
        for (std::size_t i = 0; i < part.texCoords.size(); i += static_cast<std::size_t>(part.texCoordDimension))
            for (int c = 0; c < dimension; ++c)
                merged.texCoords.push_back(c < part.texCoordDimension ? part.texCoords[i + static_cast<std::size_t>(c)]
                                                                      : 0.0);
        merged.normals.insert(merged.normals.end(), part.normals.begin(), part.normals.end());
        merged.faceSizes.insert(merged.faceSizes.end(), part.faceSizes.begin(), part.faceSizes.end());
        for (int v : part.faceVertices) merged.faceVertices.push_back(v + vertexOffset);
        if (texCoords)
            appendIndices(merged.faceTexCoords, part.faceTexCoords, part.faceVertices.size(), texCoordOffset);
        if (normals) appendIndices(merged.faceNormals, part.faceNormals, part.faceVertices.size(), normalOffset);

        const bool startsWithObject = !part.statements.empty() && part.statements.front().beforeFace == 0 &&
                                      part.statements.front().kind == Mesh::Statement::Kind::Object;
        // The part's object line names it as the scene does: two meshes read from one file
        // stay two objects.
        if (startsWithObject)
            part.statements.front().text = named.name;
        else
            merged.statements.push_back({Mesh::Statement::Kind::Object, faceOffset, named.name});
        for (Mesh::Statement& statement : part.statements) {
            statement.beforeFace += faceOffset;
            merged.statements.push_back(std::move(statement));
        }
        for (std::string& library : part.materialLibraries)
            if (std::find(merged.materialLibraries.begin(), merged.materialLibraries.end(), library) ==
                merged.materialLibraries.end())
                merged.materialLibraries.push_back(std::move(library));
    }
    return Mesh::fromParts(std::move(merged));
}

} // namespace hx
