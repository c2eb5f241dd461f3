// Mesh: the polygon mesh that every front end holds (the tool, the viewport, the bindings),
// whatever file it came from. It keeps what an OBJ file can say, so that a mesh read and
// written back lines up with the input vertex for vertex:
//
// - positions, doubles in file order, x, y, z each;
// - faces as corner counts, and for every corner its vertex index, kept in one int array the
//   host takes as it is (no copy); texture-coordinate and normal indices in arrays of their
//   own, present only when some corner has one (a corner without one holds kNone);
// - texture coordinates (2 or 3 values each) and normals, each a list of its own that the
//   corners index, so split normals and texture seams survive;
// - object, group, material and smoothing-group statements in their place among the faces,
//   and the material libraries;
// - warnings for what a reader could not keep (vertex colours, lines, ...).
//
// Indices are 0-based and absolute. The readers (ObjReader.h, AssimpMesh.h) fill a mesh; the
// writers (ObjWriter.h, AssimpMesh.h, PointCache.h) write one out.
#pragma once

#include "OneLineError.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace hx {

// A file that is not a usable mesh; what() is one line: "PATH:LINE: reason" or
// "PATH: reason".
struct MeshReadErrorKind;
using MeshReadError = OneLineError<MeshReadErrorKind>;

class Mesh
{
public:
    static constexpr int kNone = -1; // a corner without a texture coordinate or normal

    struct Corner
    {
        int vertex;   // 0-based into positions
        int texCoord; // 0-based into texCoords, or kNone
        int normal;   // 0-based into normals, or kNone
    };

    // An `o`, `g`, `usemtl` or `s` statement, written just before face `beforeFace`.
    struct Statement
    {
        enum class Kind { Object, Group, Material, Smoothing };
        Kind kind;
        std::size_t beforeFace;
        std::string text; // the rest of the line: name(s) or smoothing value
    };

    // The corners of all faces one after another, assembled from the index arrays on the fly.
    class CornerList;

    // The OBJ file at PATH, whatever its name (ObjReader.h); throws ObjReadError.
    static Mesh read(const std::string& path);
    // Writes the mesh as OBJ to PATH through a temporary file renamed into place, so an
    // existing file is either replaced whole or left untouched (ObjWriter.h). Throws
    // FileWriteError.
    void write(const std::string& path) const;

    std::size_t vertexCount() const { return mPositions.size() / 3; }
    std::size_t faceCount() const { return mFaceSizes.size(); }
    std::size_t cornerCount() const { return mFaceVertices.size(); }

    // x, y, z of each vertex in file order; writable so a deformer can move points in place.
    std::vector<double>& positions() { return mPositions; }
    const std::vector<double>& positions() const { return mPositions; }

    // Corner counts per face.
    const std::vector<std::uint32_t>& faceSizes() const { return mFaceSizes; }
    // The corners' vertex indices, face after face, as a host's polygon-connects array wants.
    const std::vector<int>& faceVertexIndices() const { return mFaceVertices; }
    // The corners' texture-coordinate and normal indices (kNone for a corner without one);
    // empty when no corner has one.
    const std::vector<int>& faceTexCoordIndices() const { return mFaceTexCoords; }
    const std::vector<int>& faceNormalIndices() const { return mFaceNormals; }
    CornerList corners() const;

    // Texture coordinates, texCoordDimension() values each (2, or 3 when the file had a w).
    const std::vector<double>& texCoords() const { return mTexCoords; }
    std::size_t texCoordCount() const { return mTexCoords.size() / static_cast<std::size_t>(mTexCoordDimension); }
    int texCoordDimension() const { return mTexCoordDimension; }
    const std::vector<double>& normals() const { return mNormals; }
    bool hasNormals() const { return !mNormals.empty(); }

    const std::vector<Statement>& statements() const { return mStatements; }
    const std::vector<std::string>& materialLibraries() const { return mMaterialLibraries; }
    std::vector<std::string>& materialLibraries() { return mMaterialLibraries; }

    // The first object name, else the first group name, else empty: what to call the scene
    // transform (the caller falls back to the file's stem).
    std::string nodeName() const;

