// One pass over OBJ text, block by block.
//
// The file is read in 4 MiB blocks rather than memory-mapped: a mapped file that shrinks
// while it is read (rewritten by another program) kills the reader with SIGBUS, and a block
// reader works the same for a pipe. Each block is cut after its last line end; the part line
// after it moves to the front of the next block. Lines are parsed in place, numbers with
// std::from_chars, with no copy of a line.
#include "ObjReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>

namespace hx {
namespace {

// A real OBJ line is short (a face with thousands of corners is under 100 KB); past this a
// line is garbage.
constexpr std::size_t kMaxLineBytes = 1 << 20;
constexpr std::size_t kBlockBytes = 4 << 20;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The first byte at or after `p` below 0x20 (a line end, a tab or a control byte), or `end`.
// Eight bytes at a time: a byte below 0x20 has its top bit set after subtracting 0x20, and
// bytes of 0x80 and up are masked out by ~word.
const char* skipText(const char* p, const char* end)
{
    constexpr std::uint64_t kLow = 0x2020202020202020ull, kHigh = 0x8080808080808080ull;
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if ((word - kLow) & ~word & kHigh) break;
        p += 8;
    }
    while (p < end && static_cast<unsigned char>(*p) >= 0x20) ++p;
    return p;
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
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

// Statements of the OBJ format that the mesh does not keep; met in a file, they earn a
// warning instead of an error.
const std::set<std::string_view>& unkeptStatements()
{
    static const std::set<std::string_view> names = {
        "l",     "p",     "vp",     "curv",     "curv2",    "surf", "cstype",     "deg",
        "bmat",  "step",  "parm",   "trim",     "hole",     "scrv", "sp",         "end",
        "con",   "mg",    "bevel",  "c_interp", "d_interp", "lod",  "shadow_obj", "trace_obj",
        "ctech", "stech", "maplib", "usemap",   "call",     "csh",  "t"};
    return names;
}

// Line, vertex, face and corner counts guessed from a sample of the file, so that storage is
// reserved once instead of growing by doubling (which would briefly hold twice the data).
struct SizeEstimate
{
    std::size_t vertices = 0, texCoords = 0, normals = 0, faces = 0, corners = 0;
};

// Reads 64 windows of 4 KiB spread evenly through the file and scales what their whole lines
// hold up to the file's size, with a few per cent to spare.
SizeEstimate estimateSizes(int fd, std::size_t fileSize)
{
    constexpr std::size_t kWindows = 64, kWindowBytes = 4096;
    SizeEstimate sample;
    std::size_t sampledBytes = 0;
    char window[kWindowBytes];
    for (std::size_t w = 0; w < kWindows; ++w) {
        const std::size_t offset = fileSize <= kWindowBytes ? 0 : (fileSize - kWindowBytes) / (kWindows - 1) * w;
        const ssize_t got = ::pread(fd, window, kWindowBytes, static_cast<off_t>(offset));
        if (got <= 0) break;
        const char* p = window;
        const char* end = window + got;
        if (offset > 0) { // start at the first whole line
            p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!p) continue;
            ++p;
        }
        for (;;) {
            const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!lineEnd) break;
            if (p[0] == 'v' && p + 1 < lineEnd) {
                if (p[1] == ' ')
                    ++sample.vertices;
                else if (p[1] == 't')
                    ++sample.texCoords;
                else if (p[1] == 'n')
                    ++sample.normals;
            } else if (p[0] == 'f' && p + 1 < lineEnd && p[1] == ' ') {
                ++sample.faces;
                for (const char* c = p + 1; c + 1 < lineEnd; ++c) sample.corners += (*c == ' ' && c[1] != ' ');
            }
            sampledBytes += static_cast<std::size_t>(lineEnd + 1 - p);
            p = lineEnd + 1;
        }
        if (fileSize <= kWindowBytes) break;
    }
    if (sampledBytes == 0) return {};
    const double scale = 1.03 * static_cast<double>(fileSize) / static_cast<double>(sampledBytes);
    const auto scaled = [&](std::size_t n) { return static_cast<std::size_t>(static_cast<double>(n) * scale) + 16; };
    return {scaled(sample.vertices), scaled(sample.texCoords), scaled(sample.normals), scaled(sample.faces),
            scaled(sample.corners)};
}

} // namespace

