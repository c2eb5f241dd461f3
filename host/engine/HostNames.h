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

// For a Host call that evaluates: made before it evaluates, it adds the compute and deform
// failures met from then on to the call's warnings. (Failures of evaluations outside Host
// calls are dropped.)
class EvaluationFailures {
public:
    EvaluationFailures() { Engine::get().scene().takeFailures(); }
    Result operator()(Result result) const {
        for (std::string& failure : Engine::get().scene().takeFailures()) result.warnings.push_back(std::move(failure));
        return result;
    }
};

}  // namespace hx
