// `hxnoise deform` run as a process, and what it does to the files around it: no run writes
// over one of its inputs or over another of its outputs, however they are spelled; a
// frame's files appear together or not at all; a device, a FIFO or a link is written
// through, never replaced; a replaced file keeps its permissions and owner, never set-id bits.
#include "ToolProcess.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

using hxtest::kTetrahedron;
using hxtest::runTool;
using hxtest::runToolWith;
using hxtest::TempDir;
using hxtest::ToolRun;
namespace fs = hxtest::fs;

namespace {

const std::vector<std::string> kNoise = {"--set", "hxNoise1.oxNoiseAmp=0.4", "--set", "hxNoise1.oyNoiseAmp=0.4"};

std::vector<std::string> deform(const std::vector<std::string>& args)
{
    std::vector<std::string> all = {"deform"};
    all.insert(all.end(), args.begin(), args.end());
    all.insert(all.end(), kNoise.begin(), kNoise.end());
    return all;
}

bool isMesh(const std::string& text)
{
    return text.rfind("# written by hxnoise\n", 0) == 0;
}

struct Clash
{
    const char* what;
    std::function<void(const TempDir&)> prepare; // files the case needs besides tet.obj
    std::vector<std::string> args;
    const char* message; // the line on standard error, after "hxnoise: "
};

} // namespace

TEST(OutputSafety, NoOutputMayBeAnInputOrAnotherOutputHoweverItIsSpelled)
{
    const auto none = [](const TempDir&) {};
    const auto frames = [](std::vector<std::string> args) {
        args.insert(args.end(), {"--frames", "2", "--key", "hxNoise1.ozNoiseAmp=0:1"});
        return args;
    };
    const std::vector<Clash> clashes = {
        {"a frame's name is the input", [](const TempDir& d) { fs::copy_file(d / "tet.obj", d / "anim_0002.obj"); },
         frames({"anim_0002.obj", "-o", "anim.obj"}),
         "-o anim.obj (frame 2: anim_0002.obj) is the input mesh anim_0002.obj; write the output to a new file"},
        {"the picture is the mesh",
         none,
         {"tet.obj", "-o", "out.obj", "--render", "./out.obj"},
         "--render ./out.obj and -o out.obj are the same file; give each output a file of its own"},
        {"each frame's picture is its mesh", none, frames({"tet.obj", "-o", "a.obj", "--render", "./a.obj"}),
         "--render ./a.obj (frame 1: ./a_0001.obj) and -o a.obj (frame 1: a_0001.obj) are the same file; give each "
         "output a file of its own"},
        {"through a directory and back",
         [](const TempDir& d) { fs::create_directory(d / "sub"); },
         {"tet.obj", "-o", "sub/../tet.obj"},
         "-o sub/../tet.obj is the input mesh tet.obj; write the output to a new file"},
        {"a symbolic link to the input",
         [](const TempDir& d) { fs::create_symlink("tet.obj", d / "latest.obj"); },
         {"tet.obj", "-o", "latest.obj"},
         "-o latest.obj is the input mesh tet.obj; write the output to a new file"},
        {"a hard link to the input",
         [](const TempDir& d) { fs::create_hard_link(d / "tet.obj", d / "twin.obj"); },
         {"twin.obj", "-o", "tet.obj"},
         "-o tet.obj is the input mesh twin.obj; write the output to a new file"},
        {"a dangling link to the picture's name",
         [](const TempDir& d) { fs::create_symlink("pic.png", d / "ln.obj"); },
         {"tet.obj", "-o", "ln.obj", "--render", "pic.png"},
         "--render pic.png and -o ln.obj are the same file; give each output a file of its own"},
        {"standard output, sent to a file",
         none,
         {"tet.obj", "-o", ".hxnoise_stdout"},
         "-o .hxnoise_stdout is standard output; write the output to a new file"},
        {"the plug-in",
         [](const TempDir& d) { fs::copy_file(HX_PLUGIN, d / "hxNoise.so"); },
         {"tet.obj", "-o", "hxNoise.so", "--plugin", "hxNoise.so"},
         nullptr},
    };
    for (const Clash& clash : clashes) {
        SCOPED_TRACE(clash.what);
        TempDir dir;
        hxtest::writeFile(dir / "tet.obj", kTetrahedron);
        clash.prepare(dir);
        const auto before = hxtest::snapshot(dir.path());
        const ToolRun run = runTool(deform(clash.args), dir.path());
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_EQ(hxtest::lineCount(run.err), 1u) << run.err;
        if (clash.message)
            EXPECT_EQ(run.err, std::string("hxnoise: ") + clash.message + "\n");
        else
            EXPECT_NE(run.err.find("-o hxNoise.so is the plug-in "), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << "refused before any work";
        EXPECT_TRUE(hxtest::snapshot(dir.path()) == before) << "a file appeared or changed";
    }
}

TEST(OutputSafety, AFrameIsPutInPlaceWholeOrNotAtAll)
{
    // The file-size limit lets the small mesh through and stops the picture: the mesh that
    // was already written must not replace the old one.
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTetrahedron);
    hxtest::writeFile(dir / "out.obj", "precious\n");
    hxtest::ToolOptions limited;
    limited.fileSize = 4000;
    const ToolRun run = runToolWith(deform({"tet.obj", "-o", "out.obj", "--render", "out.png"}), dir.path(), limited);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "hxnoise: cannot write out.png: File too large\n");
    EXPECT_EQ(hxtest::readFile(dir / "out.obj"), "precious\n");
    EXPECT_FALSE(fs::exists(dir / "out.png"));
    EXPECT_TRUE(hxtest::hiddenFiles(dir.path()).empty());

    // Without the limit both appear.
    const ToolRun whole = runTool(deform({"tet.obj", "-o", "out.obj", "--render", "out.png"}), dir.path());
    ASSERT_EQ(whole.exitCode, 0) << whole.err;
    EXPECT_TRUE(isMesh(hxtest::readFile(dir / "out.obj")));
    EXPECT_TRUE(fs::exists(dir / "out.png"));
}

