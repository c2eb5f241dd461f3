// hxnoise: the command line over the stand-in host.
//
// For now it parses and checks the command line and prints the request it would run; the
// engine (loading the plug-in, building the scene, evaluating) is wired in once the host
// is ready.
#include "CommandLine.h"

#include <cstdio>
#include <iostream>

namespace {

void printRequest(const hx::DeformRequest& request)
{
    std::cout << "deform\n  input:  " << (request.input.empty() ? "(bundled example)" : request.input)
              << "\n  output: " << request.output << "\n";
    for (const hx::AttributeSetting& s : request.settings)
        std::cout << "  set " << s.node << "." << s.attribute << " = " << s.text << "\n";
    if (!request.render.empty())
        std::cout << "  render: " << request.render << " (" << request.view << ", "
                  << request.width << "x" << request.height << ")\n";
    if (request.frames > 0) std::cout << "  frames: " << request.frames << "\n";
    for (const hx::AttributeKey& k : request.keys)
        std::cout << "  key " << k.node << "." << k.attribute << " " << k.fromText << " -> "
                  << k.toText << "\n";
    if (!request.plugin.empty()) std::cout << "  plugin: " << request.plugin << "\n";
}

}  // namespace

int main(int argc, char** argv)
{
    const hx::CommandLine commandLine = hx::parseCommandLine(argc, argv);
    if (commandLine.action == hx::CommandLine::Action::Exit) {
        std::cout << commandLine.output;
        if (!commandLine.error.empty()) std::cerr << commandLine.error << "\n";
        return commandLine.exitCode;
    }
    if (commandLine.command == hx::CommandLine::Command::Info) {
        std::cout << "info " << commandLine.info.type << "\n";
    } else {
        printRequest(commandLine.deform);
    }
    std::cerr << "hxnoise: the engine is not wired in yet; nothing was done\n";
    return 1;
}
