// FrameFiles: a frame's files written to temporaries, then put in place together or not at
// all, with nothing left behind whichever way it goes.
#include "FrameFiles.h"
#include "TemporaryFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class Folder
{
public:
    Folder() : mPath(fs::temp_directory_path() / ("hxnoise_FrameFiles_" + std::to_string(::getpid())))
    {
        fs::remove_all(mPath);
        fs::create_directories(mPath);
    }
    ~Folder() { fs::remove_all(mPath); }
    std::string operator/(const std::string& name) const { return (mPath / name).string(); }
    // Every name in the folder, in order.
    std::vector<std::string> names() const
    {
        std::vector<std::string> all;
        for (const auto& entry : fs::directory_iterator(mPath)) all.push_back(entry.path().filename().string());
        std::sort(all.begin(), all.end());
        return all;
    }

private:
    fs::path mPath;
};

void write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A writer as the mesh and picture writers are: it is handed a path and fills it.
std::function<void(const std::string&)> writes(const std::string& text)
{
    return [text](const std::string& temporary) { write(temporary, text); };
}

} // namespace

TEST(FrameFiles, EveryFileAppearsAtCommitAndNotBefore)
{
    Folder folder;
    write(folder / "mesh.obj", "old mesh\n");
    {
        hx::FrameFiles frame;
        frame.write(folder / "mesh.obj", writes("new mesh\n"));
        frame.write(folder / "view.png", writes("new picture\n"));
        EXPECT_EQ(read(folder / "mesh.obj"), "old mesh\n");
        EXPECT_FALSE(fs::exists(folder / "view.png"));
        frame.commit();
    }
    EXPECT_EQ(read(folder / "mesh.obj"), "new mesh\n");
    EXPECT_EQ(read(folder / "view.png"), "new picture\n");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"mesh.obj", "view.png"}));
    EXPECT_EQ(hx::temporaryFiles::count(), 0);
}

TEST(FrameFiles, AFrameThatFailsOnTheWayLeavesEveryTargetAsItWas)
{
    Folder folder;
    write(folder / "mesh.obj", "old mesh\n");

    // A writer that fails: its error names the target, not the temporary it was given.
    {
        hx::FrameFiles frame;
        frame.write(folder / "mesh.obj", writes("new mesh\n"));
        try {
            frame.write(folder / "view.png", [](const std::string& temporary) {
                throw hx::FileWriteError("cannot write " + temporary + ": No space left on device");
            });
            ADD_FAILURE() << "the writer's failure went unreported";
        } catch (const hx::FileWriteError& error) {
            EXPECT_EQ(std::string(error.what()), "cannot write " + (folder / "view.png") + ": No space left on device");
        }
    }
    EXPECT_EQ(read(folder / "mesh.obj"), "old mesh\n");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"mesh.obj"}) << "no temporary is left";

    // A rename that fails after another succeeded (the second target became a directory in
    // the meantime): the first is put back.
    {
        hx::FrameFiles frame;
        frame.write(folder / "mesh.obj", writes("new mesh\n"));
        frame.write(folder / "view.png", writes("new picture\n"));
        fs::create_directories(folder / "view.png/inside");
        EXPECT_THROW(frame.commit(), hx::FileWriteError);
    }
    EXPECT_EQ(read(folder / "mesh.obj"), "old mesh\n");
    EXPECT_TRUE(fs::is_directory(folder / "view.png/inside"));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"mesh.obj", "view.png"}));
    EXPECT_EQ(hx::temporaryFiles::count(), 0);
}
