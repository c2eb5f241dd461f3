// The message of what a call throws, to compare with the one line a user is shown.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

namespace hxtest {

// What the `Error` that `run` throws says, or "(no error)" where it throws none.
template <class Error = std::runtime_error>
std::string errorOf(const std::function<void()>& run)
{
    try {
        run();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

} // namespace hxtest
