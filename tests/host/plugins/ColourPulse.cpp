//
// ColourPulse.cpp
//
// colourPulse: a colour that pulses between colourA and colourB over time. Connect
// time1.outTime to its time; its wave (a compound of a period and a phase) and its shape
// (sine or square) set the pulse:
//     sine:   mix = 0.5 - 0.5 * cos(2 pi frame / period + phase)
//     square: mix = 0 for the first half of each period (shifted by phase), 1 for the second
//     outColor = colourA + (colourB - colourA) * mix
// A period that is not positive holds colourA and says so. Written as a host user writes a
// node, in the host's C++98 dialect.
//
#include <maya/MFloatVector.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MGlobal.h>
#include <maya/MPxNode.h>

#include <math.h>

static const double kPi = 3.14159265358979323846;

class colourPulse : public MPxNode
{
public:
    virtual MStatus compute(const MPlug& plug, MDataBlock& block);

    static void* creator() { return new colourPulse; }
    static MStatus initialize();

    // Inputs: the time, the wave (period, phase), the wave's shape and the two colours.
    static MObject time, wave, period, phase, shape, colourA, colourB;
    static MObject outColor;
    static MTypeId id;
};

MObject colourPulse::time, colourPulse::wave, colourPulse::period, colourPulse::phase;
MObject colourPulse::shape, colourPulse::colourA, colourPulse::colourB;
MObject colourPulse::outColor;
MTypeId colourPulse::id(0x70103);

MStatus colourPulse::initialize()
{
    MFnUnitAttribute unitFn;
    time = unitFn.create("time", "tm", MFnUnitAttribute::kTime, 0.0);
    period = unitFn.create("period", "per", MTime(24.0, MTime::kFilm));
    phase = unitFn.create("phase", "ph", MAngle(0.0, MAngle::kRadians));

    MFnCompoundAttribute compoundFn;
    wave = compoundFn.create("wave", "wv");
    compoundFn.addChild(period);
    compoundFn.addChild(phase);

    MFnEnumAttribute enumFn;
    shape = enumFn.create("shape", "shp", 0);
    enumFn.addField("sine", 0);
    enumFn.addField("square", 1);

    MFnNumericAttribute numericFn;
    colourA = numericFn.createColor("colourA", "ca");
    numericFn.setDefault(1.0f, 0.0f, 0.0f);
    colourB = numericFn.createColor("colourB", "cb");
    numericFn.setDefault(0.0f, 0.0f, 1.0f);
    outColor = numericFn.createColor("outColor", "oc");
    numericFn.setWritable(false);
    numericFn.setStorable(false);

    MObject inputs[] = {time, wave, shape, colourA, colourB};
    MStatus status;
    for (unsigned int i = 0; i < 5 && status; ++i) status = addAttribute(inputs[i]);
    if (status) status = addAttribute(outColor);
    for (unsigned int i = 0; i < 5 && status; ++i) status = attributeAffects(inputs[i], outColor);
    return status;
}

MStatus colourPulse::compute(const MPlug& plug, MDataBlock& block)
{
    if (plug != outColor && plug.parent() != outColor) return MS::kUnknownParameter;

    const double frame = block.inputValue(time).asTime().as(MTime::kFilm);
    MDataHandle waveData = block.inputValue(wave);
    const double frames = waveData.child(period).asTime().as(MTime::kFilm);
    const double shift = waveData.child(phase).asAngle().asRadians();
    const short waveShape = block.inputValue(shape).asShort();
    const MFloatVector a = block.inputValue(colourA).asFloatVector();
    const MFloatVector b = block.inputValue(colourB).asFloatVector();

    double mix = 0.0;
    if (frames <= 0.0) {
        MGlobal::displayWarning(name() + ": the period must be positive; holding colourA");
    } else if (waveShape == 0) {
        mix = 0.5 - 0.5 * cos(2.0 * kPi * frame / frames + shift);
    } else {
        const double cycle = frame / frames + shift / (2.0 * kPi);
        mix = cycle - floor(cycle) < 0.5 ? 0.0 : 1.0;
    }

    MDataHandle out = block.outputValue(outColor);
    out.set(a + (b - a) * float(mix));
    out.setClean();
    return MS::kSuccess;
}

MStatus initializePlugin(MObject obj)
{
    MFnPlugin plugin(obj, "hxNoise tests", "1.0", "Any");
    const MStatus status =
        plugin.registerNode("colourPulse", colourPulse::id, colourPulse::creator, colourPulse::initialize);
    if (!status) status.perror("registering colourPulse");
    return status;
}

MStatus uninitializePlugin(MObject obj)
{
    const MStatus status = MFnPlugin(obj).deregisterNode(colourPulse::id);
    if (!status) status.perror("deregistering colourPulse");
    return status;
}
