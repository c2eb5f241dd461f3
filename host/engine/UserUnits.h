// Host.h shows numbers in the units a user works in: angles in degrees (radians inside),
// distances in centimetres and times in frames at 24 a second (as inside).
#pragma once

#include "Attribute.h"

namespace hx {

// What one internal unit is in the user's units.
inline double userUnitsPer(Unit unit) { return unit == Unit::Angle ? 180.0 / 3.14159265358979323846 : 1.0; }

}  // namespace hx
