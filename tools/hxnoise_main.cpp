// hxnoise: the hxNoise deformer on OBJ meshes through the stand-in host, with a rendered
// viewport. `hxnoise --help` says how to call it.
//
// Exit codes: 0 done, 1 a failure (a file, the plug-in, the engine), 2 a mistake on the
// command line. Every failure is one line on standard error, and nothing is written.
#include "CommandLine.h"
#include "DeformCommand.h"
#include "InfoCommand.h"
#include "ToolError.h"
#include "ValueParse.h"

#include <iostream>
#include <new>

int main(int argc, char** argv)
{
    const hx::CommandLine commandLine = hx::parseCommandLine(argc, argv);
    if (commandLine.action == hx::CommandLine::Action::Exit) {
        std::cout << commandLine.output;
        if (!commandLine.error.empty()) std::cerr << commandLine.error << "\n";
        return commandLine.exitCode;
    }
    try {
        return commandLine.command == hx::CommandLine::Command::Info ? hx::runInfo(commandLine.info)
                                                                     : hx::runDeform(commandLine.deform);
    } catch (const hx::UsageError& error) {
        std::cout.flush();
        std::cerr << "hxnoise: " << error.what() << "\n";
        return 2;
    } catch (const std::bad_alloc&) {
        std::cout.flush();
        std::cerr << "hxnoise: out of memory; nothing was written\n";
        return 1;
    } catch (const std::exception& error) {
        // ToolError, and the mesh reader's, the writers' and the renderer's errors: each
        // what() is one line that names the file or the node.
        std::cout.flush();
        std::cerr << "hxnoise: " << error.what() << "\n";
        return 1;
    }
}
