#include "Faults.h"

#include "Access.h"
#include "Engine.h"

namespace hx {

Error FaultInjector::check(std::string_view function, std::string_view subject) {
    if (!mInForce) return Error();
    auto counted = mCalls.find(function);
    if (counted == mCalls.end()) counted = mCalls.emplace(std::string(function), 0).first;
    const unsigned int call = ++counted->second;
    // Every rule that matches counts the call, whichever of them makes it fail.
    const Rule* failing = nullptr;
    for (Rule& rule : mRules) {
        if (rule.function != function || (!rule.subject.empty() && rule.subject != subject)) continue;
        ++rule.matched;
        if (!failing && rule.code != MStatus::kSuccess && (rule.nth == 0 || rule.matched == rule.nth)) failing = &rule;
    }
    if (!failing) return Error();
    mInjected.push_back(InjectedFault{std::string(function), std::string(subject), call, failing->code});
    std::string reason = std::string(function) + ": injected failure";
    if (!subject.empty()) reason += " on '" + std::string(subject) + "'";
    return Error(failing->code, reason);
}

void FaultInjector::begin() {
    clear();
    mInForce = true;
}

void FaultInjector::end() {
    clear();
    mInForce = false;
}

void FaultInjector::clear() {
    mRules.clear();
    mCalls.clear();
    mInjected.clear();
}

void FaultInjector::failCall(std::string_view function, unsigned int nth, MStatus::MStatusCode code) {
    // A call counted 0 never comes: the nth call is counted from 1.
    if (nth > 0) mRules.push_back(Rule{std::string(function), std::string(), nth, code});
}

void FaultInjector::failCallsOn(std::string_view function, std::string_view subject, MStatus::MStatusCode code) {
    mRules.push_back(Rule{std::string(function), std::string(subject), 0, code});
}

unsigned int FaultInjector::calls(std::string_view function) const {
    auto it = mCalls.find(function);
    return it == mCalls.end() ? 0 : it->second;
}

MStatus injectedFault(std::string_view function, std::string_view subject) {
    return Access::status(Engine::current().faults().check(function, subject));
}

// The test-facing plan drives the engine's injector.

FaultPlan::FaultPlan() { Engine::current().faults().begin(); }
FaultPlan::~FaultPlan() { Engine::current().faults().end(); }

FaultPlan& FaultPlan::failCall(std::string_view function, unsigned int nth, MStatus::MStatusCode code) {
    Engine::current().faults().failCall(function, nth, code);
    return *this;
}

FaultPlan& FaultPlan::failCallsOn(std::string_view function, std::string_view subject, MStatus::MStatusCode code) {
    Engine::current().faults().failCallsOn(function, subject, code);
    return *this;
}

unsigned int FaultPlan::calls(std::string_view function) const { return Engine::current().faults().calls(function); }

const std::vector<InjectedFault>& FaultPlan::injected() const { return Engine::current().faults().injected(); }

MDataBlock dataBlockOf(const MObject& node) { return Access::block(Access::as<Node>(node)); }

}  // namespace hx
