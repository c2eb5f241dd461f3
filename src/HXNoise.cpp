//
// HXNoise.cpp
//
// The hxNoise deformer, its noiseLocator accessory, and the plug-in's entry points.
//
// Set-up functions (the two initialize functions and accessoryNodeSetup) report each
// failed host call on standard error in the host's status-check form and carry on with
// their remaining steps, so one bad call doesn't hide the others; they then return the
// first failure they met, so that the host never takes a half-built node type or a
// half-wired accessory for a success.
//
#include "HXNoise.h"
#include "axisNoiseField.h"
#include "noiseBatch.h"
#include "perlin.h"

#include <maya/MDGContext.h>
#include <maya/MDagPath.h>
#include <maya/MDataHandle.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnData.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnPlugin.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MGlobal.h>
#include <maya/MIOStream.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>
#include <maya/MThreadPool.h>
#include <maya/MVector.h>

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <vector>

// ---------------------------------------------------------------------------------------
// Status checks and attribute flag presets
// ---------------------------------------------------------------------------------------

// Keeps the first failure of a set-up function in its local `firstFailure`.
#define HX_NOTE_FAILURE(status)                                                                \
    {                                                                                          \
        MStatus hxNoted_ = (status);                                                           \
        if (hxNoted_ != MS::kSuccess && firstFailure == MS::kSuccess) firstFailure = hxNoted_; \
    }

// The status check: a failed call is reported in the host's form and set-up carries on.
#define HX_CHECK(status)               \
    {                                  \
        MStatus hxChecked_ = (status); \
        CHECK_MSTATUS(hxChecked_);     \
        HX_NOTE_FAILURE(hxChecked_)    \
    }

// Flag presets for an attribute function set that has just created an attribute; each
// flag call is checked on its own.
#define MAKE_INPUT(attr)             \
    HX_CHECK(attr.setKeyable(true))  \
    HX_CHECK(attr.setStorable(true)) \
    HX_CHECK(attr.setReadable(true)) \
    HX_CHECK(attr.setWritable(true))

#define MAKE_OUTPUT(attr)             \
    HX_CHECK(attr.setKeyable(false))  \
    HX_CHECK(attr.setStorable(false)) \
    HX_CHECK(attr.setReadable(true))  \
    HX_CHECK(attr.setWritable(false))

// ---------------------------------------------------------------------------------------
// Class-wide values. They are constructed in this order when the library is loaded and
// destroyed in the reverse order when it is unloaded; initialize() fills the handles.
// ---------------------------------------------------------------------------------------

MTypeId noiseLocator::id(0x80007);

MObject noiseLocator::oxCurvePoints;
MObject noiseLocator::oxCrvLenIn;
MObject noiseLocator::oxCrvLenOut;
MObject noiseLocator::oxCrvPtsCountIn;
MObject noiseLocator::oxCrvPtsCountOut;

MObject noiseLocator::oyCurvePoints;
MObject noiseLocator::oyCrvLenIn;
MObject noiseLocator::oyCrvLenOut;
MObject noiseLocator::oyCrvPtsCountIn;
MObject noiseLocator::oyCrvPtsCountOut;

MObject noiseLocator::ozCurvePoints;
MObject noiseLocator::ozCrvLenIn;
MObject noiseLocator::ozCrvLenOut;
MObject noiseLocator::ozCrvPtsCountIn;
MObject noiseLocator::ozCrvPtsCountOut;

MTypeId hxNoise::id(0xA1);

MObject hxNoise::deformSpace;

MObject hxNoise::oxVisualisationPoints;
MObject hxNoise::oxLen;
MObject hxNoise::oxPtsCount;
MObject hxNoise::oxNoiseFreq;
MObject hxNoise::oxNoiseAmp;
MObject hxNoise::oxNoiseOctaves;
MObject hxNoise::oxNoiseSeed;

MObject hxNoise::oyVisualisationPoints;
MObject hxNoise::oyLen;
MObject hxNoise::oyPtsCount;
MObject hxNoise::oyNoiseFreq;
MObject hxNoise::oyNoiseAmp;
MObject hxNoise::oyNoiseOctaves;
MObject hxNoise::oyNoiseSeed;

MObject hxNoise::ozVisualisationPoints;
MObject hxNoise::ozLen;
MObject hxNoise::ozPtsCount;
MObject hxNoise::ozNoiseFreq;
MObject hxNoise::ozNoiseAmp;
MObject hxNoise::ozNoiseOctaves;
MObject hxNoise::ozNoiseSeed;

