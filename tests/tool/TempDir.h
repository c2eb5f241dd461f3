// TempDir: a fresh directory for one test, named after it, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <string>

namespace hxtest {

class TempDir
{
public:
    TempDir()
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name =
            std::string("hxnoise_") + (test ? test->test_suite_name() + std::string("_") + test->name() : "run");
        for (char& c : name)
            if (c == '/') c = '_';
        // A test may want more than one; the first keeps the shortest name (a socket's path
        // inside it must stay within 108 bytes).
        static int made = 0;
        if (++made > 1) name += "_" + std::to_string(made);
        mPath = std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(mPath);
        std::filesystem::create_directories(mPath);
    }
    ~TempDir() { std::filesystem::remove_all(mPath); }
    const std::filesystem::path& path() const { return mPath; }
    std::string operator/(const std::string& name) const { return (mPath / name).string(); }

private:
    std::filesystem::path mPath;
};

} // namespace hxtest
