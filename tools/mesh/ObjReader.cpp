// Reading an OBJ file into an ObjMesh.
//
// Two passes over the file. tinyobjloader's streaming reader gives the faces and the object,
// group and material statements. Before it runs, our own line check goes over the file,
// because the library does not guard what we must: its number parser is not correctly
// rounded (coordinates would not survive a round trip to the bit) and turns text it cannot
// read, "nan" included, into 0 without a word; it keeps out-of-range face indices; and its
// line reader has no length limit, so one huge garbage line could take gigabytes. The check
// reads in fixed chunks, reports the first fault with its line number, and keeps the exactly
// parsed vertex, texture and normal numbers (std::from_chars), plus the `s` and `mtllib`
// statements the streaming reader skips.
#include "ObjMesh.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <string_view>
#include <sys/stat.h>

#include <tiny_obj_loader.h>

namespace hx {
namespace {

// A real OBJ line is short (a face with thousands of corners is under 100 KB); past this a
// line is garbage, and holding it would only cost memory.
constexpr std::size_t kMaxLineBytes = 1 << 20;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (isBlank(s.front()) || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// Splits off the next blank-separated token.
std::string_view nextToken(std::string_view& rest)
{
    std::size_t begin = 0;
    while (begin < rest.size() && isBlank(rest[begin])) ++begin;
    std::size_t end = begin;
    while (end < rest.size() && !isBlank(rest[end])) ++end;
    const std::string_view token = rest.substr(begin, end - begin);
    rest.remove_prefix(end);
    return token;
}

std::string quoted(std::string_view token)
{
    constexpr std::size_t kShown = 40;
    if (token.size() <= kShown) return "'" + std::string(token) + "'";
    return "'" + std::string(token.substr(0, kShown)) + "...'";
}

// Statements of the OBJ format that this model does not keep; met in a file, they earn a
// warning instead of an error.
const std::set<std::string_view>& unkeptStatements()
{
    static const std::set<std::string_view> names = {
        "l",    "p",    "vp",   "curv",  "curv2",    "surf",     "cstype", "deg",    "bmat",
        "step", "parm", "trim", "hole",  "scrv",     "sp",       "end",    "con",    "mg",
        "bevel", "c_interp", "d_interp", "lod", "shadow_obj", "trace_obj", "ctech", "stech",
        "maplib", "usemap", "call", "csh", "t"};
    return names;
}

}  // namespace

class ObjReader {
public:
    explicit ObjReader(const std::string& path) : mPath(path) {}

    ObjMesh read()
    {
        checkIsReadableFile();
        checkLines();
        readStructure();
        return std::move(mMesh);
    }

private:
    [[noreturn]] void failAt(std::size_t line, const std::string& reason) const
    {
        throw ObjReadError(mPath + ":" + std::to_string(line) + ": " + reason);
    }
    [[noreturn]] void fail(const std::string& reason) const
    {
        throw ObjReadError(mPath + ": " + reason);
    }

    void checkIsReadableFile() const
    {
        struct stat info;
        if (::stat(mPath.c_str(), &info) != 0) fail(std::strerror(errno));
        if (S_ISDIR(info.st_mode)) fail("is a directory, not an OBJ file");
        if (!S_ISREG(info.st_mode)) fail("is not a regular file");
        if (info.st_size == 0) fail("empty file, no vertices");
    }

    // ---- first pass: the line check -------------------------------------------------------

    void checkLines()
    {
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(mPath.c_str(), "rb"),
                                                             &std::fclose);
        if (!file) fail(std::strerror(errno));

        std::vector<char> chunk(1 << 20);
        std::string line;
        std::size_t lineNumber = 1;
        bool afterCarriageReturn = false;
        for (;;) {
            const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
            if (got == 0) {
                if (std::ferror(file.get())) fail(std::strerror(errno));
                break;
            }
            for (std::size_t i = 0; i < got; ++i) {
                const char c = chunk[i];
                // Line ends as the streaming reader sees them: "\n", "\r\n" and a lone "\r".
                if (c == '\n' && afterCarriageReturn) {
                    afterCarriageReturn = false;
                    continue;
                }
                afterCarriageReturn = (c == '\r');
                if (c == '\n' || c == '\r') {
                    checkLine(lineNumber++, line);
                    line.clear();
                    continue;
                }
                const unsigned char byte = static_cast<unsigned char>(c);
                if (byte < 0x20 && c != '\t' && c != '\f' && c != '\v') {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "0x%02x", byte);
                    failAt(lineNumber, std::string("binary data (byte ") + hex +
                                           "), not a text OBJ file");
                }
                if (line.size() >= kMaxLineBytes)
                    failAt(lineNumber, "line longer than 1 MiB, not an OBJ statement");
                line.push_back(c);
            }
        }
        if (!line.empty()) checkLine(lineNumber, line);