namespace {

// Points deformed per task, at most: large enough to spread a task's set-up (the kernel's
// block buffer and the gather-order tables of the vectorised path), small enough that the block stays
// in cache (16,384 points, 512 KB) and that a large mesh makes enough tasks to keep every
// thread of the host's pool busy to the end.
const unsigned int kDeformBlock = 16384;

// The attribute handles of one axis of the deformer, and how its names are spelled.
struct DeformerAxis
{
    const char* prefix; // "ox": long names and the curve's short name keep the o
    const char* letter; // "x": the other short names drop it
    int defaultSeed;
    MObject* visualisation;
    MObject* length;
    MObject* count;
    MObject* octaves;
    MObject* seed;
    MObject* freq;
    MObject* amp;
};

const DeformerAxis kDeformerAxes[3] = {
    {"ox", "x", 0, &hxNoise::oxVisualisationPoints, &hxNoise::oxLen, &hxNoise::oxPtsCount, &hxNoise::oxNoiseOctaves,
     &hxNoise::oxNoiseSeed, &hxNoise::oxNoiseFreq, &hxNoise::oxNoiseAmp},
    {"oy", "y", 1, &hxNoise::oyVisualisationPoints, &hxNoise::oyLen, &hxNoise::oyPtsCount, &hxNoise::oyNoiseOctaves,
     &hxNoise::oyNoiseSeed, &hxNoise::oyNoiseFreq, &hxNoise::oyNoiseAmp},
    {"oz", "z", 2, &hxNoise::ozVisualisationPoints, &hxNoise::ozLen, &hxNoise::ozPtsCount, &hxNoise::ozNoiseOctaves,
     &hxNoise::ozNoiseSeed, &hxNoise::ozNoiseFreq, &hxNoise::ozNoiseAmp},
};

// The attribute handles of one axis of the locator.
struct LocatorAxis
{
    const char* prefix;
    const char* letter;
    MObject* curvePoints;
    MObject* lengthIn;
    MObject* lengthOut;
    MObject* countIn;
    MObject* countOut;
};

const LocatorAxis kLocatorAxes[3] = {
    {"ox", "x", &noiseLocator::oxCurvePoints, &noiseLocator::oxCrvLenIn, &noiseLocator::oxCrvLenOut,
     &noiseLocator::oxCrvPtsCountIn, &noiseLocator::oxCrvPtsCountOut},
    {"oy", "y", &noiseLocator::oyCurvePoints, &noiseLocator::oyCrvLenIn, &noiseLocator::oyCrvLenOut,
     &noiseLocator::oyCrvPtsCountIn, &noiseLocator::oyCrvPtsCountOut},
    {"oz", "z", &noiseLocator::ozCurvePoints, &noiseLocator::ozCrvLenIn, &noiseLocator::ozCrvLenOut,
     &noiseLocator::ozCrvPtsCountIn, &noiseLocator::ozCrvPtsCountOut},
};

MString named(const char* head, const char* tail)
{
    return MString(head) + tail;
}

// Reads one axis's generator the way a curve evaluation does: frequency, octaves, seed,
// amplitude, unchecked.
Perlin readCurveNoise(MDataBlock& block, const DeformerAxis& axis)
{
    MDataHandle handle = block.inputValue(*axis.freq);
    const float frequency = handle.asFloat();
    handle = block.inputValue(*axis.octaves);
    const int octaves = handle.asInt();
    handle = block.inputValue(*axis.seed);
    const int seed = handle.asInt();
    handle = block.inputValue(*axis.amp);
    const float amplitude = handle.asFloat();
    return makeAxisNoise(octaves, frequency, amplitude, seed);
}

// Reads one axis's generator the way a deformation does: octaves, frequency, amplitude,
// seed, each read checked; a failed read is reported and its handle's value used anyway.
Perlin readDeformNoise(MDataBlock& block, const DeformerAxis& axis, MStatus& firstFailure)
{
    MStatus status;
    MDataHandle matData = block.inputValue(*axis.octaves, &status);
    HX_CHECK(status)
    const int octaves = matData.asInt();
    matData = block.inputValue(*axis.freq, &status);
    HX_CHECK(status)
    const float frequency = matData.asFloat();
    matData = block.inputValue(*axis.amp, &status);
    HX_CHECK(status)
    const float amplitude = matData.asFloat();
    matData = block.inputValue(*axis.seed, &status);
    HX_CHECK(status)
    const int seed = matData.asInt();
    return makeAxisNoise(octaves, frequency, amplitude, seed);
}

// The inverse is trusted only if it undoes the matrix: the residual of invMat * mat (the
// order a point meets them in) must satisfy
//     max row sum |invMat * mat - I|  <=  64 * DBL_EPSILON * |invMat| * |mat|
// in the max-row-sum norm. The bound scales with the matrices, so it means the same for a
// deform space shrunk by 1e-12 as for one grown by 1e12 or moved by 1e6. Elimination with
// partial pivoting gives an inverse whose residual is a small multiple of n * epsilon times
// that product (n = 4 here); over millions of moved, turned and scaled matrices, scales from
// 1e-150 to 1e150, it stayed below 1 epsilon times it, so 64 leaves a wide margin and every
// matrix that was usable stays usable, with the same arithmetic. The identity handed back
// for a matrix without an inverse misses it by far: its residual is mat - I, about |mat|
// itself, some 1e13 times the bound, whatever small non-zero determinant rounding gave the
// matrix. (A huge inverse that a pivot left tiny by rounding does pass: it is the inverse
// of a matrix within rounding of this one.)
bool inverseUndoes(const MMatrix& mat, const MMatrix& invMat)
{
    double matNorm = 0.0;
    double invNorm = 0.0;
    double residualNorm = 0.0;
    for (unsigned int row = 0; row < 4; ++row) {
        double matSum = 0.0;
        double invSum = 0.0;
        double residualSum = 0.0;
        for (unsigned int col = 0; col < 4; ++col) {
            matSum += std::fabs(mat.matrix[row][col]);
            invSum += std::fabs(invMat.matrix[row][col]);
            double entry = 0.0;
            for (unsigned int k = 0; k < 4; ++k) entry += invMat.matrix[row][k] * mat.matrix[k][col];
            residualSum += std::fabs(entry - (row == col ? 1.0 : 0.0));
        }
        matNorm = matSum > matNorm ? matSum : matNorm;
        invNorm = invSum > invNorm ? invSum : invNorm;
        residualNorm = residualSum > residualNorm ? residualSum : residualNorm;
    }
    return residualNorm <= 64.0 * DBL_EPSILON * invNorm * matNorm;
}

// A matrix is usable as a deform space only if it has a finite, non-zero determinant and an
// inverse that undoes it; otherwise points sent through the inverse would come back as NaN
// or infinity, or moved by the matrix itself.
bool invertDeformSpace(const MMatrix& mat, MMatrix& invMat)
{
    // Not-a-number and infinity are refused before the inverse is tested, which assumes
    // finite values.
    const double det = mat.det4x4();
    if (det == 0.0 || det - det != 0.0) return false;
    invMat = mat.inverse();
    for (unsigned int row = 0; row < 4; ++row)
        for (unsigned int col = 0; col < 4; ++col) {
            const double value = invMat.matrix[row][col];
            if (value - value != 0.0) return false;
        }
    return inverseUndoes(mat, invMat);
}

// An axis's noise parameter moves the geometry and the other two axes' curves; it never
// changes its own axis's curve, which is sampled without it.
MStatus declareNoiseEdges(const MObject& parameter, const DeformerAxis& other1, const DeformerAxis& other2)
{
    MStatus firstFailure;
    HX_NOTE_FAILURE(MPxNode::attributeAffects(parameter, *other1.visualisation))
    HX_NOTE_FAILURE(MPxNode::attributeAffects(parameter, *other2.visualisation))
    HX_NOTE_FAILURE(MPxNode::attributeAffects(parameter, MPxDeformerNode::outputGeom))
    return firstFailure;
}

// One task of a deformation: a contiguous range of the call's points, deformed in place in
// the array and at its own indices only. The generators' tables are built before any task
// starts, so tasks only read them.
struct DeformRange
{
    MPointArray* points;
    unsigned int begin;
    unsigned int end;
    Perlin* noiseX;
    Perlin* noiseY;
    Perlin* noiseZ;
    const MMatrix* mat;
    const MMatrix* invMat;
    bool done;
};

// The deformation reads and writes x, y, z, w per point, which is how an MPoint lies in
// memory and so how an MPointArray holds its points: the kernel works on the array itself.
typedef char MPointIsFourDoubles[sizeof(MPoint) == 4 * sizeof(double) ? 1 : -1];

void deformRange(DeformRange& range)
{
    MPointArray& points = *range.points;
    const unsigned int n = range.end - range.begin;
    if (n != 0)
        deformPoints(*range.noiseX, *range.noiseY, *range.noiseZ, range.mat->matrix, range.invMat->matrix,
                     &points[range.begin].x, n);
    range.done = true;
}

MThreadRetVal deformRangeTask(void* data)
{
    deformRange(*static_cast<DeformRange*>(data));
    return 0;
}

// What a deformation's parallel region works on, and the first pool call that failed in it.
struct DeformRegion
{
    std::vector<DeformRange>* ranges;
    MStatus failure;
};

// Creates one task per range and runs them. A range whose task cannot be created is left
// for the calling thread, after the region.
void runDeformTasks(void* data, MThreadRootTask* root)
{
    DeformRegion& region = *static_cast<DeformRegion*>(data);
    std::vector<DeformRange>& ranges = *region.ranges;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        const MStatus created = MThreadPool::createTask(deformRangeTask, &ranges[i], root);
        if (created != MS::kSuccess) {
            region.failure = created;
            break;
        }
    }
    MThreadPool::executeAndJoin(root);
}

