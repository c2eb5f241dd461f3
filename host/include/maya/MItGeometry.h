#ifndef _MItGeometry
#define _MItGeometry
//
// MItGeometry: walks the points of one geometry, as handed to a deformer.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>
#include <maya/MMatrix.h>

class MPointArray;
namespace hx {
class Access;
}

class OPENMAYA_EXPORT MItGeometry
{
public:
    virtual ~MItGeometry();

    bool isDone(MStatus* ReturnStatus = NULL) const;
    MStatus next();
    MPoint position(MSpace::Space space = MSpace::kObject, MStatus* ReturnStatus = NULL) const;
    MStatus setPosition(const MPoint& point, MSpace::Space space = MSpace::kObject);
    MVector normal(MSpace::Space space = MSpace::kObject, MStatus* ReturnStatus = NULL) const;
    int index(MStatus* ReturnStatus = NULL) const;
    int count(MStatus* ReturnStatus = NULL) const;
    MStatus reset();
    MStatus allPositions(MPointArray& points, MSpace::Space space = MSpace::kObject) const;
    MStatus setAllPositions(const MPointArray& points, MSpace::Space space = MSpace::kObject);

private:
    friend class hx::Access;
    MItGeometry();
    MItGeometry(const MItGeometry&);
    MItGeometry& operator=(const MItGeometry&);

    MObject mGeometry;      // keeps the points alive while the iterator lives
    const double* mPoints;  // x, y, z per point, as the geometry holds them now
    unsigned int mCount;
    unsigned int mIndex;
    MMatrix mLocalToWorld;
};

#endif /* __cplusplus */
#endif /* _MItGeometry */