        if (mMesh.mPositions.empty()) fail("no vertices ('v' lines), not an OBJ mesh");
        checkForwardIndex(mMaxVertex, vertexCount(), "vertex");
        checkForwardIndex(mMaxTexCoord, mTexCoordCount, "texture coordinate");
        checkForwardIndex(mMaxNormal, mMesh.mNormals.size() / 3, "normal");
        compactTexCoords();
    }

    struct MaxIndex {
        long long value = 0;
        std::size_t line = 0;
    };

    void checkForwardIndex(const MaxIndex& max, std::size_t count, const char* what) const
    {
        if (max.value > static_cast<long long>(count))
            failAt(max.line, std::string("face names ") + what + " " + std::to_string(max.value) +
                                 " but the file has only " + std::to_string(count));
    }

    std::size_t vertexCount() const { return mMesh.mPositions.size() / 3; }

    void checkLine(std::size_t lineNumber, std::string_view line)
    {
        std::string_view rest = line;
        const std::string_view keyword = nextToken(rest);
        if (keyword.empty() || keyword.front() == '#') return;

        if (keyword == "v") {
            double xyz[3];
            const std::size_t count = readNumbers(lineNumber, rest, xyz, 3, "vertex");
            if (count < 3) failAt(lineNumber, "a vertex needs x, y and z");
            if (count == 4) warnOnce(lineNumber, "vertex weights (the 4th number) are not kept");
            else if (count == 6 || count == 7) warnOnce(lineNumber, "vertex colours are not kept");
            else if (count != 3)
                failAt(lineNumber, "a vertex has 3, 4, 6 or 7 numbers, not " +
                                       std::to_string(count));
            mMesh.mPositions.insert(mMesh.mPositions.end(), xyz, xyz + 3);
        } else if (keyword == "vt") {
            double uvw[3] = {0.0, 0.0, 0.0};
            const std::size_t count = readNumbers(lineNumber, rest, uvw, 3, "texture coordinate");
            if (count < 1 || count > 3)
                failAt(lineNumber, "a texture coordinate has 1 to 3 numbers, not " +
                                       std::to_string(count));
            if (count == 3) mMesh.mTexCoordDimension = 3;
            mMesh.mTexCoords.insert(mMesh.mTexCoords.end(), uvw, uvw + 3);
            ++mTexCoordCount;
        } else if (keyword == "vn") {
            double xyz[3];
            if (readNumbers(lineNumber, rest, xyz, 3, "normal") != 3)
                failAt(lineNumber, "a normal needs exactly x, y and z");
            mMesh.mNormals.insert(mMesh.mNormals.end(), xyz, xyz + 3);
        } else if (keyword == "f") {
            checkFace(lineNumber, rest);
            ++mFaceCount;
        } else if (keyword == "s") {
            mMesh.mStatements.push_back(
                {ObjMesh::Statement::Kind::Smoothing, mFaceCount, std::string(trim(rest))});
        } else if (keyword == "mtllib") {
            mMesh.mMaterialLibraries.emplace_back(trim(rest));
        } else if (keyword == "o" || keyword == "g" || keyword == "usemtl") {
            // Read by the streaming reader with the faces, which takes these only with a
            // blank after the keyword. A bare one ("g": back to the default group) is kept
            // here, so that the faces after it don't fall into the group before it.
            const char* after = keyword.data() + keyword.size();
            const char* end = line.data() + line.size();
            if (after == end || *after == '\r') {
                const auto kind = keyword == "o"   ? ObjMesh::Statement::Kind::Object
                                  : keyword == "g" ? ObjMesh::Statement::Kind::Group
                                                   : ObjMesh::Statement::Kind::Material;
                mMesh.mStatements.push_back({kind, mFaceCount, std::string()});
            }
        } else if (unkeptStatements().count(keyword)) {
            warnOnce(lineNumber, "'" + std::string(keyword) + "' statements are not kept");
        } else {
            failAt(lineNumber, quoted(keyword) + " is not an OBJ statement");
        }
    }

