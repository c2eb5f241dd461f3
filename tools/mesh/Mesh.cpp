#include "Mesh.h"

#include <cmath>

namespace hx {
namespace {

bool allFinite(const std::vector<double>& values)
{
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

// Appends `value`, or kNone, to a per-corner index array that stays empty until the first
// corner that has an index; it is then filled with kNone for the corners before it.
void appendOptional(std::vector<int>& indices, std::size_t cornersBefore, int value)
{
    if (indices.empty()) {
        if (value == Mesh::kNone) return;
        indices.assign(cornersBefore, Mesh::kNone);
    }
    indices.push_back(value);
}

} // namespace

void Mesh::setTexCoords(std::vector<double> values, int dimension)
{
    if (dimension != 2 && dimension != 3)
        throw std::invalid_argument("texture coordinates have 2 or 3 values, not " + std::to_string(dimension));
    mTexCoords = std::move(values);
    mTexCoordDimension = dimension;
}

void Mesh::addFace(std::size_t size, const int* vertices, const int* texCoords, const int* normals)
{
    const std::size_t before = mFaceVertices.size();
    mFaceVertices.insert(mFaceVertices.end(), vertices, vertices + size);
    for (std::size_t i = 0; i < size; ++i) {
        appendOptional(mFaceTexCoords, before + i, texCoords ? texCoords[i] : kNone);
        appendOptional(mFaceNormals, before + i, normals ? normals[i] : kNone);
    }
    mFaceSizes.push_back(static_cast<std::uint32_t>(size));
}

void Mesh::addStatement(Statement::Kind kind, std::string text)
{
    mStatements.push_back({kind, mFaceSizes.size(), std::move(text)});
}

void Mesh::reserve(std::size_t vertices, std::size_t faces, std::size_t corners)
{
    mPositions.reserve(3 * vertices);
    mFaceSizes.reserve(faces);
    mFaceVertices.reserve(corners);
}

void Mesh::check(const std::string& name) const
{
    const auto fail = [&](const std::string& reason) { throw MeshReadError(name + ": " + reason); };
    if (mPositions.empty()) fail("no vertices, not a mesh");
    if (mPositions.size() % 3 || mNormals.size() % 3 || mTexCoords.size() % mTexCoordDimension)
        fail("incomplete vertex data");
    if (!allFinite(mPositions) || !allFinite(mTexCoords) || !allFinite(mNormals)) fail("numbers that are not finite");
    std::size_t corners = 0;
    for (std::uint32_t size : mFaceSizes) {
        if (size < 3) fail("a face with fewer than 3 corners");
        corners += size;
    }
    if (corners != mFaceVertices.size() || (!mFaceTexCoords.empty() && mFaceTexCoords.size() != corners) ||
        (!mFaceNormals.empty() && mFaceNormals.size() != corners))
        fail("face corners that do not add up");
    const auto inRange = [](const std::vector<int>& indices, std::size_t count, bool optional) {
        for (int index : indices)
            if (!(optional && index == kNone) && (index < 0 || static_cast<std::size_t>(index) >= count)) return false;
        return true;
    };
    if (!inRange(mFaceVertices, vertexCount(), false)) fail("a face names a vertex the mesh does not have");
    if (!inRange(mFaceTexCoords, texCoordCount(), true))
        fail("a face names a texture coordinate the mesh does not have");
    if (!inRange(mFaceNormals, mNormals.size() / 3, true)) fail("a face names a normal the mesh does not have");
}

Mesh Mesh::fromParts(Parts parts)
{
    Mesh mesh;
    mesh.mPositions = std::move(parts.positions);
    mesh.mTexCoords = std::move(parts.texCoords);
    mesh.mTexCoordDimension = parts.texCoordDimension;
    mesh.mNormals = std::move(parts.normals);
    mesh.mFaceSizes = std::move(parts.faceSizes);
    mesh.mFaceVertices = std::move(parts.faceVertices);
    mesh.mFaceTexCoords = std::move(parts.faceTexCoords);
    mesh.mFaceNormals = std::move(parts.faceNormals);
    mesh.mStatements = std::move(parts.statements);
    mesh.mMaterialLibraries = std::move(parts.materialLibraries);
    mesh.mWarnings = std::move(parts.warnings);
    return mesh;
}

Mesh::Parts Mesh::releaseParts()
{
    Parts parts;
    parts.positions = std::move(mPositions);
    parts.texCoords = std::move(mTexCoords);
    parts.texCoordDimension = mTexCoordDimension;
    parts.normals = std::move(mNormals);
    parts.faceSizes = std::move(mFaceSizes);
    parts.faceVertices = std::move(mFaceVertices);
    parts.faceTexCoords = std::move(mFaceTexCoords);
    parts.faceNormals = std::move(mFaceNormals);
    parts.statements = std::move(mStatements);
    parts.materialLibraries = std::move(mMaterialLibraries);
    parts.warnings = std::move(mWarnings);
    *this = Mesh();
    return parts;
}

std::string Mesh::nodeName() const
{
    for (const Statement& s : mStatements)
        if (s.kind == Statement::Kind::Object && !s.text.empty()) return s.text;
    for (const Statement& s : mStatements)
        if (s.kind == Statement::Kind::Group && !s.text.empty()) return s.text;
    return std::string();
}

} // namespace hx
