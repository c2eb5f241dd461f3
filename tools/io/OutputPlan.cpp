#include "OutputPlan.h"

#include "TemporaryFiles.h"

#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <map>

namespace hx {

void OutputPlan::addInput(const std::string& path, const std::string& label)
{
    mInputs.push_back({path, label});
}

void OutputPlan::addOutput(const std::string& path, const std::string& label)
{
    mOutputs.push_back({path, label});
    mOutputPaths.push_back(path);
}

void OutputPlan::check() const
{
    std::map<FileIdentity, const Named*> inputs;
    for (const Named& input : mInputs) {
        FileIdentity identity;
        std::string reason;
        // An input that cannot be found is its reader's to report; it cannot be an output.
        if (identityOf(input.path, identity, reason)) inputs.emplace(identity, &input);
    }

    std::map<FileIdentity, const Named*> outputs;
    std::map<std::string, const Named*> directories; // each with the first output in it
    for (const Named& output : mOutputs) {
        const OutputTarget target = OutputTarget::resolve(output.path);
        if (const auto input = inputs.find(target.identity); input != inputs.end())
            throw OutputClash(output.label + " is " + input->second->label + "; write the output to a new file");
        const auto [earlier, added] = outputs.emplace(target.identity, &output);
        if (!added)
            throw OutputClash(output.label + " and " + earlier->second->label +
                              " are the same file; give each output a file of its own");
        if (target.kind != OutputTarget::Kind::Stream)
            directories.emplace(target.directory, &output);
        else if (::access(target.path.c_str(), W_OK) != 0)
            throw FileWriteError("cannot write " + output.path + ": " + std::strerror(errno));
    }

    // Each directory must take a new file, so that a run that could not finish fails now.
    for (const auto& [directory, first] : directories) {
        std::string probe = directory + "/.hxnoise-probe-XXXXXX";
        const int fd = temporaryFiles::create(probe);
        if (fd < 0) throw FileWriteError("cannot write " + first->path + ": " + std::strerror(errno));
        ::close(fd);
        temporaryFiles::remove(probe);
    }
}

} // namespace hx
