// Writing an ObjMesh as OBJ text.
//
// Every number is printed with std::to_chars' shortest form, which reads back as the very
// same double, so a mesh written and read again is the same mesh to the bit. Lines are
// formatted into one buffer and handed to the atomic file in large blocks: a million-vertex
// mesh costs a few hundred milliseconds and no per-line allocation.
#include "ObjMesh.h"

#include "AtomicFile.h"
#include "VertexNormals.h"

#include <charconv>
#include <cstring>

namespace hx {
namespace {

class LineBuffer {
public:
    explicit LineBuffer(std::FILE* out) : mOut(out) { mBuffer.resize(kCapacity); }
    ~LineBuffer() = default;

    void text(const char* s) { text(s, std::strlen(s)); }
    void text(const std::string& s) { text(s.data(), s.size()); }
    void text(const char* s, std::size_t n)
    {
        if (n > kCapacity - mUsed) flush();
        if (n > kCapacity) {
            std::fwrite(s, 1, n, mOut);
            return;
        }
        std::memcpy(mBuffer.data() + mUsed, s, n);
        mUsed += n;
    }
    void number(double value)
    {
        reserve(32);
        // Negative zero prints as "-0" and reads back as -0.0: the bit pattern survives too.
        const auto result = std::to_chars(cursor(), end(), value);
        mUsed = static_cast<std::size_t>(result.ptr - mBuffer.data());
    }
    void index(long long value)
    {
        reserve(24);
        const auto result = std::to_chars(cursor(), end(), value);
        mUsed = static_cast<std::size_t>(result.ptr - mBuffer.data());
    }
    void put(char c)
    {
        reserve(1);
        mBuffer[mUsed++] = c;
    }
    void flush()
    {
        if (mUsed) std::fwrite(mBuffer.data(), 1, mUsed, mOut);
        mUsed = 0;
    }

private:
    static constexpr std::size_t kCapacity = 1 << 16;
    void reserve(std::size_t n)
    {
        if (kCapacity - mUsed < n) flush();
    }
    char* cursor() { return mBuffer.data() + mUsed; }
    char* end() { return mBuffer.data() + kCapacity; }

    std::FILE* mOut;
    std::vector<char> mBuffer;
    std::size_t mUsed = 0;
};

void writeTuples(LineBuffer& out, const char* keyword, const std::vector<double>& values,
                 std::size_t dimension)
{
    for (std::size_t i = 0; i + dimension <= values.size(); i += dimension) {
        out.text(keyword);
        for (std::size_t k = 0; k < dimension; ++k) {
            out.put(' ');
            out.number(values[i + k]);
        }
        out.put('\n');
    }
}

const char* keywordOf(ObjMesh::Statement::Kind kind)
{
    switch (kind) {
    case ObjMesh::Statement::Kind::Object: return "o";
    case ObjMesh::Statement::Kind::Group: return "g";
    case ObjMesh::Statement::Kind::Material: return "usemtl";
    case ObjMesh::Statement::Kind::Smoothing: return "s";
    }
    return "#";
}

}  // namespace

void ObjMesh::write(const std::string& path) const
{
    AtomicFile file(path);
    LineBuffer out(file.stream());

    out.text("# written by hxnoise\n");
    for (const std::string& library : mMaterialLibraries) {
        out.text("mtllib ");
        out.text(library);
        out.put('\n');
    }
    writeTuples(out, "v", mPositions, 3);
    writeTuples(out, "vt", mTexCoords, static_cast<std::size_t>(mTexCoordDimension));

    // Read normals belong to the read positions; after a deformation only normals computed
    // from the new positions are true. One per vertex, so a corner's normal is its vertex's.
    const bool withNormals = hasNormals();
    if (withNormals) {
        const std::vector<int> faceVertices = faceVertexIndices();
        writeTuples(out, "vn",
                    computeVertexNormals(mPositions.data(), vertexCount(), mFaceSizes.data(),
                                         mFaceSizes.size(), faceVertices.data()),
                    3);
    }

    std::size_t nextStatement = 0;
    std::size_t corner = 0;
    for (std::size_t face = 0; face <= mFaceSizes.size(); ++face) {
        for (; nextStatement < mStatements.size() &&
               mStatements[nextStatement].beforeFace <= face;
             ++nextStatement) {
            const Statement& statement = mStatements[nextStatement];
            out.text(keywordOf(statement.kind));
            // The reader takes o, g and usemtl only with a blank after the keyword: a bare
            // "g" would be skipped, so a nameless one is written "g " (the default group).
            if (!statement.text.empty() || statement.kind != Statement::Kind::Smoothing) {
                out.put(' ');
                out.text(statement.text);
            }
            out.put('\n');
        }
        if (face == mFaceSizes.size()) break;
        out.put('f');
        for (std::uint32_t i = 0; i < mFaceSizes[face]; ++i, ++corner) {
            const Corner& c = mCorners[corner];
            out.put(' ');
            out.index(c.vertex + 1LL);
            const bool normal = withNormals && c.normal != kNone;
            if (c.texCoord != kNone || normal) out.put('/');
            if (c.texCoord != kNone) out.index(c.texCoord + 1LL);
            if (normal) {
                out.put('/');
                out.index(c.vertex + 1LL);
            }
        }
        out.put('\n');
    }
    out.flush();
    file.commit();
}

}  // namespace hx
