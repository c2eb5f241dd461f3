//
// HXNoise.h
//
// The hxNoise plug-in's two node types:
//
//   hxNoise       a deformer that moves every point of its geometry by three fractal
//                 noise functions, one per axis of a deform space that a matrix places,
//                 and publishes one visualisation curve per axis;
//   noiseLocator  the user's handle on that deform space: it drives the curves' lengths
//                 and point counts and draws an axis cross and the three curves.
//
// Written only against the host's plug-in API; the noise itself is the host-free core in
// perlin.h and axisNoiseField.h.
//
#ifndef HXNOISE_HXNOISE_H
#define HXNOISE_HXNOISE_H

#include <maya/MBoundingBox.h>
#include <maya/MDagModifier.h>
#include <maya/MDataBlock.h>
#include <maya/MItGeometry.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxDeformerNode.h>
#include <maya/MPxLocatorNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>
#include <maya/MVectorArray.h>

class noiseLocator : public MPxLocatorNode
{
public:
    noiseLocator();
    virtual ~noiseLocator();

    // Passes each axis's curve length and point count from its input to its output.
    virtual MStatus compute(const MPlug& plug, MDataBlock& block);

    // A red axis cross and, in blue, the three visualisation curves.
    virtual void draw(M3dView& view, const MDagPath& path, M3dView::DisplayStyle style, M3dView::DisplayStatus status);
    virtual bool isBounded() const;
    virtual MBoundingBox boundingBox() const;

    static void* creator();
    static MStatus initialize();

    static MTypeId id;

    static MObject oxCurvePoints;
    static MObject oxCrvLenIn;
    static MObject oxCrvLenOut;
    static MObject oxCrvPtsCountIn;
    static MObject oxCrvPtsCountOut;

    static MObject oyCurvePoints;
    static MObject oyCrvLenIn;
    static MObject oyCrvLenOut;
    static MObject oyCrvPtsCountIn;
    static MObject oyCrvPtsCountOut;

    static MObject ozCurvePoints;
    static MObject ozCrvLenIn;
    static MObject ozCrvLenOut;
    static MObject ozCrvPtsCountIn;
    static MObject ozCrvPtsCountOut;

private:
    // A copy of one axis's current curve: 0 is x, 1 is y, anything else z.
    MVectorArray getPoints(int axis) const;
};

class hxNoise : public MPxDeformerNode
{
public:
    hxNoise();
    virtual ~hxNoise();

    // Serves the three visualisation curves; every other plug goes to the deformer base,
    // which calls deform for the output geometry.
    virtual MStatus compute(const MPlug& plug, MDataBlock& block);
    virtual MStatus deform(MDataBlock& block, MItGeometry& iter, const MMatrix& m, unsigned int multiIndex);

    // The accessory is a transform with a noiseLocator under it; its matrix drives
    // deformSpace.
    virtual MObject& accessoryAttribute() const;
    virtual MStatus accessoryNodeSetup(MDagModifier& cmd);

    static void* creator();
    static MStatus initialize();

    static MTypeId id;

    static MObject deformSpace;

    static MObject oxVisualisationPoints;
    static MObject oxLen;
    static MObject oxPtsCount;
    static MObject oxNoiseFreq;
    static MObject oxNoiseAmp;
    static MObject oxNoiseOctaves;
    static MObject oxNoiseSeed;

    static MObject oyVisualisationPoints;
    static MObject oyLen;
    static MObject oyPtsCount;
    static MObject oyNoiseFreq;
    static MObject oyNoiseAmp;
    static MObject oyNoiseOctaves;
    static MObject oyNoiseSeed;

    static MObject ozVisualisationPoints;
    static MObject ozLen;
    static MObject ozPtsCount;
    static MObject ozNoiseFreq;
    static MObject ozNoiseAmp;
    static MObject ozNoiseOctaves;
    static MObject ozNoiseSeed;
};

#endif
