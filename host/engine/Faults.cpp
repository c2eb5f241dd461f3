#include "Faults.h"

#include "Access.h"

#include <map>

namespace hx {

namespace {

struct Rule {
    std::string function;
    std::string subject;   // empty: any call of the function
    unsigned int nth = 0;  // among the calls the rule matches, from 1; 0: every one
    MStatus::MStatusCode code = MStatus::kFailure;
    unsigned int matched = 0;
};

struct Plan {
    bool inForce = false;  // while a FaultPlan object lives
    std::vector<Rule> rules;
    std::map<std::string, unsigned int, std::less<>> calls;
    std::vector<InjectedFault> injected;
};

Plan& plan() {
    static Plan* current = new Plan();
    return *current;
}

}  // namespace

FaultPlan::FaultPlan() {
    clearFaultPlan();
    plan().inForce = true;
}

FaultPlan::~FaultPlan() {
    clearFaultPlan();
    plan().inForce = false;
}

FaultPlan& FaultPlan::failCall(std::string_view function, unsigned int nth, MStatus::MStatusCode code) {
    // A call counted 0 never comes: the nth call is counted from 1.
    if (nth > 0) plan().rules.push_back(Rule{std::string(function), std::string(), nth, code});
    return *this;
}

FaultPlan& FaultPlan::failCallsOn(std::string_view function, std::string_view subject, MStatus::MStatusCode code) {
    plan().rules.push_back(Rule{std::string(function), std::string(subject), 0, code});
    return *this;
}

unsigned int FaultPlan::calls(std::string_view function) const {
    const auto& calls = plan().calls;
    auto it = calls.find(function);
    return it == calls.end() ? 0 : it->second;
}

const std::vector<InjectedFault>& FaultPlan::injected() const { return plan().injected; }

MStatus injectedFault(std::string_view function, std::string_view subject) {
    Plan& p = plan();
    if (!p.inForce) return MStatus();
    auto counted = p.calls.find(function);
    if (counted == p.calls.end()) counted = p.calls.emplace(std::string(function), 0).first;
    const unsigned int call = ++counted->second;
    // Every rule that matches counts the call, whichever of them makes it fail.
    const Rule* failing = nullptr;
    for (Rule& rule : p.rules) {
        if (rule.function != function || (!rule.subject.empty() && rule.subject != subject)) continue;
        ++rule.matched;
        if (!failing && rule.code != MStatus::kSuccess && (rule.nth == 0 || rule.matched == rule.nth))
            failing = &rule;
    }
    if (!failing) return MStatus();
    p.injected.push_back(InjectedFault{std::string(function), std::string(subject), call, failing->code});
    std::string reason = std::string(function) + ": injected failure";
    if (!subject.empty()) reason += " on '" + std::string(subject) + "'";
    return Access::fail(failing->code, reason);
}

void clearFaultPlan() {
    Plan& p = plan();
    p.rules.clear();
    p.calls.clear();
    p.injected.clear();
}

}  // namespace hx
