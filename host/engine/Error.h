// The engine's one way of saying what went wrong: a status code of the host API and one
// sentence naming what was refused and why. A default Error is no error at all.
//
//     if (Error error = scene.connect(source, destination)) return error;
//
// At the API boundary an Error becomes an MStatus whose errorString carries the sentence
// (Access::status); at Host.h it becomes a failed Result. A failure met while evaluating a
// plug (a compute or deform that failed or threw) also names the plug and the plug-in whose
// code failed.
#pragma once

#include <maya/MStatus.h>

#include <string>

namespace hx {

class [[nodiscard]] Error {
public:
    Error() = default;
    // `code` must not be kSuccess.
    Error(MStatus::MStatusCode code, std::string message);

    static Error invalid(std::string message) { return Error(MStatus::kInvalidParameter, std::move(message)); }
    static Error failure(std::string message) { return Error(MStatus::kFailure, std::move(message)); }
    // A compute or deform of `plug` ("node.attr[i]") failed; `plugin` is the plug-in whose
    // code ran (empty for the host's own).
    static Error evaluation(MStatus::MStatusCode code, std::string plug, std::string plugin, std::string message);
    // From inside a catch block: `action` ("deform of hxNoise1.outputGeometry[0]", "draw of
    // locator 'noiseLocator1'") threw what is being handled. The sentence names `plugin` (empty:
    // the host's own code) and the exception's what(); running out of memory is said as such.
    static Error caught(const std::string& action, std::string plug, std::string plugin);

    // True when there is an error.
    explicit operator bool() const { return mCode != MStatus::kSuccess; }
    bool ok() const { return mCode == MStatus::kSuccess; }

    MStatus::MStatusCode code() const { return mCode; }
    const std::string& message() const { return mMessage; }
    const std::string& plug() const { return mPlug; }
    const std::string& plugin() const { return mPlugin; }

    // The same error with `context` in front of its sentence ("deformer: " + ...).
    Error within(const std::string& context) const;

private:
    MStatus::MStatusCode mCode = MStatus::kSuccess;
    std::string mMessage;
    std::string mPlug;
    std::string mPlugin;
};

}  // namespace hx