// Splits `count` points into ranges of at most kDeformBlock points, as even as can be.
std::vector<DeformRange> splitIntoRanges(MPointArray& points, Perlin& noiseX, Perlin& noiseY, Perlin& noiseZ,
                                         const MMatrix& mat, const MMatrix& invMat)
{
    const unsigned int count = points.length();
    const unsigned int tasks = count / kDeformBlock + (count % kDeformBlock != 0 ? 1 : 0);
    // The first count % tasks ranges take one point more than the others.
    const unsigned int size = tasks == 0 ? 0 : count / tasks;
    const unsigned int longer = tasks == 0 ? 0 : count % tasks;
    std::vector<DeformRange> ranges;
    ranges.reserve(tasks);
    unsigned int begin = 0;
    for (unsigned int t = 0; t < tasks; ++t) {
        DeformRange range;
        range.points = &points;
        range.begin = begin;
        range.end = begin + size + (t < longer ? 1 : 0);
        begin = range.end;
        range.noiseX = &noiseX;
        range.noiseY = &noiseY;
        range.noiseZ = &noiseZ;
        range.mat = &mat;
        range.invMat = &invMat;
        range.done = false;
        ranges.push_back(range);
    }
    return ranges;
}

// Runs the ranges' tasks in the host's thread pool. Returns the first pool call that
// failed (success if none did); the ranges not done are then the caller's to deform.
// Gives the pool back however the region ends (a task may throw std::bad_alloc).
class PoolUse
{
public:
    PoolUse() {}
    ~PoolUse() { MThreadPool::release(); }

private:
    PoolUse(const PoolUse&);
    PoolUse& operator=(const PoolUse&);
};

