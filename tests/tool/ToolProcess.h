// Running the built hxnoise as a process, as a user does, and looking at what it left.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace hxtest {

namespace fs = std::filesystem;

struct ToolRun {
    int exitCode = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

inline std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A fresh directory per test, removed afterwards.
class TempDir {
public:
    TempDir()
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("hxnoise_") + (test ? test->test_suite_name() + std::string("_") + test->name() : "run");
        for (char& c : name)
            if (c == '/') c = '_';
        mPath = fs::temp_directory_path() / (name + "_" + std::to_string(::getpid()));
        fs::remove_all(mPath);
        fs::create_directories(mPath);
    }
    ~TempDir() { fs::remove_all(mPath); }
    const fs::path& path() const { return mPath; }
    std::string operator/(const std::string& name) const { return (mPath / name).string(); }

private:
    fs::path mPath;
};

// Runs hxnoise with `args` in `workDir`, standard input closed, both outputs captured.
inline ToolRun runTool(const std::vector<std::string>& args, const fs::path& workDir)
{
    const fs::path outPath = workDir / ".hxnoise_stdout";
    const fs::path errPath = workDir / ".hxnoise_stderr";
    std::vector<std::string> argvText = {HX_TOOL};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);

    ToolRun run;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << HX_TOOL;
        return run;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
    return run;
}

// Every file under `dir` with its content, to see that a run added or changed nothing.
inline std::map<std::string, std::string> snapshot(const fs::path& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), dir).string()] = readFile(entry.path());
        else if (entry.is_directory()) files[fs::relative(entry.path(), dir).string() + "/"] = "";
    return files;
}

inline std::size_t lineCount(const std::string& text)
{
    std::size_t lines = 0;
    for (char c : text) lines += (c == '\n');
    return lines;
}

}  // namespace hxtest
