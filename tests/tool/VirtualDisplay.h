// An X display of the test's own, for the view window's tests: Xvfb (Debian's xvfb) on a
// display number it picks itself (-displayfd), so that tests running side by side never meet,
// stopped when the test ends. Tests skip, saying why, where Xvfb is missing.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace hxtest {

class VirtualDisplay
{
public:
    static constexpr const char* kServer = "/usr/bin/Xvfb";

    VirtualDisplay()
    {
        if (::access(kServer, X_OK) != 0) {
            mWhyNot = std::string(kServer) + " is missing (Debian's xvfb)";
            return;
        }
        int fds[2];
        if (::pipe(fds) != 0) {
            mWhyNot = "no pipe for Xvfb";
            return;
        }
        // The child writes the display's number on its descriptor 3, which is our pipe (the
        // read end closed first: it may be descriptor 3 itself).
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::vector<std::string> args = {kServer,        "-displayfd", "3",   "-screen", "0",
                                         "1920x1200x24", "-nolisten",  "tcp", "-noreset"};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int spawned = posix_spawn(&mPid, kServer, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        if (spawned != 0) {
            ::close(fds[0]);
            mPid = -1;
            mWhyNot = "cannot start Xvfb";
            return;
        }
        std::string number;
        pollfd wait{fds[0], POLLIN, 0};
        char c = 0;
        while (::poll(&wait, 1, 20000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(fds[0]);
        if (number.empty()) {
            mWhyNot = "Xvfb did not start";
            return;
        }
        mDisplay = ":" + number;
    }

    ~VirtualDisplay()
    {
        if (mPid > 0) {
            ::kill(mPid, SIGTERM);
            int status = 0;
            ::waitpid(mPid, &status, 0);
        }
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool ready() const { return !mDisplay.empty(); }
    const std::string& whyNot() const { return mWhyNot; }
    // ":N", for DISPLAY.
    const std::string& display() const { return mDisplay; }

private:
    pid_t mPid = -1;
    std::string mDisplay;
    std::string mWhyNot;
};

} // namespace hxtest