MStatus deformInPool(std::vector<DeformRange>& ranges)
{
    MStatus status = MThreadPool::init();
    if (status != MS::kSuccess) return status;
    PoolUse use;
    DeformRegion region;
    region.ranges = &ranges;
    region.failure = MS::kSuccess;
    status = MThreadPool::newParallelRegion(runDeformTasks, &region);
    if (status != MS::kSuccess) return status;
    return region.failure;
}

// Said once a process: the host's thread pool refused a deformation, which then ran on
// the calling thread.
void warnPoolUnavailable(const MStatus& failure)
{
    static bool warned = false;
    if (warned) return;
    warned = true;
    MGlobal::displayWarning(MString("hxNoise: the host's thread pool is unavailable (") + failure.errorString() +
                            "); deforming on one thread");
}

} // namespace

// ---------------------------------------------------------------------------------------
// hxNoise
// ---------------------------------------------------------------------------------------

hxNoise::hxNoise() {}
hxNoise::~hxNoise() {}

void* hxNoise::creator()
{
    return new hxNoise();
}

MStatus hxNoise::initialize()
{
    MStatus firstFailure;
    MStatus stat;
    MFnMatrixAttribute mAttr;
    MFnTypedAttribute typedAttrFn;
    MFnNumericAttribute nAttr;
    MVectorArray defaultVectArray;
    MFnVectorArrayData vectArrayDataFn;

    // The deform space: driven by the accessory transform's matrix, never saved.
    deformSpace = mAttr.create("deformSpace", "dSp", MFnMatrixAttribute::kDouble, &stat);
    HX_NOTE_FAILURE(stat)
    HX_NOTE_FAILURE(mAttr.setStorable(false))
    HX_NOTE_FAILURE(addAttribute(deformSpace))
    HX_NOTE_FAILURE(attributeAffects(deformSpace, outputGeom))

    // The visualisation outputs; all three exist before any input names them as affected.
    for (int a = 0; a < 3; ++a) {
        const DeformerAxis& axis = kDeformerAxes[a];
        vectArrayDataFn.create(defaultVectArray, &stat);
        HX_NOTE_FAILURE(stat)
        typedAttrFn.create(named(axis.prefix, "VisualisationPoints"), named(axis.prefix, "P"), MFnData::kVectorArray,
                           vectArrayDataFn.object(), &stat);
        HX_CHECK(stat)
        HX_NOTE_FAILURE(typedAttrFn.setStorable(false))
        HX_NOTE_FAILURE(typedAttrFn.setConnectable(true))
        *axis.visualisation = typedAttrFn.object();
        stat = addAttribute(*axis.visualisation);
        HX_CHECK(stat)
    }

    // The numeric inputs of each axis: length, point count, octaves, seed, frequency,
    // amplitude. An axis's noise parameters affect the other two axes' curves and the
    // geometry; its length and count affect only its own curve.
    for (int a = 0; a < 3; ++a) {
        const DeformerAxis& axis = kDeformerAxes[a];
        const DeformerAxis& other1 = kDeformerAxes[a == 0 ? 1 : 0];
        const DeformerAxis& other2 = kDeformerAxes[a == 2 ? 1 : 2];

        *axis.length =
            nAttr.create(named(axis.prefix, "Length"), named(axis.prefix, "L"), MFnNumericData::kFloat, 0, &stat);
        HX_NOTE_FAILURE(stat)
        MAKE_INPUT(nAttr)
        HX_NOTE_FAILURE(nAttr.setDefault(0.0f))
        HX_NOTE_FAILURE(addAttribute(*axis.length))
        HX_NOTE_FAILURE(attributeAffects(*axis.length, *axis.visualisation))

        *axis.count =
            nAttr.create(named(axis.prefix, "PointsCount"), named(axis.letter, "pc"), MFnNumericData::kInt, 0, &stat);
        HX_NOTE_FAILURE(stat)
        MAKE_INPUT(nAttr)
        HX_NOTE_FAILURE(nAttr.setDefault(0))
        HX_NOTE_FAILURE(nAttr.setMin(double(MIN_PTS)))
        HX_NOTE_FAILURE(nAttr.setMax(double(MAX_PTS)))
        HX_NOTE_FAILURE(addAttribute(*axis.count))
        HX_NOTE_FAILURE(attributeAffects(*axis.count, *axis.visualisation))

        *axis.octaves =
            nAttr.create(named(axis.prefix, "NoiseOctaves"), named(axis.letter, "no"), MFnNumericData::kInt, 0, &stat);
        HX_NOTE_FAILURE(stat)
        MAKE_INPUT(nAttr)
        HX_NOTE_FAILURE(nAttr.setDefault(4))
        HX_NOTE_FAILURE(nAttr.setMin(double(MIN_OCT)))
        HX_NOTE_FAILURE(nAttr.setMax(double(MAX_OCT)))
        HX_NOTE_FAILURE(addAttribute(*axis.octaves))
        HX_NOTE_FAILURE(declareNoiseEdges(*axis.octaves, other1, other2))

        *axis.seed =
            nAttr.create(named(axis.prefix, "NoiseSeed"), named(axis.letter, "ns"), MFnNumericData::kInt, 0, &stat);
        HX_NOTE_FAILURE(stat)
        MAKE_INPUT(nAttr)
        HX_NOTE_FAILURE(nAttr.setDefault(axis.defaultSeed))
        HX_NOTE_FAILURE(nAttr.setMin(double(MIN_SEED)))
        HX_NOTE_FAILURE(addAttribute(*axis.seed))
        HX_NOTE_FAILURE(declareNoiseEdges(*axis.seed, other1, other2))

        *axis.freq =
            nAttr.create(named(axis.prefix, "NoiseFreq"), named(axis.letter, "nf"), MFnNumericData::kFloat, 0, &stat);
        HX_NOTE_FAILURE(stat)
        MAKE_INPUT(nAttr)
        HX_NOTE_FAILURE(nAttr.setDefault(1.0f))
        HX_NOTE_FAILURE(addAttribute(*axis.freq))
        HX_NOTE_FAILURE(declareNoiseEdges(*axis.freq, other1, other2))

        *axis.amp =
            nAttr.create(named(axis.prefix, "NoiseAmp"), named(axis.letter, "na"), MFnNumericData::kFloat, 0, &stat);
        HX_NOTE_FAILURE(stat)
        MAKE_INPUT(nAttr)
        HX_NOTE_FAILURE(nAttr.setDefault(0.0f))
        HX_NOTE_FAILURE(addAttribute(*axis.amp))
        HX_NOTE_FAILURE(declareNoiseEdges(*axis.amp, other1, other2))
    }

    return firstFailure;
}

