#ifndef _MAngle
#define _MAngle
//
// MAngle: an angle with its unit.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>

class OPENMAYA_EXPORT MAngle
{
public:
    enum Unit {
        kInvalid = 0,
        kRadians,
        kDegrees,
        kAngMinutes,
        kAngSeconds,
        kLast
    };

    MAngle();
    MAngle(double value, Unit unit = kRadians);
    MAngle(const MAngle& src);
    ~MAngle();
    MAngle& operator=(const MAngle& src);

    double value() const;
    Unit unit() const;
    MStatus setValue(double value);
    MStatus setUnit(Unit unit);
    double as(Unit unit, MStatus* ReturnStatus = NULL) const;
    double asRadians() const;
    double asDegrees() const;

private:
    double mValue;
    Unit mUnit;
};

#endif /* __cplusplus */
#endif /* _MAngle */