class ObjReader
{
public:
    explicit ObjReader(std::string name) : mName(std::move(name)) {}

    void reserve(const SizeEstimate& estimate)
    {
        mEstimate = estimate;
        mMesh.reserve(estimate.vertices, estimate.faces, estimate.corners);
        mMesh.mTexCoords.reserve(2 * estimate.texCoords);
        mMesh.mNormals.reserve(3 * estimate.normals);
    }

    // Parses [begin, end), which holds whole lines only (or the input's last line, without
    // its end); returns nothing, throws ObjReadError on the first fault.
    void parse(const char* begin, const char* end)
    {
        if (begin == end) return;
        const char* p = begin;
        if (mAfterCarriageReturn && p < end && *p == '\n') ++p; // the "\r\n" cut between blocks
        mAfterCarriageReturn = false;
        while (p < end) {
            const char* lineEnd = p;
            // Line ends as readers of the format see them: "\n", "\r\n" and a lone "\r".
            for (;;) {
                lineEnd = skipText(lineEnd, end);
                if (lineEnd == end || *lineEnd == '\n' || *lineEnd == '\r') break;
                if (*lineEnd != '\t' && *lineEnd != '\f' && *lineEnd != '\v') failBinary(*lineEnd);
                ++lineEnd;
            }
            if (static_cast<std::size_t>(lineEnd - p) > kMaxLineBytes) failLineTooLong();
            parseLine(std::string_view(p, static_cast<std::size_t>(lineEnd - p)));
            if (lineEnd == end) break;
            ++mLine;
            if (*lineEnd == '\r') {
                if (lineEnd + 1 == end)
                    mAfterCarriageReturn = true;
                else if (lineEnd[1] == '\n')
                    ++lineEnd;
            }
            p = lineEnd + 1;
        }
    }

    // A part line longer than the limit, with no line end in sight: binary data or garbage.
    [[noreturn]] void failUnfinishedLine(const char* begin, const char* end)
    {
        for (const char* c = begin; c < end; ++c)
            if (static_cast<unsigned char>(*c) < 0x20 && *c != '\t' && *c != '\f' && *c != '\v') failBinary(*c);
        failLineTooLong();
    }

    Mesh finish()
    {
        if (mMesh.mPositions.empty()) fail("no vertices ('v' lines), not an OBJ mesh");
        checkForwardIndex(mMaxVertex, vertexCount(), "vertex");
        checkForwardIndex(mMaxTexCoord, mTexCoordCount, "texture coordinate");
        checkForwardIndex(mMaxNormal, mMesh.mNormals.size() / 3, "normal");
        // Storage reserved beyond what the file held (a poor sample) is left as it is: pages
        // never written take no memory, and giving them back would copy the arrays.
        return std::move(mMesh);
    }

    [[noreturn]] void fail(const std::string& reason) const { throw ObjReadError(mName + ": " + reason); }
    std::size_t line() const { return mLine; }

private:
    [[noreturn]] void failAt(std::size_t line, const std::string& reason) const
    {
        throw ObjReadError(mName + ":" + std::to_string(line) + ": " + reason);
    }
    [[noreturn]] void failBinary(char c) const
    {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02x", static_cast<unsigned char>(c));
        failAt(mLine, std::string("binary data (byte ") + hex + "), not a text OBJ file");
    }
    [[noreturn]] void failLineTooLong() const { failAt(mLine, "line longer than 1 MiB, not an OBJ statement"); }

    struct MaxIndex
    {
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

