// Running the built hxnoise as a process, as a user does, and looking at what it left.
#pragma once

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace hxtest {

namespace fs = std::filesystem;

// A small closed mesh with coordinates off the noise lattice (where the noise is zero).
inline const char* const kTetrahedron =
    "o tet\nv 0.3 0.7 0.2\nv 1.4 0.1 0.6\nv 0.25 1.3 0.55\nv 0.1 0.2 1.45\n"
    "f 1 2 3\nf 1 2 4\nf 1 3 4\nf 2 3 4\n";

struct ToolRun
{
    int exitCode = -1; // 128 + the signal for a process a signal ended
    int signal = 0;    // the signal that ended the process, else 0
    std::string out;   // standard output
    std::string err;   // standard error
};

// The hxnoise under test: the build's own, or another build named by HXNOISE_TEST_TOOL
// (to see a test fail on an older build, say).
inline std::string toolPath()
{
    const char* other = std::getenv("HXNOISE_TEST_TOOL");
    return other && *other ? other : HX_TOOL;
}

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

// The tool's path and `args` as the null-ended argument vector exec takes.
class ToolArgv
{
public:
    explicit ToolArgv(const std::vector<std::string>& args) : mText{toolPath()}
    {
        mText.insert(mText.end(), args.begin(), args.end());
        for (std::string& a : mText) mPointers.push_back(a.data());
        mPointers.push_back(nullptr);
    }
    const char* path() const { return mText[0].c_str(); }
    char* const* data() { return mPointers.data(); }

private:
    std::vector<std::string> mText;
    std::vector<char*> mPointers;
};

// Fills `run` from a finished process's wait status and the files its outputs went to.
inline void collectRun(ToolRun& run, int status, const fs::path& outPath, const fs::path& errPath, bool readOut = true,
                       bool readErr = true)
{
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    if (readOut) run.out = readFile(outPath);
    if (readErr) run.err = readFile(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
}

// Runs hxnoise with `args` in `workDir`, standard input closed, both outputs captured.
inline ToolRun runTool(const std::vector<std::string>& args, const fs::path& workDir)
{
    const fs::path outPath = workDir / ".hxnoise_stdout";
    const fs::path errPath = workDir / ".hxnoise_stderr";
    ToolArgv argv(args);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv.path(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);

    ToolRun run;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv.path();
        return run;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    collectRun(run, status, outPath, errPath);
    return run;
}

// How a run's process is set up beyond runTool's defaults.
struct ToolOptions
{
    bool closedOutput = false;          // standard output is a pipe whose reader has gone
    bool closedError = false;           // the same for standard error
    std::optional<rlim_t> addressSpace; // RLIMIT_AS, bytes
    std::optional<rlim_t> fileSize;     // RLIMIT_FSIZE, bytes
    // Called while the tool runs, every 10 ms, with its process id, until it returns true
    // (it may send the tool a signal); the tool is killed if it is still running 60 s on.
    std::function<bool(pid_t)> whileRunning;
};

// runTool with `options`: closed outputs, resource limits, signals on the way.
inline ToolRun runToolWith(const std::vector<std::string>& args, const fs::path& workDir, const ToolOptions& options)
{
    const fs::path outPath = workDir / ".hxnoise_stdout";
    const fs::path errPath = workDir / ".hxnoise_stderr";
    ToolArgv argv(args);

    // Pipes whose read ends are closed before the tool starts: its first write fails.
    int closedPipe[2] = {-1, -1};
    if ((options.closedOutput || options.closedError) && ::pipe(closedPipe) == 0) ::close(closedPipe[0]);
    const int outFd =
        options.closedOutput ? closedPipe[1] : ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int errFd = options.closedError ? closedPipe[1] : ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls from here to exec.
        const int in = ::open("/dev/null", O_RDONLY);
        ::dup2(in, 0);
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        if (options.addressSpace) {
            const rlimit limit{*options.addressSpace, *options.addressSpace};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        if (options.fileSize) {
            const rlimit limit{*options.fileSize, *options.fileSize};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (::chdir(workDir.c_str()) == 0) ::execv(argv.path(), argv.data());
        ::_exit(127);
    }
    ::close(outFd);
    if (errFd != outFd) ::close(errFd);

    ToolRun run;
    if (pid < 0) {
        ADD_FAILURE() << "cannot start " << argv.path();
        return run;
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool watching = static_cast<bool>(options.whileRunning);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (watching && options.whileRunning(pid)) watching = false;
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "hxnoise still ran after 60 s; killed";
            ::kill(pid, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    collectRun(run, status, outPath, errPath, !options.closedOutput, !options.closedError);
    return run;
}

// The names in `dir` that start with a dot: what a run leaves when it fails to clean up
// after itself (its temporaries are ".NAME.tmp-XXXXXX").
inline std::vector<std::string> hiddenFiles(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().front() == '.') names.push_back(entry.path().filename().string());
    return names;
}

// Every file under `dir` with its content, to see that a run added or changed nothing.
inline std::map<std::string, std::string> snapshot(const fs::path& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), dir).string()] = readFile(entry.path());
        else if (entry.is_directory())
            files[fs::relative(entry.path(), dir).string() + "/"] = "";
    return files;
}

// How often `part` occurs in `text`.
inline std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

inline std::size_t lineCount(const std::string& text)
{
    std::size_t lines = 0;
    for (char c : text) lines += (c == '\n');
    return lines;
}

} // namespace hxtest
