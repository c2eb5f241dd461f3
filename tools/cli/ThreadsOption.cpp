#include "ThreadsOption.h"

#include "ValueParse.h"

#include <CLI/CLI.hpp>
#include <string>
#include <thread>

namespace hx {

void addThreadsOption(CLI::App& command, unsigned int& threads)
{
    const unsigned int cores = std::thread::hardware_concurrency();
    const std::string byDefault = cores > 0 ? "every core, " + std::to_string(cores) + " here" : "every core";
    command
        .add_option_function<std::string>(
            "--threads",
            [&threads](const std::string& text) {
                int n = 0;
                try {
                    n = parseInteger(text, "--threads");
                } catch (const UsageError& error) {
                    throw CLI::ValidationError(error.what());
                }
                if (n < 1 || n > kMaxThreads)
                    throw CLI::ValidationError("--threads " + text + " is outside 1.." + std::to_string(kMaxThreads));
                threads = unsigned(n);
            },
            "Threads to deform with, e.g. --threads 1 for one (default: " + byDefault +
                "); the results are the same for any number")
        ->type_name("N");
}

} // namespace hx