MStatus hxNoise::deform(MDataBlock& block, MItGeometry& iter, const MMatrix& /*m*/, unsigned int /*multiIndex*/)
{
    // The local-to-world matrix, the geometry index and the envelope take no part: every
    // geometry of the node moves through one and the same field, in full.
    MStatus firstFailure;
    MStatus status;

    MDataHandle matData = block.inputValue(deformSpace, &status);
    if (status != MS::kSuccess) return status;
    const MMatrix mat = matData.asMatrix();
    MMatrix invMat;
    const bool usable = invertDeformSpace(mat, invMat);

    // The noise parameters, Y then X then Z; each generator is built once its axis is read.
    Perlin perlinNoiseY = readDeformNoise(block, kDeformerAxes[kNoiseAxisY], firstFailure);
    Perlin perlinNoiseX = readDeformNoise(block, kDeformerAxes[kNoiseAxisX], firstFailure);
    Perlin perlinNoiseZ = readDeformNoise(block, kDeformerAxes[kNoiseAxisZ], firstFailure);

    // A deform space without an inverse (a locator scaled to zero, say) has no field to
    // move points through: leave the geometry as it is.
    if (!usable) return firstFailure;

    // Every point goes object space -> deform space (invMat) -> the three noise passes ->
    // object space (mat), many points at a time through the vectorised path, which gives
    // the same bits as one point at a time. The points are read and written once, split
    // into ranges that the host's thread pool deforms at once; each point's result is the
    // same whichever range and thread it falls to.
    MPointArray points;
    iter.allPositions(points, MSpace::kObject);
    const unsigned int count = points.length();
    if (count == 0) return firstFailure;

    // The tables are built here, once, before any task reads them.
    prepareDeformation(perlinNoiseX, perlinNoiseY, perlinNoiseZ);
    std::vector<DeformRange> ranges = splitIntoRanges(points, perlinNoiseX, perlinNoiseY, perlinNoiseZ, mat, invMat);
    const MStatus pooled = deformInPool(ranges);
    if (pooled != MS::kSuccess) warnPoolUnavailable(pooled);
    // Whatever the pool did not deform (all of it when the pool was refused).
    for (std::size_t i = 0; i < ranges.size(); ++i)
        if (!ranges[i].done) deformRange(ranges[i]);
    iter.setAllPositions(points, MSpace::kObject);

    return firstFailure;
}

