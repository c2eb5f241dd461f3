// Setting a plug's value from outside evaluation (MPlug::setValue, the engine's setAttr):
// checks that the plug may be set, clamps numbers into the attribute's limits, stores the
// value and dirties everything downstream.
#pragma once

#include "Cell.h"

#include <maya/MMatrix.h>
#include <maya/MObject.h>

#include <string>
#include <vector>

namespace hx {

// False, with the reason, when a user may not set this plug: an output, a plug driven by
// a connection, a multi without an element index.
bool checkSettable(const PlugRef& plug, std::string& error);

// Numbers for a numeric plug (one per component) or a compound of numerics (one per
// child). Values outside the limits are clamped; each clamp adds a note to `notes`.
bool setNumbers(const PlugRef& plug, const std::vector<double>& values, std::string& error,
                std::vector<std::string>* notes = nullptr);
bool setMatrix(const PlugRef& plug, const MMatrix& matrix, std::string& error);
// Data for a typed plug; its type must match the attribute's.
bool setData(const PlugRef& plug, const MObject& data, std::string& error);

}  // namespace hx
