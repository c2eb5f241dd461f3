// Setting a plug's value from outside evaluation (MPlug::setValue, the engine's setAttr):
// checks that the plug may be set, clamps numbers into the attribute's limits, stores the
// value and dirties everything downstream.
#pragma once

#include "Error.h"
#include "PlugRef.h"

#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MString.h>

#include <string>
#include <vector>

namespace hx {

class Scene;

// Fails, with the reason, when a user may not set this plug: an output, a plug driven by
// a connection, a multi without an element index.
Error checkSettable(const PlugRef& plug);

// Numbers for a numeric plug (one per component) or a compound of numerics (one per
// child), in the host's internal units. Values outside the limits are clamped; each clamp
// adds a note to `notes`.
Error setNumbers(Scene& scene, const PlugRef& plug, const std::vector<double>& values,
                 std::vector<std::string>* notes = nullptr);
Error setMatrix(Scene& scene, const PlugRef& plug, const MMatrix& matrix);
// Data for a typed plug; its type must match the attribute's. A matrix plug takes matrix data.
Error setData(Scene& scene, const PlugRef& plug, const MObject& data);
Error setString(Scene& scene, const PlugRef& plug, const MString& text);

}  // namespace hx