    void parseLine(std::string_view line)
    {
        std::string_view rest = line;
        const std::string_view keyword = nextToken(rest);
        if (keyword.empty() || keyword.front() == '#') return;

        if (keyword == "v") {
            double xyz[3];
            const std::size_t count = readNumbers(rest, xyz, 3, "vertex");
            if (count < 3) failAt(mLine, "a vertex needs x, y and z");
            if (count == 4)
                warnOnce("vertex weights (the 4th number) are not kept");
            else if (count == 6 || count == 7)
                warnOnce("vertex colours are not kept");
            else if (count != 3)
                failAt(mLine, "a vertex has 3, 4, 6 or 7 numbers, not " + std::to_string(count));
            mMesh.mPositions.insert(mMesh.mPositions.end(), xyz, xyz + 3);
        } else if (keyword == "f") {
            parseFace(rest);
        } else if (keyword == "vt") {
            double uvw[3] = {0.0, 0.0, 0.0};
            const std::size_t count = readNumbers(rest, uvw, 3, "texture coordinate");
            if (count < 1 || count > 3)
                failAt(mLine, "a texture coordinate has 1 to 3 numbers, not " + std::to_string(count));
            if (count == 3 && mMesh.mTexCoordDimension == 2) widenTexCoords();
            mMesh.mTexCoords.insert(mMesh.mTexCoords.end(), uvw, uvw + mMesh.mTexCoordDimension);
            ++mTexCoordCount;
        } else if (keyword == "vn") {
            double xyz[3];
            if (readNumbers(rest, xyz, 3, "normal") != 3) failAt(mLine, "a normal needs exactly x, y and z");
            mMesh.mNormals.insert(mMesh.mNormals.end(), xyz, xyz + 3);
        } else if (keyword == "s") {
            mMesh.addStatement(Mesh::Statement::Kind::Smoothing, std::string(trim(rest)));
        } else if (keyword == "o") {
            mMesh.addStatement(Mesh::Statement::Kind::Object, std::string(trim(rest)));
        } else if (keyword == "usemtl") {
            mMesh.addStatement(Mesh::Statement::Kind::Material, std::string(trim(rest)));
        } else if (keyword == "g") {
            // Several group names, blank-separated; a bare "g" is the default group.
            std::string names;
            for (std::string_view name = nextToken(rest); !name.empty(); name = nextToken(rest)) {
                if (!names.empty()) names += ' ';
                names += name;
            }
            mMesh.addStatement(Mesh::Statement::Kind::Group, std::move(names));
        } else if (keyword == "mtllib") {
            mMesh.mMaterialLibraries.emplace_back(trim(rest));
        } else if (unkeptStatements().count(keyword)) {
            warnOnce("'" + std::string(keyword) + "' statements are not kept");
        } else {
            failAt(mLine, quoted(keyword) + " is not an OBJ statement");
        }
    }

    // A 3-number texture coordinate after 2-number ones: every one gets its w (0).
    void widenTexCoords()
    {
        std::vector<double> wide;
        wide.reserve(std::max(3 * mTexCoordCount, mMesh.mTexCoords.capacity() / 2 * 3));
        for (std::size_t i = 0; i < mTexCoordCount; ++i)
            wide.insert(wide.end(), {mMesh.mTexCoords[2 * i], mMesh.mTexCoords[2 * i + 1], 0.0});
        mMesh.mTexCoords = std::move(wide);
        mMesh.mTexCoordDimension = 3;
    }

    // Reads every remaining token as a finite double, keeping the first `keep`; returns how
    // many there were.
    std::size_t readNumbers(std::string_view rest, double* out, std::size_t keep, const char* what) const
    {
        std::size_t count = 0;
        const char* p = rest.data();
        const char* end = p + rest.size();
        for (;;) {
            while (p < end && isBlank(*p)) ++p;
            if (p == end) return count;
            // The usual case, a plain finite number followed by a blank or the line's end;
            // anything else goes the slow way, which says what is wrong with it.
            double value = 0.0;
            const auto [next, error] = std::from_chars(p + (*p == '+'), end, value);
            if (error != std::errc() || (next != end && !isBlank(*next)) || !std::isfinite(value)) {
                std::string_view tail(p, static_cast<std::size_t>(end - p));
                refuseNumber(nextToken(tail), what);
            }
            if (count < keep) out[count] = value;
            ++count;
            p = next;
        }
    }

    [[noreturn]] void refuseNumber(std::string_view token, const char* what) const
    {
        std::string_view digits = token;
        if (digits.front() == '+') digits.remove_prefix(1); // from_chars takes no '+'
        double value = 0.0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error == std::errc::result_out_of_range)
            failAt(mLine, std::string(what) + " number " + quoted(token) + " is out of the range of a double");
        if (error != std::errc() || end != digits.data() + digits.size())
            failAt(mLine, std::string(what) + " number " + quoted(token) + " is not a number");
        failAt(mLine, std::string(what) + " number " + quoted(token) + " is not finite");
    }