TEST(OutputSafety, LinksAreWrittenThroughDevicesAndFifosWrittenDirectlyTheRestRefused)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTetrahedron);

    // A link to a mesh, and a link to a name not yet there: the file it names gets the
    // mesh, the link stays a link.
    fs::create_directory(dir / "takes");
    hxtest::writeFile(dir / "takes/v1.obj", "old\n");
    fs::create_symlink("takes/v1.obj", dir / "latest.obj");
    fs::create_symlink("takes/v2.obj", dir / "next.obj");
    for (const char* link : {"latest.obj", "next.obj"}) {
        const ToolRun run = runTool(deform({"tet.obj", "-o", link}), dir.path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
    }
    EXPECT_TRUE(isMesh(hxtest::readFile(dir / "takes/v1.obj")));
    EXPECT_TRUE(isMesh(hxtest::readFile(dir / "takes/v2.obj")));

    // A FIFO gets the mesh, read as it comes, and stays a FIFO.
    ASSERT_EQ(::mkfifo((dir / "pipe.obj").c_str(), 0644), 0);
    const int reader = ::open((dir / "pipe.obj").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::string received;
    const auto drain = [&] {
        char buffer[4096];
        for (ssize_t got; (got = ::read(reader, buffer, sizeof buffer)) > 0;) received.append(buffer, got);
    };
    hxtest::ToolOptions reading;
    reading.whileRunning = [&](pid_t) {
        drain();
        return false;
    };
    const ToolRun fifo = runToolWith(deform({"tet.obj", "-o", "pipe.obj"}), dir.path(), reading);
    drain();
    ::close(reader);
    EXPECT_EQ(fifo.exitCode, 0) << fifo.err;
    EXPECT_TRUE(isMesh(received)) << received;
    EXPECT_EQ(fs::status(dir / "pipe.obj").type(), fs::file_type::fifo);

    // A character device (a null device of our own: the system's is not ours to risk).
    if (::mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        const ToolRun device = runTool(deform({"tet.obj", "-o", "null"}), dir.path());
        EXPECT_EQ(device.exitCode, 0) << device.err;
        EXPECT_EQ(fs::status(dir / "null").type(), fs::file_type::character);
    }

    // A socket is no place for a mesh.
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir / "sock.obj";
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const ToolRun refused = runTool(deform({"tet.obj", "-o", "sock.obj"}), dir.path());
    ::close(sock);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "hxnoise: cannot write sock.obj: it is a socket; write to a file\n");
    EXPECT_EQ(fs::status(dir / "sock.obj").type(), fs::file_type::socket);
    EXPECT_TRUE(hxtest::hiddenFiles(dir.path()).empty());
}

TEST(OutputSafety, AReplacedFileKeepsItsPermissionsAndOwnerButNeverSetIdBits)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTetrahedron);
    hxtest::writeFile(dir / "out.obj", "old\n");
    ASSERT_EQ(::chmod((dir / "out.obj").c_str(), 06750), 0);
    const bool mayGiveAway = ::geteuid() == 0 && ::chown((dir / "out.obj").c_str(), 1234, 5678) == 0;

    const ToolRun run = runTool(deform({"tet.obj", "-o", "out.obj"}), dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    struct stat info;
    ASSERT_EQ(::stat((dir / "out.obj").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0750u);
    if (mayGiveAway) {
        EXPECT_EQ(info.st_uid, 1234u);
        EXPECT_EQ(info.st_gid, 5678u);
    }
    EXPECT_TRUE(isMesh(hxtest::readFile(dir / "out.obj")));
}

TEST(OutputSafety, TheLongestLegalNameCanBeWrittenAndALongerOneIsRefusedBeforeAnyWork)
{
    TempDir dir;
    hxtest::writeFile(dir / "tet.obj", kTetrahedron);
    // 255 bytes, the usual limit, some of them two-byte characters.
    std::string longest;
    for (int i = 0; i < 120; ++i) longest += "\xc3\xa9"; // é
    longest += std::string(255 - longest.size() - 4, 'x') + ".obj";
    ASSERT_EQ(longest.size(), 255u);
    const ToolRun run = runTool(deform({"tet.obj", "-o", longest}), dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(isMesh(hxtest::readFile(dir / longest)));
    EXPECT_TRUE(hxtest::hiddenFiles(dir.path()).empty());

    // Frame numbers make the name too long: refused before the mesh is read.
    const ToolRun frames =
        runTool(deform({"tet.obj", "-o", longest, "--frames", "2", "--key", "hxNoise1.ozNoiseAmp=0:1"}), dir.path());
    EXPECT_EQ(frames.exitCode, 1);
    EXPECT_NE(frames.err.find("File name too long"), std::string::npos) << frames.err;
    EXPECT_EQ(frames.out, "");
}