    // What reading could not keep, one line each ("PATH:LINE: ...").
    const std::vector<std::string>& warnings() const { return mWarnings; }

    // ---- building a mesh (readers, tests, other front ends) --------------------------------

    // Sets the texture coordinates, `dimension` (2 or 3) values each.
    void setTexCoords(std::vector<double> values, int dimension);
    void setNormals(std::vector<double> xyz) { mNormals = std::move(xyz); }
    // Appends a face of `size` corners; `texCoords` and `normals` may be null (no corner of
    // this face has one) or hold kNone for single corners. Indices are not checked here:
    // check() does that for the whole mesh.
    void addFace(std::size_t size, const int* vertices, const int* texCoords = nullptr, const int* normals = nullptr);
    // A statement before the next face added.
    void addStatement(Statement::Kind kind, std::string text);
    void addWarning(std::string message) { mWarnings.push_back(std::move(message)); }
    void reserve(std::size_t vertices, std::size_t faces, std::size_t corners);

    // Throws MeshReadError ("NAME: reason") unless every index is in range, every face has
    // at least 3 corners and every number is finite: what a reader of any format checks
    // before handing a mesh on.
    void check(const std::string& name) const;

    // Every array of the mesh, to hand a mesh across a process boundary or to bindings that
    // fill or take all of it at once. fromParts() takes them unchecked: call check().
    struct Parts
    {
        std::vector<double> positions, texCoords, normals;
        int texCoordDimension = 2;
        std::vector<std::uint32_t> faceSizes;
        std::vector<int> faceVertices, faceTexCoords, faceNormals;
        std::vector<Statement> statements;
        std::vector<std::string> materialLibraries, warnings;
    };
    static Mesh fromParts(Parts parts);
    Parts releaseParts();

private:
    friend class ObjReader;

    std::vector<double> mPositions;
    std::vector<double> mTexCoords;
    int mTexCoordDimension = 2;
    std::vector<double> mNormals;
    std::vector<std::uint32_t> mFaceSizes;
    std::vector<int> mFaceVertices;
    std::vector<int> mFaceTexCoords; // empty, or one per corner
    std::vector<int> mFaceNormals;   // empty, or one per corner
    std::vector<Statement> mStatements;
    std::vector<std::string> mMaterialLibraries;
    std::vector<std::string> mWarnings;
};

class Mesh::CornerList
{
public:
    class Iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = Corner;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Corner;

        Iterator(const Mesh* mesh, std::size_t index) : mMesh(mesh), mIndex(index) {}
        Corner operator*() const { return CornerList(*mMesh)[mIndex]; }
        Corner operator[](difference_type n) const { return CornerList(*mMesh)[mIndex + n]; }
        Iterator& operator++()
        {
            ++mIndex;
            return *this;
        }
        Iterator operator+(difference_type n) const { return Iterator(mMesh, mIndex + n); }
        difference_type operator-(const Iterator& other) const
        {
            return static_cast<difference_type>(mIndex) - static_cast<difference_type>(other.mIndex);
        }
        bool operator==(const Iterator& other) const { return mIndex == other.mIndex; }
        bool operator!=(const Iterator& other) const { return mIndex != other.mIndex; }

    private:
        const Mesh* mMesh;
        std::size_t mIndex;
    };

    explicit CornerList(const Mesh& mesh) : mMesh(&mesh) {}
    std::size_t size() const { return mMesh->mFaceVertices.size(); }
    bool empty() const { return size() == 0; }
    Corner operator[](std::size_t i) const
    {
        return {mMesh->mFaceVertices[i], mMesh->mFaceTexCoords.empty() ? kNone : mMesh->mFaceTexCoords[i],
                mMesh->mFaceNormals.empty() ? kNone : mMesh->mFaceNormals[i]};
    }
    Iterator begin() const { return Iterator(mMesh, 0); }
    Iterator end() const { return Iterator(mMesh, size()); }

private:
    const Mesh* mMesh;
};

inline Mesh::CornerList Mesh::corners() const
{
    return CornerList(*this);
}

} // namespace hx