MStatus hxNoise::compute(const MPlug& plug, MDataBlock& block)
{
    // Which curve is asked for, and the generators of the two other axes it is sampled
    // from (Y then Z for X, X then Z for Y, Y then X for Z).
    int a;
    int first, second;
    if (plug == oxVisualisationPoints) {
        a = kNoiseAxisX;
        first = kNoiseAxisY;
        second = kNoiseAxisZ;
    } else if (plug == oyVisualisationPoints) {
        a = kNoiseAxisY;
        first = kNoiseAxisX;
        second = kNoiseAxisZ;
    } else if (plug == ozVisualisationPoints) {
        a = kNoiseAxisZ;
        first = kNoiseAxisY;
        second = kNoiseAxisX;
    } else {
        return MS::kUnknownParameter;
    }
    const DeformerAxis& axis = kDeformerAxes[a];

    MDataHandle handle = block.inputValue(*axis.length);
    const float length = handle.asFloat();
    handle = block.inputValue(*axis.count);
    const int count = handle.asInt();
    Perlin firstNoise = readCurveNoise(block, kDeformerAxes[first]);
    Perlin secondNoise = readCurveNoise(block, kDeformerAxes[second]);

    FieldPoint curve[MAX_PTS];
    const int n = sampleCurve(NoiseAxis(a), length, count, firstNoise, secondNoise, curve);
    MVectorArray va;
    for (int i = 0; i < n; ++i) va.append(MVector(curve[i].x, curve[i].y, curve[i].z));

    MFnVectorArrayData fnVectArr;
    MObject objArr = fnVectArr.create(va);
    MDataHandle ptsHandle = block.outputValue(*axis.visualisation);
    ptsHandle.set(objArr);
    block.setClean(plug);
    return MS::kSuccess;
}

MObject& hxNoise::accessoryAttribute() const
{
    return deformSpace;
}

