// Fault injection inside the engine: the plan a FaultPlan (HostTesting.h) puts in force, and
// the check each planned API call makes before it does anything.
#pragma once

#include "Error.h"
#include "HostTesting.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace hx {

class FaultInjector {
public:
    // Counts a call of `function` about `subject` while a plan is in force and gives the
    // failure the plan has for it (none when it has none). A failing call must then return
    // that failure and change nothing.
    Error check(std::string_view function, std::string_view subject);

    void begin();  // an empty plan, in force
    void end();
    // Empties the plan in force of its failures, counts and record.
    void clear();
    void failCall(std::string_view function, unsigned int nth, MStatus::MStatusCode code);
    void failCallsOn(std::string_view function, std::string_view subject, MStatus::MStatusCode code);
    unsigned int calls(std::string_view function) const;
    const std::vector<InjectedFault>& injected() const { return mInjected; }

private:
    struct Rule {
        std::string function;
        std::string subject;   // empty: any call of the function
        unsigned int nth = 0;  // among the calls the rule matches, from 1; 0: every one
        MStatus::MStatusCode code = MStatus::kFailure;
        unsigned int matched = 0;
    };

    bool mInForce = false;  // while a FaultPlan object lives
    std::vector<Rule> mRules;
    std::map<std::string, unsigned int, std::less<>> mCalls;
    std::vector<InjectedFault> mInjected;
};

// For the API's implementation: the planned status of this call (success when none), with
// its reason kept for MStatus::errorString.
MStatus injectedFault(std::string_view function, std::string_view subject = {});

}  // namespace hx
