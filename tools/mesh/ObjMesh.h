// ObjMesh: a polygon mesh as a Wavefront OBJ file holds it, kept so that it can be written
// back lining up with the input vertex for vertex.
//
// Positions are doubles in file order; faces keep their corners' vertex, texture-coordinate
// and normal indices (made 0-based and absolute); object, group, material and smoothing-group
// statements keep their place among the faces. What the model cannot keep (vertex colours,
// lines, points, curves) is not dropped silently: reading adds a warning for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace hx {

// A file that is not a usable OBJ mesh; what() is one line: "PATH:LINE: reason" or
// "PATH: reason".
class ObjReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ObjMesh {
public:
    static constexpr int kNone = -1;  // a corner without a texture coordinate or normal

    struct Corner {
        int vertex;    // 0-based into positions
        int texCoord;  // 0-based into texCoords, or kNone
        int normal;    // 0-based into normals, or kNone
    };

    // An `o`, `g`, `usemtl` or `s` statement, written just before face `beforeFace`.
    struct Statement {
        enum class Kind { Object, Group, Material, Smoothing };
        Kind kind;
        std::size_t beforeFace;
        std::string text;  // the rest of the line: name(s) or smoothing value
    };

    // Reads PATH; throws ObjReadError with a one-line message on any unusable input.
    static ObjMesh read(const std::string& path);

    // Writes the mesh to PATH through a temporary file renamed into place, so an existing
    // file is either replaced whole or left untouched. When the mesh has normals they are
    // recomputed from the current positions (area-weighted vertex normals): the read ones
    // no longer fit moved points. Throws FileWriteError.
    void write(const std::string& path) const;

    std::size_t vertexCount() const { return mPositions.size() / 3; }
    std::size_t faceCount() const { return mFaceSizes.size(); }

    // x, y, z of each vertex in file order; writable so a deformer can move points in place.
    std::vector<double>& positions() { return mPositions; }
    const std::vector<double>& positions() const { return mPositions; }

    // Corner counts per face, and all faces' corners one after another.
    const std::vector<std::uint32_t>& faceSizes() const { return mFaceSizes; }
    const std::vector<Corner>& corners() const { return mCorners; }
    // The corners' vertex indices alone, as a host's polygon-connects array wants them.
    std::vector<int> faceVertexIndices() const;

    // Texture coordinates, texCoordDimension() values each (2, or 3 when the file had a w).
    const std::vector<double>& texCoords() const { return mTexCoords; }
    int texCoordDimension() const { return mTexCoordDimension; }
    const std::vector<double>& normals() const { return mNormals; }
    bool hasNormals() const { return !mNormals.empty(); }

    const std::vector<Statement>& statements() const { return mStatements; }
    const std::vector<std::string>& materialLibraries() const { return mMaterialLibraries; }

    // The first object name, else the first group name, else empty: what to call the scene
    // transform (the caller falls back to the file's stem).
    std::string nodeName() const;

    // What reading could not keep, one line each ("PATH:LINE: ...").
    const std::vector<std::string>& warnings() const { return mWarnings; }

private:
    friend class ObjReader;

    std::vector<double> mPositions;
    std::vector<double> mTexCoords;
    int mTexCoordDimension = 2;
    std::vector<double> mNormals;
    std::vector<std::uint32_t> mFaceSizes;
    std::vector<Corner> mCorners;
    std::vector<Statement> mStatements;
    std::vector<std::string> mMaterialLibraries;
    std::vector<std::string> mWarnings;
};

}  // namespace hx