MStatus hxNoise::accessoryNodeSetup(MDagModifier& cmd)
{
    MStatus firstFailure;
    MStatus stat;
    MObject thisNode = thisMObject();

    MObject transformObj = cmd.createNode("transform", MObject::kNullObj, &stat);
    HX_NOTE_FAILURE(stat)
    MObject shapeObj = cmd.createNode(noiseLocator::id, transformObj, &stat);
    HX_NOTE_FAILURE(stat)

    MFnDependencyNode locFn(transformObj);
    MObject attr = locFn.attribute("matrix");
    stat = cmd.connect(transformObj, attr, thisNode, deformSpace);
    HX_CHECK(stat)

    locFn.setObject(shapeObj);
    for (int a = 0; a < 3; ++a) {
        const DeformerAxis& axis = kDeformerAxes[a];

        attr = locFn.attribute(named(axis.prefix, "CrvLenOut"), &stat);
        HX_CHECK(stat)
        stat = cmd.connect(shapeObj, attr, thisNode, *axis.length);
        HX_CHECK(stat)

        attr = locFn.attribute(named(axis.prefix, "CrvPtsCountOut"));
        stat = cmd.connect(shapeObj, attr, thisNode, *axis.count);
        HX_CHECK(stat)

        attr = locFn.attribute(named(axis.prefix, "CurvePoints"));
        stat = cmd.connect(thisNode, *axis.visualisation, shapeObj, attr);
        HX_CHECK(stat)
    }

    return firstFailure;
}

// ---------------------------------------------------------------------------------------
// noiseLocator
// ---------------------------------------------------------------------------------------

noiseLocator::noiseLocator() {}
noiseLocator::~noiseLocator() {}

void* noiseLocator::creator()
{
    return new noiseLocator();
}

MStatus noiseLocator::initialize()
{
    MStatus firstFailure;
    MStatus stat;
    MFnTypedAttribute typedAttrFn;
    MVectorArray defaultVectArray;
    MFnVectorArrayData vectArrayDataFn;
    MFnNumericAttribute numAttr;

    for (int a = 0; a < 3; ++a) {
        const LocatorAxis& axis = kLocatorAxes[a];

        // The curve the deformer sends in; empty until connected.
        vectArrayDataFn.create(defaultVectArray, &stat);
        HX_NOTE_FAILURE(stat)
        *axis.curvePoints = typedAttrFn.create(named(axis.prefix, "CurvePoints"), named(axis.prefix, "P"),
                                               MFnData::kVectorArray, vectArrayDataFn.object(), &stat);
        HX_NOTE_FAILURE(stat)
        MAKE_INPUT(typedAttrFn)
        HX_NOTE_FAILURE(addAttribute(*axis.curvePoints))

        *axis.lengthIn =
            numAttr.create(named(axis.prefix, "CrvLenIn"), named(axis.letter, "li"), MFnNumericData::kFloat, 0, &stat);
        HX_NOTE_FAILURE(stat)
        MAKE_INPUT(numAttr)
        HX_NOTE_FAILURE(numAttr.setDefault(1.0f))
        HX_NOTE_FAILURE(addAttribute(*axis.lengthIn))

        *axis.lengthOut =
            numAttr.create(named(axis.prefix, "CrvLenOut"), named(axis.letter, "lo"), MFnNumericData::kFloat, 0, &stat);
        HX_NOTE_FAILURE(stat)
        MAKE_OUTPUT(numAttr)
        stat = addAttribute(*axis.lengthOut);
        HX_CHECK(stat)
        stat = attributeAffects(*axis.lengthIn, *axis.lengthOut);
        HX_CHECK(stat)

        *axis.countIn = numAttr.create(named(axis.prefix, "CrvPtsCountIn"), named(axis.letter, "ci"),
                                       MFnNumericData::kInt, 0, &stat);
        HX_NOTE_FAILURE(stat)
        MAKE_INPUT(numAttr)
        HX_NOTE_FAILURE(numAttr.setDefault(30))
        HX_NOTE_FAILURE(numAttr.setMin(double(MIN_PTS)))
        HX_NOTE_FAILURE(numAttr.setMax(double(MAX_PTS)))
        HX_NOTE_FAILURE(addAttribute(*axis.countIn))

        *axis.countOut = numAttr.create(named(axis.prefix, "CrvPtsCountOut"), named(axis.letter, "co"),
                                        MFnNumericData::kInt, 0, &stat);
        HX_NOTE_FAILURE(stat)
        MAKE_OUTPUT(numAttr)
        HX_NOTE_FAILURE(addAttribute(*axis.countOut))
        HX_NOTE_FAILURE(attributeAffects(*axis.countIn, *axis.countOut))
    }

    return firstFailure;
}

