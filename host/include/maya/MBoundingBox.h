#ifndef _MBoundingBox
#define _MBoundingBox
//
// MBoundingBox: an axis-aligned box, possibly empty.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MPoint.h>

class MMatrix;

class OPENMAYA_EXPORT MBoundingBox
{
public:
    MBoundingBox();
    MBoundingBox(const MBoundingBox& src);
    MBoundingBox(const MPoint& corner1, const MPoint& corner2);
    ~MBoundingBox();

    MBoundingBox& operator=(const MBoundingBox& other);
    void clear();
    void expand(const MPoint& point);
    void expand(const MBoundingBox& box);
    void transformUsing(const MMatrix& matrix);
    bool contains(const MPoint& point) const;
    bool intersects(const MBoundingBox& box, double tol = 0.0) const;
    double width() const;
    double height() const;
    double depth() const;
    MPoint center() const;
    MPoint min() const;
    MPoint max() const;

private:
    MPoint mMin;
    MPoint mMax;
    bool mEmpty;
};

#endif /* __cplusplus */
#endif /* _MBoundingBox */
