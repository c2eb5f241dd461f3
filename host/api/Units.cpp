// Time, distance and angle values, and the evaluation context.
#include <maya/MAngle.h>
#include <maya/MDGContext.h>
#include <maya/MDistance.h>
#include <maya/MTime.h>

namespace {

double secondsPer(MTime::Unit unit) {
    switch (unit) {
    case MTime::kHours: return 3600.0;
    case MTime::kMinutes: return 60.0;
    case MTime::kSeconds: return 1.0;
    case MTime::kMilliseconds: return 0.001;
    case MTime::kGames: return 1.0 / 15.0;
    case MTime::kFilm: return 1.0 / 24.0;
    case MTime::kPALFrame: return 1.0 / 25.0;
    case MTime::kNTSCFrame: return 1.0 / 30.0;
    case MTime::kShowScan: return 1.0 / 48.0;
    case MTime::kPALField: return 1.0 / 50.0;
    case MTime::kNTSCField: return 1.0 / 60.0;
    default: return 0.0;
    }
}

double centimetresPer(MDistance::Unit unit) {
    switch (unit) {
    case MDistance::kInches: return 2.54;
    case MDistance::kFeet: return 30.48;
    case MDistance::kYards: return 91.44;
    case MDistance::kMiles: return 160934.4;
    case MDistance::kMillimeters: return 0.1;
    case MDistance::kCentimeters: return 1.0;
    case MDistance::kKilometers: return 100000.0;
    case MDistance::kMeters: return 100.0;
    default: return 0.0;
    }
}

double radiansPer(MAngle::Unit unit) {
    const double pi = 3.14159265358979323846;
    switch (unit) {
    case MAngle::kRadians: return 1.0;
    case MAngle::kDegrees: return pi / 180.0;
    case MAngle::kAngMinutes: return pi / (180.0 * 60.0);
    case MAngle::kAngSeconds: return pi / (180.0 * 3600.0);
    default: return 0.0;
    }
}

// value in `from` units expressed in `to` units; an invalid unit gives 0.
double convert(double value, double fromFactor, double toFactor) {
    return toFactor == 0.0 ? 0.0 : value * fromFactor / toFactor;
}

}  // namespace

MTime::MTime() : mValue(0.0), mUnit(kFilm) {}
MTime::MTime(double value, Unit unit) : mValue(value), mUnit(unit) {}
MTime::MTime(const MTime&) = default;
MTime::~MTime() {}
MTime& MTime::operator=(const MTime&) = default;
bool MTime::operator==(const MTime& other) const { return as(kSeconds) == other.as(kSeconds); }
bool MTime::operator!=(const MTime& other) const { return !(*this == other); }
double MTime::value() const { return mValue; }
MTime::Unit MTime::unit() const { return mUnit; }
MStatus MTime::setValue(double value) {
    mValue = value;
    return MStatus::kSuccess;
}
MStatus MTime::setUnit(Unit unit) {
    if (secondsPer(unit) == 0.0) return MStatus::kInvalidParameter;
    mValue = as(unit);
    mUnit = unit;
    return MStatus::kSuccess;
}
double MTime::as(Unit unit) const { return convert(mValue, secondsPer(mUnit), secondsPer(unit)); }

MDistance::MDistance() : mValue(0.0), mUnit(kCentimeters) {}
MDistance::MDistance(double value, Unit unit) : mValue(value), mUnit(unit) {}
MDistance::MDistance(const MDistance&) = default;
MDistance::~MDistance() {}
MDistance& MDistance::operator=(const MDistance&) = default;
double MDistance::value() const { return mValue; }
MDistance::Unit MDistance::unit() const { return mUnit; }
MStatus MDistance::setValue(double value) {
    mValue = value;
    return MStatus::kSuccess;
}
MStatus MDistance::setUnit(Unit unit) {
    if (centimetresPer(unit) == 0.0) return MStatus::kInvalidParameter;
    mUnit = unit;
    return MStatus::kSuccess;
}
double MDistance::as(Unit unit, MStatus* ReturnStatus) const {
    if (ReturnStatus) *ReturnStatus = centimetresPer(unit) == 0.0 ? MStatus::kInvalidParameter : MStatus::kSuccess;
    return convert(mValue, centimetresPer(mUnit), centimetresPer(unit));
}
double MDistance::asCentimeters() const { return as(kCentimeters); }

MAngle::MAngle() : mValue(0.0), mUnit(kRadians) {}
MAngle::MAngle(double value, Unit unit) : mValue(value), mUnit(unit) {}
MAngle::MAngle(const MAngle&) = default;
MAngle::~MAngle() {}
MAngle& MAngle::operator=(const MAngle&) = default;
double MAngle::value() const { return mValue; }
MAngle::Unit MAngle::unit() const { return mUnit; }
MStatus MAngle::setValue(double value) {
    mValue = value;
    return MStatus::kSuccess;
}
MStatus MAngle::setUnit(Unit unit) {
    if (radiansPer(unit) == 0.0) return MStatus::kInvalidParameter;
    mUnit = unit;
    return MStatus::kSuccess;
}
double MAngle::as(Unit unit, MStatus* ReturnStatus) const {
    if (ReturnStatus) *ReturnStatus = radiansPer(unit) == 0.0 ? MStatus::kInvalidParameter : MStatus::kSuccess;
    return convert(mValue, radiansPer(mUnit), radiansPer(unit));
}
double MAngle::asRadians() const { return as(kRadians); }
double MAngle::asDegrees() const { return as(kDegrees); }

MDGContext MDGContext::fsNormal;

MDGContext::MDGContext() : mNormal(true) {}
MDGContext::MDGContext(const MTime& when) : mTime(when), mNormal(false) {}
MDGContext::MDGContext(const MDGContext&) = default;
MDGContext::~MDGContext() {}
MDGContext& MDGContext::operator=(const MDGContext&) = default;
bool MDGContext::isNormal(MStatus* ReturnStatus) const {
    if (ReturnStatus) *ReturnStatus = MStatus::kSuccess;
    return mNormal;
}
MStatus MDGContext::getTime(MTime& time) const {
    time = mTime;
    return MStatus::kSuccess;
}
