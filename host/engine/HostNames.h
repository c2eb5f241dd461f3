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

// For a Host call that evaluates: made before it evaluates, it adds the compute and deform
// failures met from then on to the call's warnings. (Failures of evaluations outside Host
// calls are dropped.)
class EvaluationFailures {
public:
    EvaluationFailures() { static_cast<void>(scene().takeFailures()); }
    Result operator()(Result result) const {
        for (const Error& failure : scene().takeFailures()) result.warnings.push_back(failure.message());
        return result;
    }
};

}  // namespace hx
