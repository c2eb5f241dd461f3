// fuzz_engine: a sequence of engine operations chosen by the fuzzer, over a scene with the
// real hxNoise plug-in loaded.
//
// Each input is a script: every operation takes an opcode byte and then whatever operands
// it needs (node and attribute picks, values as raw bit patterns, so NaN, infinities and
// huge values come up). Operations: create nodes, set and get attributes, connect and
// disconnect plugs, give meshes points and faces, put a deformer on a mesh, evaluate the
// deformed mesh, draw locators, rename and delete nodes, queue edits on a DAG modifier
// that is executed and undone, and have the host refuse a chosen call from then on (so the
// plug-in's failure paths run too). Whatever the script does, the engine must answer each call
// with a result (success, or a failure with a reason) and never crash, leak or hit
// undefined behaviour. The scene is emptied after each input; the plug-in stays loaded.
#include "FuzzBytes.h"

#include <GlRecorder.h>
#include <engine/Host.h>
#include <engine/HostTesting.h>

#include <maya/MDagModifier.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MObject.h>
#include <maya/MString.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using hxfuzz::FuzzBytes;

namespace {

const char* const kTypes[] = {"transform", "mesh", "hxNoise", "noiseLocator", "noSuchType", "locator", "time"};
const unsigned kTypeCount = sizeof kTypes / sizeof *kTypes;

// Host calls a plug-in makes that a fault plan can make fail.
const char* const kFallibleCalls[] = {
    "MDGModifier::connect",        "MDGModifier::createNode",
    "MDagModifier::createNode",    "MFnDependencyNode::attribute",
    "MFnDependencyNode::findPlug", "MDataBlock::inputValue",
    "MDataBlock::outputValue",     "MPlug::getValue",
    "MFnVectorArrayData::create",  "MFnVectorArrayData::attach",
};

// Picks one of `count` things from a byte, or none when count is 0.
template <typename T>
const T* pick(FuzzBytes& in, const std::vector<T>& items)
{
    const std::uint8_t choice = in.take<std::uint8_t>();
    return items.empty() ? nullptr : &items[choice % items.size()];
}

// A node name: usually an existing node, sometimes a name the fuzzer makes up.
std::string nodeName(FuzzBytes& in, hx::Host& host)
{
    const std::uint8_t how = in.take<std::uint8_t>();
    if (how % 8 == 0) {
        std::string made;
        for (int i = in.take<std::uint8_t>() % 6; i > 0; --i)
            made.push_back(static_cast<char>(in.take<std::uint8_t>()));
        return made;
    }
    const std::vector<std::string> nodes = host.listNodes();
    const std::string* node = pick(in, nodes);
    return node ? *node : std::string("nothing");
}

// A plug of an existing node: one of its type's attributes (long or short name), with an
// element index now and then, a child (with an index of its own now and then: a multi in a
// multi, weightList[0].weights[2]), or a made-up attribute.
std::string plugName(FuzzBytes& in, hx::Host& host)
{
    const std::string node = nodeName(in, host);
    const std::optional<hx::NodeTypeInfo> type = host.nodeType(host.typeOf(node));
    const std::uint8_t how = in.take<std::uint8_t>();
    std::string attribute = "bogus";
    if (type && !type->attributes.empty()) {
        const hx::AttributeInfo& info = *pick(in, type->attributes);
        attribute = how & 1 ? info.shortName : info.longName;
        if (info.array || how & 2) attribute += "[" + std::to_string(in.take<std::uint8_t>() % 3) + "]";
        if (!info.children.empty() && how & 4) {
            attribute += "." + *pick(in, info.children);
            if (how & 8) attribute += "[" + std::to_string(in.take<std::uint8_t>() % 3) + "]";
        }
    }
    return node + "." + attribute;
}

double value(FuzzBytes& in)
{
    switch (in.take<std::uint8_t>() % 4) {
    case 0: return in.take<double>();                       // any bit pattern
    case 1: return in.take<float>();                        // float-sized, any pattern
    case 2: return double(in.take<std::int8_t>());          // small integers
    default: return double(in.take<std::int16_t>()) / 64.0; // modest fractions
    }
}

std::vector<double> values(FuzzBytes& in, unsigned maxCount)
{
    std::vector<double> out(in.take<std::uint8_t>() % (maxCount + 1));
    for (double& v : out) v = value(in);
    return out;
}

void setMesh(FuzzBytes& in, hx::Host& host)
{
    const std::string shape = nodeName(in, host);
    const unsigned points = in.take<std::uint8_t>() % 12;
    std::vector<double> xyz(3 * points + in.take<std::uint8_t>() % 2); // sometimes ragged
    for (double& v : xyz) v = value(in);
    std::vector<int> counts(in.take<std::uint8_t>() % 4);
    std::vector<int> vertices;
    for (int& c : counts) {
        c = in.take<std::uint8_t>() % 6;
        for (int k = 0; k < c; ++k) vertices.push_back(in.take<std::int8_t>() % 14);
    }
    host.setMesh(shape, xyz, counts, vertices);
}

// Edits queued on a DAG modifier through the plug-in API, executed, and maybe undone.
void modifierEdits(FuzzBytes& in)
{
    MDagModifier modifier;
    MStatus status;
    std::vector<MObject> made;
    for (int i = in.take<std::uint8_t>() % 4; i > 0; --i) {
        MObject parent = made.empty() || in.take<std::uint8_t>() % 2 ? MObject::kNullObj : made.back();
        const char* type = kTypes[in.take<std::uint8_t>() % kTypeCount];
        MObject node = modifier.createNode(MString(type), parent, &status);
        if (status) made.push_back(node);
    }
    for (int i = in.take<std::uint8_t>() % 4; i > 0 && !made.empty(); --i) {
        MFnDependencyNode source(*pick(in, made)), destination(*pick(in, made));
        const MObject from = source.attribute(in.take<std::uint8_t>() % 2 ? "matrix" : "oxCrvLenOut");
        const MObject to = destination.attribute(in.take<std::uint8_t>() % 2 ? "oxCrvLenIn" : "translateX");
        modifier.connect(source.object(), from, destination.object(), to);
    }
    if (modifier.doIt() && in.take<std::uint8_t>() % 2) modifier.undoIt();
}

void runScript(FuzzBytes& in, hx::Host& host)
{
    std::unique_ptr<hx::FaultPlan> faults;
    for (int steps = 0; steps < 64 && !in.empty(); ++steps) {
        switch (in.take<std::uint8_t>() % 15) {
        case 0: {
            const std::string type = kTypes[in.take<std::uint8_t>() % kTypeCount];
            const std::string name = in.take<std::uint8_t>() % 3 ? "" : nodeName(in, host);
            const std::string parent = in.take<std::uint8_t>() % 2 ? "" : nodeName(in, host);
            host.createNode(type, name, parent);
            break;
        }
        case 1: host.setAttr(plugName(in, host), values(in, 17)); break;
        case 2: {
            std::vector<double> out;
            host.getAttr(plugName(in, host), out);
            break;
        }
        case 3: host.connect(plugName(in, host), plugName(in, host)); break;
        case 4: host.disconnect(plugName(in, host), plugName(in, host)); break;
        case 5: setMesh(in, host); break;
        case 6: host.deformer(in.take<std::uint8_t>() % 4 ? "hxNoise" : "transform", nodeName(in, host)); break;
        case 7: {
            std::vector<double> points;
            host.meshPoints(nodeName(in, host), points);
            break;
        }
        case 8: {
            const std::vector<std::string> locators = host.locators();
            if (const std::string* locator = pick(in, locators)) {
                host.drawLocator(*locator);
                hx::gl::clearRecordedCalls();
            }
            break;
        }
        case 9: host.rename(nodeName(in, host), nodeName(in, host)); break;
        case 10: host.deleteNode(nodeName(in, host)); break;
        case 11: modifierEdits(in); break;
        case 12: {
            MMatrix matrix;
            host.worldMatrix(nodeName(in, host), matrix);
            break;
        }
        case 13: {
            // From here on, the host refuses one call: the nth of one function.
            faults.reset(new hx::FaultPlan);
            const char* call =
                kFallibleCalls[in.take<std::uint8_t>() % (sizeof kFallibleCalls / sizeof *kFallibleCalls)];
            faults->failCall(call, 1 + in.take<std::uint8_t>() % 8);
            break;
        }
        default: host.isDirty(plugName(in, host)); break;
        }
    }
}

// Empties the scene, last-made node first, keeping the plug-in loaded.
void clearScene(hx::Host& host)
{
    std::vector<std::string> nodes = host.listNodes();
    for (int pass = 0; pass < 4 && !nodes.empty(); ++pass) {
        for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
            if (host.exists(*it)) host.deleteNode(*it);
        nodes = host.listNodes();
    }
    HX_FUZZ_CHECK(nodes.empty());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    hx::Host& host = hx::Host::instance();
    const hx::Result loaded = host.loadPlugin(HX_PLUGIN_PATH);
    if (!loaded) {
        std::fprintf(stderr, "fuzz_engine: %s\n", loaded.error.c_str());
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    hx::Host& host = hx::Host::instance();
    FuzzBytes in(data, size);
    runScript(in, host);
    clearScene(host);
    return 0;
}
