// What tests of the host and of plug-ins need beyond Host.h: fault plans that make chosen
// API calls fail the way a real refusal would, and a node's data block to drive the API as
// a compute would. CMake gives this header to the targets that link hxhost_testing.
//
// A FaultPlan says which calls fail: the nth call of a function, or every call of it about
// a given name. A failing call behaves as a real failure of that call: it changes nothing,
// returns the planned status (also through its MStatus* argument) and the status's text
// names the function and what it was about, for instance
//   (kFailure): MFnAttribute::setKeyable: injected failure on 'oyNoiseSeed'
//
//     hx::FaultPlan faults;
//     faults.failCall("MDGModifier::connect", 5);                 // the fifth connect
//     faults.failCallsOn("MFnPlugin::registerNode", "hxNoise");   // that type's registration
//     ... drive the plug-in ...
//     EXPECT_EQ(faults.injected().size(), 2u);
//
// Functions are named as in the API, "Class::method". Each names what its calls are about,
// the subject that failCallsOn matches:
//   MFnPlugin::registerNode, MFnPlugin::deregisterNode                 the node type's name (*)
//   MFnNumericAttribute::create, MFnTypedAttribute::create,
//   MFnMatrixAttribute::create, MFnCompoundAttribute::create,
//   MFnUnitAttribute::create, MFnEnumAttribute::create                 the new attribute's long name
//   MFnAttribute::setKeyable, setStorable, setReadable, setWritable,
//   setConnectable, setHidden, setCached, setChannelBox, setIndexMatters,
//   setUsesArrayDataBuilder, setUsedAsColor; MFnNumericAttribute::setDefault,
//   setMin, setMax                                                     the attribute's long name
//   MFnCompoundAttribute::addChild                                     the child's long name
//   MPxNode::addAttribute                                              the attribute's long name
//   MPxNode::attributeAffects                                          the changing attribute's long name
//   MFnVectorArrayData::create, MFnMatrixData::create                  (none)
//   MThreadPool::init, MThreadPool::newParallelRegion,
//   MThreadPool::createTask                                            (none)
//   MFnDependencyNode::attribute, MFnDependencyNode::findPlug          the attribute's name as asked
//   MDGModifier::createNode, MDagModifier::createNode                  the node type's name (*)
//   MDGModifier::connect                                               the destination attribute's long name
//   MDataBlock::inputValue, MDataBlock::outputValue                    the attribute's long name
//   MPlug::getValue, MPlug::asDouble, asFloat, asInt, asShort, asBool,
//   asChar                                                             the plug's attribute's long name
//   <function set>::attach (its constructor from an MObject), for
//   MFnDependencyNode, MFnAttribute and the attribute and data sets    (none)
// (*) none when no type of that name or id is registered.
//
// One plan at a time, like the host: a new plan replaces the current one, and the plan
// ends with its FaultPlan object. Calls are counted only while a plan is in force.
// Host::reset() clears the plan (its failures, counts and record) before and after it
// unloads the plug-ins, so a plan that outlives a reset starts afresh.
#pragma once

#include <maya/MDataBlock.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <string>
#include <string_view>
#include <vector>

namespace hx {

// One failure the plan caused.
struct InjectedFault {
    std::string function;
    std::string subject;
    unsigned int call = 0;  // which call of the function it was, from 1
    MStatus::MStatusCode code = MStatus::kFailure;
};

class FaultPlan {
public:
    FaultPlan();   // an empty plan, in force from now on
    ~FaultPlan();  // ends the plan
    FaultPlan(const FaultPlan&) = delete;
    FaultPlan& operator=(const FaultPlan&) = delete;

    // The nth call (from 1) of `function` fails with `code`.
    FaultPlan& failCall(std::string_view function, unsigned int nth, MStatus::MStatusCode code = MStatus::kFailure);
    // Every call of `function` about `subject` fails with `code`.
    FaultPlan& failCallsOn(std::string_view function, std::string_view subject,
                           MStatus::MStatusCode code = MStatus::kFailure);

    // How often `function` was called while the plan was in force.
    unsigned int calls(std::string_view function) const;
    // The failures the plan caused, in the order they happened.
    const std::vector<InjectedFault>& injected() const;
};

// The data block of a node (Host::object), as the node's compute receives it.
MDataBlock dataBlockOf(const MObject& node);

}  // namespace hx