    void parseFace(std::string_view rest)
    {
        const std::size_t first = mMesh.mFaceVertices.size();
        std::size_t corners = 0;
        const char* p = rest.data();
        const char* end = p + rest.size();
        for (;;) {
            while (p < end && isBlank(*p)) ++p;
            if (p == end) break;
            int vertex = 0, texCoord = Mesh::kNone, normal = Mesh::kNone;
            const char* next = parseCornerQuickly(p, end, vertex, texCoord, normal);
            if (!next) { // an unusual or faulty corner: the careful way
                std::string_view tail(p, static_cast<std::size_t>(end - p));
                const std::string_view token = nextToken(tail);
                parseCorner(token, vertex, texCoord, normal);
                next = token.data() + token.size();
            }
            mMesh.mFaceVertices.push_back(vertex);
            if (texCoord != Mesh::kNone || !mMesh.mFaceTexCoords.empty())
                appendOptional(mMesh.mFaceTexCoords, first + corners, texCoord);
            if (normal != Mesh::kNone || !mMesh.mFaceNormals.empty())
                appendOptional(mMesh.mFaceNormals, first + corners, normal);
            ++corners;
            p = next;
        }
        if (corners < 3) failAt(mLine, "a face needs at least 3 corners, this one has " + std::to_string(corners));
        mMesh.mFaceSizes.push_back(static_cast<std::uint32_t>(corners));
    }

    // A positive index below 2^31 at `p`, ended by '/', a blank or `end`; 0 when there is none.
    static long long positiveIndex(const char*& p, const char* end)
    {
        long long value = 0;
        const char* start = p;
        while (p < end && *p >= '0' && *p <= '9' && p - start < 10) value = value * 10 + (*p++ - '0');
        if (p == start || value > 0x7fffffff || (p < end && *p != '/' && !isBlank(*p))) return 0;
        return value;
    }

    // The common corners, "v", "v/vt", "v//vn" and "v/vt/vn" with positive indices, parsed in
    // one go; returns where the corner ends, or null to leave it to parseCorner.
    const char* parseCornerQuickly(const char* p, const char* end, int& vertex, int& texCoord, int& normal)
    {
        const long long v = positiveIndex(p, end);
        if (v == 0) return nullptr;
        long long t = 0, n = 0;
        if (p < end && *p == '/') {
            ++p;
            if (p < end && *p == '/') {
                ++p;
                if ((n = positiveIndex(p, end)) == 0) return nullptr;
            } else {
                if ((t = positiveIndex(p, end)) == 0) return nullptr;
                if (p < end && *p == '/') {
                    ++p;
                    if ((n = positiveIndex(p, end)) == 0) return nullptr;
                }
            }
            if (p < end && *p == '/') return nullptr;
        }
        vertex = static_cast<int>(forward(v, mMaxVertex));
        if (t) texCoord = static_cast<int>(forward(t, mMaxTexCoord));
        if (n) normal = static_cast<int>(forward(n, mMaxNormal));
        return p;
    }

    // A forward reference is checked at the end.
    long long forward(long long index, MaxIndex& max) const
    {
        if (index > max.value) {
            max.value = index;
            max.line = mLine;
        }
        return index - 1;
    }

    void parseCorner(std::string_view token, int& vertex, int& texCoord, int& normal)
    {
        // v, v/vt, v//vn or v/vt/vn
        std::string_view parts[3];
        std::size_t partCount = 0;
        std::string_view remaining = token;
        for (;;) {
            const std::size_t slash = remaining.find('/');
            if (partCount == 3) failAt(mLine, "face corner " + quoted(token) + " has more than v/vt/vn");
            parts[partCount++] = remaining.substr(0, slash);
            if (slash == std::string_view::npos) break;
            remaining.remove_prefix(slash + 1);
        }
        vertex = readIndex(token, parts[0], vertexCount(), mMaxVertex, "vertex", true);
        texCoord = partCount > 1 ? readIndex(token, parts[1], mTexCoordCount, mMaxTexCoord, "texture coordinate",
                                             partCount == 2 || !parts[1].empty())
                                 : Mesh::kNone;
        normal = partCount > 2 ? readIndex(token, parts[2], mMesh.mNormals.size() / 3, mMaxNormal, "normal", true)
                               : Mesh::kNone;
    }

    // A per-corner index array stays empty until the first corner that has an index.
    void appendOptional(std::vector<int>& indices, std::size_t cornersBefore, int value)
    {
        if (indices.empty()) {
            if (value == Mesh::kNone) return;
            indices.reserve(std::max(mEstimate.corners, cornersBefore + 1));
            indices.assign(cornersBefore, Mesh::kNone);
        }
        indices.push_back(value);
    }

