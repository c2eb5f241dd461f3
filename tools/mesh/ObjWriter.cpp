#include "ObjWriter.h"

#include "AtomicFile.h"
#include "VertexNormals.h"

#include <charconv>
#include <cstring>
#include <memory>

namespace hx {
namespace {

// Formats into a 1 MiB buffer and hands it to the sink whole.
class TextBuffer
{
public:
    explicit TextBuffer(ByteSink& out) : mOut(out), mBuffer(new char[kCapacity]) {}

    void text(const char* s) { text(s, std::strlen(s)); }
    void text(const std::string& s) { text(s.data(), s.size()); }
    void text(const char* s, std::size_t n)
    {
        if (n > kCapacity - mUsed) flush();
        if (n > kCapacity) {
            mOut.write(s, n);
            return;
        }
        std::memcpy(mBuffer.get() + mUsed, s, n);
        mUsed += n;
    }
    // Room for a whole line of small items; the caller then uses the unchecked appends.
    void reserve(std::size_t n)
    {
        if (kCapacity - mUsed < n) flush();
    }
    // Negative zero prints as "-0" and reads back as -0.0: the bit pattern survives too.
    void number(double value)
    {
        mUsed = static_cast<std::size_t>(std::to_chars(cursor(), end(), value).ptr - mBuffer.get());
    }
    void index(long long value)
    {
        mUsed = static_cast<std::size_t>(std::to_chars(cursor(), end(), value).ptr - mBuffer.get());
    }
    void put(char c) { mBuffer[mUsed++] = c; }
    void flush()
    {
        if (mUsed) mOut.write(mBuffer.get(), mUsed);
        mUsed = 0;
    }

private:
    static constexpr std::size_t kCapacity = 1 << 20;
    char* cursor() { return mBuffer.get() + mUsed; }
    char* end() { return mBuffer.get() + kCapacity; }

    ByteSink& mOut;
    std::unique_ptr<char[]> mBuffer;
    std::size_t mUsed = 0;
};

constexpr std::size_t kNumberBytes = 32; // the longest shortest form of a double is 24

void writeTuples(TextBuffer& out, const char* keyword, const std::vector<double>& values, std::size_t dimension)
{
    const std::size_t keywordLength = std::strlen(keyword);
    for (std::size_t i = 0; i + dimension <= values.size(); i += dimension) {
        out.reserve(keywordLength + 1 + dimension * (kNumberBytes + 1));
        out.text(keyword, keywordLength);
        for (std::size_t k = 0; k < dimension; ++k) {
            out.put(' ');
            out.number(values[i + k]);
        }
        out.put('\n');
    }
}

const char* keywordOf(Mesh::Statement::Kind kind)
{
    switch (kind) {
    case Mesh::Statement::Kind::Object: return "o";
    case Mesh::Statement::Kind::Group: return "g";
    case Mesh::Statement::Kind::Material: return "usemtl";
    case Mesh::Statement::Kind::Smoothing: return "s";
    }
    return "#";
}

} // namespace

void writeObj(const Mesh& mesh, ByteSink& sink, const std::vector<std::string>& comment)
{
    TextBuffer out(sink);
    out.text("# written by hxnoise\n");
    for (std::string line : comment) {
        // A line break would end the comment and start a statement.
        for (char& c : line)
            if (c == '\n' || c == '\r') c = ' ';
        out.text("# ");
        out.text(line);
        out.put('\n');
    }
    for (const std::string& library : mesh.materialLibraries()) {
        out.text("mtllib ");
        out.text(library);
        out.put('\n');
    }
    writeTuples(out, "v", mesh.positions(), 3);
    writeTuples(out, "vt", mesh.texCoords(), static_cast<std::size_t>(mesh.texCoordDimension()));
    // Read normals belong to the read positions; after a deformation only normals computed
    // from the new positions are true.
    if (mesh.hasNormals() && !mesh.faceNormalIndices().empty())
        writeTuples(out, "vn",
                    recomputeNormals(mesh.normals(), mesh.positions().data(), mesh.faceSizes().data(), mesh.faceCount(),
                                     mesh.faceVertexIndices().data(), mesh.faceNormalIndices().data()),
                    3);
    else
        writeTuples(out, "vn", mesh.normals(), 3); // used by no face: nothing to recompute them from

    const std::vector<std::uint32_t>& sizes = mesh.faceSizes();
    const int* vertices = mesh.faceVertexIndices().data();
    const int* texCoords = mesh.faceTexCoordIndices().empty() ? nullptr : mesh.faceTexCoordIndices().data();
    const int* normals = mesh.faceNormalIndices().empty() ? nullptr : mesh.faceNormalIndices().data();
    const std::vector<Mesh::Statement>& statements = mesh.statements();
    std::size_t nextStatement = 0;
    std::size_t corner = 0;
    for (std::size_t face = 0; face <= sizes.size(); ++face) {
        for (; nextStatement < statements.size() && statements[nextStatement].beforeFace <= face; ++nextStatement) {
            const Mesh::Statement& statement = statements[nextStatement];
            out.text(keywordOf(statement.kind));
            // A nameless o, g or usemtl is written "g " (the default group), the form that
            // every reader takes, some of which skip a bare "g".
            if (!statement.text.empty() || statement.kind != Mesh::Statement::Kind::Smoothing) {
                out.text(" ", 1);
                out.text(statement.text);
            }
            out.text("\n", 1);
        }
        if (face == sizes.size()) break;
        out.text("f", 1);
        for (std::uint32_t i = 0; i < sizes[face]; ++i, ++corner) {
            out.reserve(40); // " v/vt/vn" with three 11-character indices
            out.put(' ');
            out.index(vertices[corner] + 1LL);
            const bool texCoord = texCoords && texCoords[corner] != Mesh::kNone;
            const bool normal = normals && normals[corner] != Mesh::kNone;
            if (texCoord || normal) out.put('/');
            if (texCoord) out.index(texCoords[corner] + 1LL);
            if (normal) {
                out.put('/');
                out.index(normals[corner] + 1LL);
            }
        }
        out.text("\n", 1);
    }
    out.flush();
}

void writeObj(const Mesh& mesh, std::FILE* out, const std::string& name)
{
    FileSink sink(out, name);
    writeObj(mesh, sink);
}

void writeObj(const Mesh& mesh, int fd, const std::string& name)
{
    FdSink sink(fd, name);
    writeObj(mesh, sink);
}

void Mesh::write(const std::string& path) const
{
    AtomicFile file(path);
    writeObj(*this, file.stream(), path);
    file.commit();
}

} // namespace hx