MStatus noiseLocator::compute(const MPlug& plug, MDataBlock& block)
{
    for (int a = 0; a < 3; ++a) {
        const LocatorAxis& axis = kLocatorAxes[a];
        if (plug == *axis.lengthOut) {
            // Lengths pass bit for bit: 2.75 stays 2.75.
            const float length = block.inputValue(*axis.lengthIn).asFloat();
            block.outputValue(*axis.lengthOut).set(length);
        } else if (plug == *axis.countOut) {
            // Counts pass unchanged; the input's limits are the host's to hold.
            const int count = block.inputValue(*axis.countIn).asInt();
            block.outputValue(*axis.countOut).set(count);
        } else {
            continue;
        }
        block.setClean(plug);
        return MS::kSuccess;
    }
    return MS::kUnknownParameter;
}

MVectorArray noiseLocator::getPoints(int axis) const
{
    MStatus stat;
    MObject thisNode = thisMObject();
    MFnDagNode dagFn(thisNode);

    const MObject& curveAttr = axis == 0 ? oxCurvePoints : axis == 1 ? oyCurvePoints : ozCurvePoints;
    MPlug axisPlug = dagFn.findPlug(curveAttr, &stat);
    if (!stat) stat.perror("plug");

    // For a connected curve this pulls the deformer's visualisation output.
    MObject vectorArrayData;
    stat = axisPlug.getValue(vectorArrayData, MDGContext::fsNormal);
    if (!stat) stat.perror("getValue");

    MFnVectorArrayData fnVAD(vectorArrayData, &stat);
    if (!stat) stat.perror("MFnVectorArrayData");

    MVectorArray finalArray = fnVAD.array();
    return finalArray;
}

void noiseLocator::draw(M3dView& view, const MDagPath& /*path*/, M3dView::DisplayStyle /*style*/,
                        M3dView::DisplayStatus /*status*/)
{
    // Drawn the same in every display style and status, selected or not.
    view.beginGL();
    glPushAttrib(GL_CURRENT_BIT);

    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(-1.0f, 0.0f, 0.0f);
    glVertex3f(1.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, -1.0f);
    glVertex3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, -1.0f, 0.0f);
    glVertex3f(0.0f, 1.0f, 0.0f);
    glEnd();

    // One strip per curve: a single strip through all three would draw false segments
    // from the end of each curve to the start of the next.
    glColor3f(0.0f, 0.0f, 1.0f);
    for (int a = 0; a < 3; ++a) {
        const MVectorArray pts = getPoints(a);
        const unsigned int last = pts.length();
        if (last == 0) continue;
        glBegin(GL_LINE_STRIP);
        for (unsigned int i = 0; i < last; ++i) glVertex3f(float(pts[i].x), float(pts[i].y), float(pts[i].z));
        glEnd();
    }

    glPopAttrib();
    view.endGL();
}

bool noiseLocator::isBounded() const
{
    return true;
}

MBoundingBox noiseLocator::boundingBox() const
{
    // Fixed, flat in y, whatever the curves hold.
    return MBoundingBox(MPoint(-5.0, 0.0, -5.0), MPoint(5.0, 0.0, 5.0));
}

// ---------------------------------------------------------------------------------------
// Entry points
// ---------------------------------------------------------------------------------------

namespace {

// Which of the two types this library has registered. An unload that failed after the
// locator was withdrawn (the deformer's deregistration refused) must, when tried again,
// go on with the deformer instead of failing on the locator for ever.
bool locatorRegistered = false;
bool deformerRegistered = false;

} // namespace

MStatus initializePlugin(MObject obj)
{
    MStatus result;
    MFnPlugin plugin(obj, "Quorvane", "3.0", "Any");

    result = plugin.registerNode("noiseLocator", noiseLocator::id, noiseLocator::creator, noiseLocator::initialize,
                                 MPxNode::kLocatorNode);
    if (!result) {
        result.perror("registerNode");
        return result;
    }
    locatorRegistered = true;

    result = plugin.registerNode("hxNoise", hxNoise::id, hxNoise::creator, hxNoise::initialize, MPxNode::kDeformerNode);
    if (!result) {
        // The host unloads the library after a failed load: a locator type left
        // registered would point into unloaded code.
        if (plugin.deregisterNode(noiseLocator::id)) locatorRegistered = false;
        return result;
    }
    deformerRegistered = true;
    return result;
}

MStatus uninitializePlugin(MObject obj)
{
    MStatus result;
    MFnPlugin plugin(obj);

    if (locatorRegistered) {
        result = plugin.deregisterNode(noiseLocator::id);
        if (!result) {
            result.perror("deregisterNode");
            return result;
        }
        locatorRegistered = false;
    }

    if (deformerRegistered) {
        result = plugin.deregisterNode(hxNoise::id);
        if (result) deformerRegistered = false;
    }
    return result;
}
