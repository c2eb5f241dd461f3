// hxnoise: the hxNoise deformer on OBJ meshes through the stand-in host, with a rendered
// viewport. `hxnoise --help` says how to call it.
//
// Exit codes: 0 done, 1 a failure (a file, the plug-in, the engine, memory, a closed standard
// output), 2 a mistake on the command line. Every failure is one line on standard error, and
// leaves no temporary file; an interruption (SIGINT, SIGTERM) says which frames were written
// and ends the process by its signal (Interruption.h).
#include "CommandLine.h"
#include "DeformCommand.h"
#include "InfoCommand.h"
#include "Interruption.h"
#include "OutputPlan.h"
#include "StandardStreams.h"
#include "ToolError.h"
#include "ValueParse.h"
#include "ViewCommand.h"

#include <sys/resource.h>
#include <cstddef>
#include <iostream>
#include <new>

namespace {

// The stack grows on demand, and when memory runs out (an address-space limit, say) a growth
// that fails is a crash with no word of explanation. The deformation keeps its noise tables
// on the stack (about 170 KiB): touching 1 MiB of it now (less under a small stack limit)
// makes the pages the run needs its own from the start.
__attribute__((noinline)) void touchStack(std::size_t bytes)
{
    char* pages = static_cast<char*>(__builtin_alloca(bytes));
    for (std::size_t i = 0; i < bytes; i += 4096) pages[i] = 0;
    asm volatile("" : : "r"(pages) : "memory"); // the writes must happen
}

void reserveStack()
{
    std::size_t bytes = 1 << 20;
    rlimit stack;
    if (::getrlimit(RLIMIT_STACK, &stack) == 0 && stack.rlim_cur != RLIM_INFINITY && stack.rlim_cur / 4 < bytes)
        bytes = stack.rlim_cur / 4;
    touchStack(bytes);
}

int fail(const std::string& message, int exitCode)
{
    hx::reportError("hxnoise: " + message);
    return exitCode;
}

int run(const hx::CommandLine& commandLine)
{
    try {
        int exitCode = 0;
        switch (commandLine.command) {
        case hx::CommandLine::Command::Info: exitCode = hx::runInfo(commandLine.info); break;
        case hx::CommandLine::Command::View: exitCode = hx::runView(commandLine.view); break;
        case hx::CommandLine::Command::Deform: exitCode = hx::runDeform(commandLine.deform); break;
        }
        // Whatever was said must have reached its reader, or the run did not do its job.
        hx::checkStandardStreams();
        return exitCode;
    } catch (const hx::UsageError& error) {
        return fail(error.what(), 2);
    } catch (const hx::OutputClash& error) {
        return fail(error.what(), 2);
    } catch (const std::bad_alloc&) {
        return fail("out of memory; nothing was written", 1);
    } catch (const std::exception& error) {
        // ToolError, and the mesh reader's, the writers' and the renderer's errors: each
        // what() is one line that names the file or the node.
        return fail(error.what(), 1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    reserveStack();
    hx::catchInterruptions();
    const hx::CommandLine commandLine = hx::parseCommandLine(argc, argv);
    if (commandLine.action == hx::CommandLine::Action::Exit) {
        std::cout << commandLine.output;
        if (!commandLine.error.empty()) std::cerr << commandLine.error << "\n";
        try {
            hx::checkStandardStreams();
        } catch (const hx::StreamClosedError& error) {
            return fail(error.what(), commandLine.exitCode ? commandLine.exitCode : 1);
        }
        return commandLine.exitCode;
    }
    return run(commandLine);
}
