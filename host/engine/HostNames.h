// What the Host API's files share: the engine, finding nodes and plugs from the names the
// Host API takes, turning engine errors into Results, and passing on the failures met while
// evaluating.
#pragma once

#include "Engine.h"
#include "Error.h"
#include "Host.h"
#include "Node.h"

#include <string>

namespace hx {

inline Engine& engine() { return Engine::current(); }
inline Scene& scene() { return Engine::current().scene(); }

Result toResult(const Error& error);

Error findNode(const std::string& name, Node*& node);
// "node.attr..." to a plug; an element index is required inside multis.
Error findPlug(const std::string& text, PlugRef& plug);

// For a Host call that evaluates: made before it evaluates, it turns the call into a
// failure when a compute or deform failed or threw on the way. The error names each of
// them (node, plug, and for an exception the plug-in), oldest first; the call's values are
// still what the evaluation left. (Failures of evaluations outside Host calls are dropped.)
class EvaluationFailures {
public:
    EvaluationFailures() { static_cast<void>(scene().takeFailures()); }
    Result operator()(Result result) const {
        const std::vector<Error> failures = scene().takeFailures();
        if (failures.empty()) return result;
        std::string error;
        for (const Error& failure : failures) error += (error.empty() ? "" : "; ") + failure.message();
        if (result.ok) {
            result.ok = false;
            result.error = error;
        } else {
            result.error += "; " + error;
        }
        return result;
    }
};

}  // namespace hx
