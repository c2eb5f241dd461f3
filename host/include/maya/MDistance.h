#ifndef _MDistance
#define _MDistance
//
// MDistance: a linear distance with its unit.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>

class OPENMAYA_EXPORT MDistance
{
public:
    enum Unit {
        kInvalid = 0,
        kInches,
        kFeet,
        kYards,
        kMiles,
        kMillimeters,
        kCentimeters,
        kKilometers,
        kMeters,
        kLast
    };

    MDistance();
    MDistance(double value, Unit unit = kCentimeters);
    MDistance(const MDistance& src);
    ~MDistance();
    MDistance& operator=(const MDistance& src);

    double value() const;
    Unit unit() const;
    MStatus setValue(double value);
    MStatus setUnit(Unit unit);
    double as(Unit unit, MStatus* ReturnStatus = NULL) const;
    double asCentimeters() const;

private:
    double mValue;
    Unit mUnit;
};

#endif /* __cplusplus */
#endif /* _MDistance */