    // Reads every remaining token as a finite double, keeping the first `keep`; returns how
    // many there were.
    std::size_t readNumbers(std::size_t lineNumber, std::string_view rest, double* out,
                            std::size_t keep, const char* what) const
    {
        std::size_t count = 0;
        for (std::string_view token = nextToken(rest); !token.empty(); token = nextToken(rest)) {
            std::string_view digits = token;
            if (digits.front() == '+') digits.remove_prefix(1);  // from_chars takes no '+'
            double value = 0.0;
            const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), value);
            if (error == std::errc::result_out_of_range)
                failAt(lineNumber, std::string(what) + " number " + quoted(token) +
                                       " is out of the range of a double");
            if (error != std::errc() || end != digits.data() + digits.size())
                failAt(lineNumber, std::string(what) + " number " + quoted(token) +
                                       " is not a number");
            if (!std::isfinite(value))
                failAt(lineNumber, std::string(what) + " number " + quoted(token) +
                                       " is not finite");
            if (count < keep) out[count] = value;
            ++count;
        }
        return count;
    }

    void checkFace(std::size_t lineNumber, std::string_view rest)
    {
        std::size_t corners = 0;
        for (std::string_view token = nextToken(rest); !token.empty(); token = nextToken(rest)) {
            // v, v/vt, v//vn or v/vt/vn
            std::string_view parts[3];
            std::size_t partCount = 0;
            std::string_view remaining = token;
            for (;;) {
                const std::size_t slash = remaining.find('/');
                if (partCount == 3) failAt(lineNumber, "face corner " + quoted(token) +
                                                           " has more than v/vt/vn");
                parts[partCount++] = remaining.substr(0, slash);
                if (slash == std::string_view::npos) break;
                remaining.remove_prefix(slash + 1);
            }
            checkIndex(lineNumber, token, parts[0], vertexCount(), mMaxVertex, "vertex", true);
            if (partCount > 1)
                checkIndex(lineNumber, token, parts[1], mTexCoordCount, mMaxTexCoord,
                           "texture coordinate", partCount == 2 || !parts[1].empty());
            if (partCount > 2)
                checkIndex(lineNumber, token, parts[2], mMesh.mNormals.size() / 3, mMaxNormal,
                           "normal", true);
            ++corners;
        }
        if (corners < 3)
            failAt(lineNumber, "a face needs at least 3 corners, this one has " +
                                   std::to_string(corners));
    }

    void checkIndex(std::size_t lineNumber, std::string_view token, std::string_view text,
                    std::size_t countSoFar, MaxIndex& max, const char* what, bool required) const
    {
        if (text.empty()) {
            if (required) failAt(lineNumber, "face corner " + quoted(token) + " lacks a " + what +
                                                 " index");
            return;
        }
        int index = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
        if (error != std::errc() || end != text.data() + text.size())
            failAt(lineNumber, "face corner " + quoted(token) + " has " + quoted(text) +
                                   ", not a whole " + what + " index");
        if (index == 0) failAt(lineNumber, std::string(what) + " index 0 in face corner " +
                                               quoted(token) + " (indices start at 1)");
        if (index < 0) {
            // Relative: -1 is the latest one read so far.
            if (static_cast<std::size_t>(-static_cast<long long>(index)) > countSoFar)
                failAt(lineNumber, "face names " + std::string(what) + " " + std::to_string(index) +
                                       " but only " + std::to_string(countSoFar) +
                                       " come before it");
        } else if (index > max.value) {
            max.value = index;
            max.line = lineNumber;
        }
    }

    void warnOnce(std::size_t lineNumber, const std::string& message)
    {
        if (mWarned.insert(message).second)
            mMesh.mWarnings.push_back(mPath + ":" + std::to_string(lineNumber) + ": " + message);
    }

    // Texture coordinates were kept three to a vertex while reading; most files have two.
    void compactTexCoords()
    {
        std::vector<double>& tc = mMesh.mTexCoords;
        if (mMesh.mTexCoordDimension == 3) return;
        for (std::size_t i = 0; i < mTexCoordCount; ++i) {
            tc[2 * i] = tc[3 * i];
            tc[2 * i + 1] = tc[3 * i + 1];
        }
        tc.resize(2 * mTexCoordCount);
        tc.shrink_to_fit();
    }

    // ---- second pass: tinyobjloader's streaming reader --------------------------------------

    struct StructureState {
        ObjMesh* mesh;
        std::size_t vertices = 0;
        std::size_t texCoords = 0;
        std::size_t normals = 0;
        std::vector<ObjMesh::Statement> statements;
    };

    static int resolve(int raw, std::size_t countSoFar)
    {
        if (raw > 0) return raw - 1;
        if (raw < 0) return static_cast<int>(countSoFar) + raw;
        return ObjMesh::kNone;  // the reader's mark for "not given"
    }

    void readStructure()
    {
        std::ifstream in(mPath, std::ios::binary);
        if (!in) fail(std::strerror(errno));

        StructureState state;
        state.mesh = &mMesh;
        mMesh.mFaceSizes.reserve(mFaceCount);

        tinyobj::callback_t callbacks;
        callbacks.vertex_cb = [](void* user, tinyobj::real_t, tinyobj::real_t, tinyobj::real_t,
                                 tinyobj::real_t) { ++static_cast<StructureState*>(user)->vertices; };
        callbacks.texcoord_cb = [](void* user, tinyobj::real_t, tinyobj::real_t, tinyobj::real_t) {
            ++static_cast<StructureState*>(user)->texCoords;
        };
        callbacks.normal_cb = [](void* user, tinyobj::real_t, tinyobj::real_t, tinyobj::real_t) {
            ++static_cast<StructureState*>(user)->normals;
        };
        callbacks.index_cb = [](void* user, tinyobj::index_t* indices, int count) {
            auto* s = static_cast<StructureState*>(user);
            for (int i = 0; i < count; ++i) {
                s->mesh->mCorners.push_back({resolve(indices[i].vertex_index, s->vertices),
                                             resolve(indices[i].texcoord_index, s->texCoords),
                                             resolve(indices[i].normal_index, s->normals)});
            }
            s->mesh->mFaceSizes.push_back(static_cast<std::uint32_t>(count));
        };
        callbacks.object_cb = [](void* user, const char* name) {
            auto* s = static_cast<StructureState*>(user);
            s->statements.push_back({ObjMesh::Statement::Kind::Object,
                                     s->mesh->mFaceSizes.size(), std::string(trim(name))});
        };
        callbacks.group_cb = [](void* user, const char** names, int count) {
            auto* s = static_cast<StructureState*>(user);
            std::string joined;
            for (int i = 0; i < count; ++i) joined += (i ? " " : "") + std::string(names[i]);
            s->statements.push_back(
                {ObjMesh::Statement::Kind::Group, s->mesh->mFaceSizes.size(), joined});
        };
        callbacks.usemtl_cb = [](void* user, const char* name, int) {
            auto* s = static_cast<StructureState*>(user);
            s->statements.push_back({ObjMesh::Statement::Kind::Material,
                                     s->mesh->mFaceSizes.size(), std::string(trim(name))});
        };

        std::string warn, err;
        const bool ok =
            tinyobj::LoadObjWithCallback(in, callbacks, &state, nullptr, &warn, &err);
        if (!ok || !err.empty()) fail("unreadable OBJ: " + std::string(trim(err)));
        // Both passes saw the same file unless it changed underneath us.
        if (state.vertices != vertexCount() || state.texCoords != mTexCoordCount ||
            state.normals != mMesh.mNormals.size() / 3 || mMesh.mFaceSizes.size() != mFaceCount)
            fail("the file changed while it was being read");

        // Statements from both passes, in face order; the `s` ones came from the line check.
        std::vector<ObjMesh::Statement> merged;
        merged.reserve(state.statements.size() + mMesh.mStatements.size());
        std::merge(state.statements.begin(), state.statements.end(), mMesh.mStatements.begin(),
                   mMesh.mStatements.end(), std::back_inserter(merged),
                   [](const ObjMesh::Statement& a, const ObjMesh::Statement& b) {
                       return a.beforeFace < b.beforeFace;
                   });
        mMesh.mStatements = std::move(merged);
    }

    std::string mPath;
    ObjMesh mMesh;
    std::size_t mTexCoordCount = 0;
    std::size_t mFaceCount = 0;
    MaxIndex mMaxVertex, mMaxTexCoord, mMaxNormal;
    std::set<std::string> mWarned;
};

ObjMesh ObjMesh::read(const std::string& path) { return ObjReader(path).read(); }

std::vector<int> ObjMesh::faceVertexIndices() const
{
    std::vector<int> indices(mCorners.size());
    for (std::size_t i = 0; i < mCorners.size(); ++i) indices[i] = mCorners[i].vertex;
    return indices;
}

std::string ObjMesh::nodeName() const
{
    for (const Statement& s : mStatements)
        if (s.kind == Statement::Kind::Object && !s.text.empty()) return s.text;
    for (const Statement& s : mStatements)
        if (s.kind == Statement::Kind::Group && !s.text.empty()) return s.text;
    return std::string();
}

}  // namespace hx
