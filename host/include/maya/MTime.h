#ifndef _MTime
#define _MTime
//
// MTime: a time value with its unit.
//
#if defined __cplusplus

#include <maya/MTypes.h>
#include <maya/MStatus.h>

class OPENMAYA_EXPORT MTime
{
public:
    enum Unit {
        kInvalid = 0,
        kHours,
        kMinutes,
        kSeconds,
        kMilliseconds,
        kGames,
        kFilm,
        kPALFrame,
        kNTSCFrame,
        kShowScan,
        kPALField,
        kNTSCField,
        kLast
    };

    MTime();
    MTime(double value, Unit unit = kFilm);
    MTime(const MTime& src);
    ~MTime();
    MTime& operator=(const MTime& src);
    bool operator==(const MTime& other) const;
    bool operator!=(const MTime& other) const;

    double value() const;
    Unit unit() const;
    MStatus setValue(double value);
    MStatus setUnit(Unit unit);
    double as(Unit unit) const;

private:
    double mValue;
    Unit mUnit;
};

#endif /* __cplusplus */
#endif /* _MTime */
