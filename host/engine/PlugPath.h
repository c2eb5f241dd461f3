// Reading and writing plug names: "attr", "attr[3]", "input[0].inputGeometry",
// "weightList[2].weights[5]", with long or short attribute names.
#pragma once

#include "Error.h"
#include "PlugRef.h"

#include <string>

namespace hx {

// Resolves `path` on `node`. Every multi needs its element index, except that with
// `allowWholeArray` the last named attribute may be a multi without one (the whole multi).
Error resolvePlugPath(Node* node, const std::string& path, bool allowWholeArray, PlugRef& plug);
// "node.attr[i].child[j]" for a plug.
std::string plugName(const PlugRef& plug, bool longNames = true);

}  // namespace hx