    // The 0-based index that `text` names; kNone when it is empty and not required.
    int readIndex(std::string_view token, std::string_view text, std::size_t countSoFar, MaxIndex& max,
                  const char* what, bool required)
    {
        if (text.empty()) {
            if (required) failAt(mLine, "face corner " + quoted(token) + " lacks a " + what + " index");
            return Mesh::kNone;
        }
        int index = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
        if (error != std::errc() || end != text.data() + text.size())
            failAt(mLine, "face corner " + quoted(token) + " has " + quoted(text) + ", not a whole " + what + " index");
        if (index == 0)
            failAt(mLine, std::string(what) + " index 0 in face corner " + quoted(token) + " (indices start at 1)");
        if (index < 0) {
            // Relative: -1 is the latest one read so far.
            if (static_cast<std::size_t>(-static_cast<long long>(index)) > countSoFar)
                failAt(mLine, "face names " + std::string(what) + " " + std::to_string(index) + " but only " +
                                  std::to_string(countSoFar) + " come before it");
            return static_cast<int>(countSoFar) + index;
        }
        return static_cast<int>(forward(index, max));
    }

    void warnOnce(const std::string& message)
    {
        if (mWarned.insert(message).second) mMesh.addWarning(mName + ":" + std::to_string(mLine) + ": " + message);
    }

    std::string mName;
    Mesh mMesh;
    SizeEstimate mEstimate;
    std::size_t mLine = 1;
    bool mAfterCarriageReturn = false;
    std::size_t mTexCoordCount = 0;
    MaxIndex mMaxVertex, mMaxTexCoord, mMaxNormal;
    std::set<std::string> mWarned;
};

namespace {

// Feeds the reader block by block from `fd` until its end.
Mesh readBlocks(ObjReader& reader, int fd)
{
    std::unique_ptr<char[]> buffer(new char[kBlockBytes + kMaxLineBytes + 1]);
    std::size_t held = 0; // bytes of an unfinished line at the front
    bool readSomething = false;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.get() + held, kBlockBytes);
        if (got < 0) {
            if (errno == EINTR) continue;
            reader.fail(std::strerror(errno));
        }
        if (got == 0) break;
        readSomething = true;
        const std::size_t size = held + static_cast<std::size_t>(got);
        // Cut after the last line end; the rest waits for the next block.
        std::size_t cut = size;
        while (cut > 0 && buffer[cut - 1] != '\n' && buffer[cut - 1] != '\r') --cut;
        reader.parse(buffer.get(), buffer.get() + cut);
        held = size - cut;
        if (held > kMaxLineBytes) reader.failUnfinishedLine(buffer.get() + cut, buffer.get() + size);
        std::memmove(buffer.get(), buffer.get() + cut, held);
    }
    if (!readSomething) reader.fail("empty file, no vertices");
    reader.parse(buffer.get(), buffer.get() + held);
    return reader.finish();
}

} // namespace

Mesh readObjFile(const std::string& path)
{
    ObjReader reader(path);
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) reader.fail(std::strerror(errno));
    if (S_ISDIR(info.st_mode)) reader.fail("is a directory, not an OBJ file");
    if (!S_ISREG(info.st_mode)) reader.fail("is not a regular file");
    if (info.st_size == 0) reader.fail("empty file, no vertices");

    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) reader.fail(std::strerror(errno));
    const std::unique_ptr<int, void (*)(int*)> closer(new int(fd), [](int* f) {
        ::close(*f);
        delete f;
    });
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    reader.reserve(estimateSizes(fd, static_cast<std::size_t>(info.st_size)));
    return readBlocks(reader, fd);
}

Mesh readObjFd(int fd, const std::string& name)
{
    ObjReader reader(name);
    return readBlocks(reader, fd);
}

Mesh readObjText(std::string_view text, const std::string& name)
{
    ObjReader reader(name);
    if (text.empty()) reader.fail("empty file, no vertices");
    // Whole lines only may go to parse() at once; the text is whole, so all of it goes, but
    // the line limit still holds for its last line.
    reader.parse(text.data(), text.data() + text.size());
    return reader.finish();
}

Mesh Mesh::read(const std::string& path)
{
    return readObjFile(path);
}

} // namespace hx
