// What the Host API's files share: finding nodes and plugs from the names the Host API
// takes, and reporting the failures met while evaluating.
#pragma once

#include "Cell.h"
#include "Engine.h"
#include "Host.h"
#include "Node.h"

#include <string>

namespace hx {

Node* findNode(const std::string& name, std::string& error);
// "node.attr..." to a plug; an element index is required inside multis.
bool findPlug(const std::string& text, PlugRef& plug, std::string& error);

// For a Host call that evaluates: made before it evaluates, it turns the call into a
// failure when a compute or deform failed or threw on the way. The error names each of
// them (node, plug, and for an exception the plug-in), oldest first; the call's values are
// still what the evaluation left. (Failures of evaluations outside Host calls are dropped.)
class EvaluationFailures {
public:
    EvaluationFailures() { Engine::get().scene().takeFailures(); }
    Result operator()(Result result) const {
        std::vector<std::string> failures = Engine::get().scene().takeFailures();
        if (failures.empty()) return result;
        std::string error;
        for (const std::string& failure : failures) error += (error.empty() ? "" : "; ") + failure;
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
